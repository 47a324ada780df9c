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

}  // namespace

int WideCharToMultiByte(UINT codePage, DWORD /*flags*/, LPCWSTR wideText, int wideLength, LPSTR text,
                        int size, LPCSTR defaultChar, BOOL* usedDefaultChar) {
    if (!KnownCodePage(codePage)) {
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

int MultiByteToWideChar(UINT codePage, DWORD /*flags*/, LPCSTR text, int length, LPWSTR wideText,
                        int wideSize) {
    if (!KnownCodePage(codePage)) {
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
