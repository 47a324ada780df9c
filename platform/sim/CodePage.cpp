// The system code page of the in-memory Windows: Windows-1252, the Western European ANSI code page.
#include <array>

#include "platform/CodePage.h"
#include "platform/Kernel.h"

namespace platform {

namespace {

// The characters of bytes 0x80 to 0x9F; the five bytes without one stand for the control characters
// of the same number, as Windows maps them.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t ToWide(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : static_cast<char16_t>(byte);
}

// The flags Windows takes for an ANSI code page; any other bit is refused with ERROR_INVALID_FLAGS.
// To bytes: WC_DISCARDNS, WC_SEPCHARS, WC_DEFAULTCHAR, WC_COMPOSITECHECK, WC_NO_BEST_FIT_CHARS. To
// wide characters: MB_PRECOMPOSED, MB_COMPOSITE, MB_USEGLYPHCHARS, MB_ERR_INVALID_CHARS.
constexpr DWORD kToBytesFlags = 0x10 | 0x20 | 0x40 | 0x200 | 0x400;
constexpr DWORD kToWideFlags = 0x1 | 0x2 | 0x4 | 0x8;

bool FlagsTaken(DWORD flags, DWORD known) {
    if ((flags & ~known) != 0) {
        SetLastError(ERROR_INVALID_FLAGS);
        return false;
    }
    return true;
}

// The byte of a character, or -1 when the code page lacks it.
int ToByte(char16_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        return character;
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == character) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

bool KnownCodePage(UINT codePage) {
    if (codePage == CP_ACP || codePage == 1252) {
        return true;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

template <class Char>
int LengthOf(const Char* text, int length) {
    if (length >= 0) {
        return length;
    }
    int count = 0;
    while (text[count] != 0) {
        ++count;
    }
    return count + 1;  // the terminating zero counts
}

// The letter of the other case that Windows-1252 pairs with a capital letter, for comparisons that
// ignore case: the ASCII letters, the Latin-1 capitals, and the four capitals among bytes 0x80 to 0x9F.
unsigned char SmallLetter(unsigned char byte) {
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
        return static_cast<unsigned char>(byte + 0x20);
    }
    switch (byte) {
        case 0x8A:  // S with caron
        case 0x8C:  // OE
        case 0x8E:  // Z with caron
            return static_cast<unsigned char>(byte + 0x10);
        case 0x9F:  // Y with diaeresis
            return 0xFF;
        default:
            return byte;
    }
}

}  // namespace

// The user's locale of the in-memory Windows is a Western European one. Its letters come in the order
// of their small forms whatever their case, and only between texts that are otherwise equal does the case
// decide, the small letter first; without case it pairs the letters of Windows-1252.
int CompareStringA(LCID /*locale*/, DWORD cmpFlags, LPCSTR string1, int count1, LPCSTR string2, int count2) {
    if ((string1 == nullptr && count1 != 0) || (string2 == nullptr && count2 != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // Without a count (any negative one) a text ends before its zero.
    const int length1 = count1 < 0 ? LengthOf(string1, -1) - 1 : count1;
    const int length2 = count2 < 0 ? LengthOf(string2, -1) - 1 : count2;
    int caseOrder = CSTR_EQUAL;
    for (int i = 0; i < length1 && i < length2; ++i) {
        const auto byte1 = static_cast<unsigned char>(string1[i]);
        const auto byte2 = static_cast<unsigned char>(string2[i]);
        const unsigned char a = SmallLetter(byte1);
        const unsigned char b = SmallLetter(byte2);
        if (a != b) {
            return a < b ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
        }
        if (caseOrder == CSTR_EQUAL && byte1 != byte2) {
            caseOrder = byte1 == a ? CSTR_LESS_THAN : CSTR_GREATER_THAN;  // the small letter first
        }
    }
    if (length1 != length2) {
        return length1 < length2 ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
    }
    return (cmpFlags & NORM_IGNORECASE) != 0 ? CSTR_EQUAL : caseOrder;
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wideText, int wideLength, LPSTR text, int size,
                        LPCSTR defaultChar, BOOL* usedDefaultChar) {
    if (!KnownCodePage(codePage) || !FlagsTaken(flags, kToBytesFlags)) {
        return 0;
    }
    const int length = LengthOf(wideText, wideLength);
    if (usedDefaultChar != nullptr) {
        *usedDefaultChar = 0;
    }
    if (size == 0) {
        return length;
    }
    if (size < length) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    for (int i = 0; i < length; ++i) {
        const int byte = ToByte(wideText[i]);
        if (byte < 0 && usedDefaultChar != nullptr) {
            *usedDefaultChar = 1;
        }
        text[i] = byte < 0 ? (defaultChar != nullptr ? *defaultChar : '?') : static_cast<char>(byte);
    }
    return length;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wideText, int wideSize) {
    if (!KnownCodePage(codePage) || !FlagsTaken(flags, kToWideFlags)) {
        return 0;
    }
    const int count = LengthOf(text, length);
    if (wideSize == 0) {
        return count;
    }
    if (wideSize < count) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        wideText[i] = ToWide(static_cast<unsigned char>(text[i]));
    }
    return count;
}

}  // namespace platform
