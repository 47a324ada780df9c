// The system code page of the in-memory Windows: the world's ANSI code page, Windows-1252 unless a test
// chooses one of the East Asian ones.
#include <string>

#include "platform/CodePage.h"
#include "platform/Kernel.h"
#include "platform/sim/World.h"

namespace platform {

namespace {

const sim::AnsiCodePage& SystemCodePage() {
    return sim::TheWorld().CodePage();
}

// The flags Windows takes for an ANSI code page; any other bit is refused with ERROR_INVALID_FLAGS.
// To bytes: WC_DISCARDNS, WC_SEPCHARS, WC_DEFAULTCHAR, WC_COMPOSITECHECK, WC_NO_BEST_FIT_CHARS. To
// wide characters: MB_PRECOMPOSED, MB_COMPOSITE, MB_USEGLYPHCHARS, MB_ERR_INVALID_CHARS.
constexpr DWORD kToBytesFlags = 0x10 | 0x20 | 0x40 | 0x200 | 0x400;
constexpr DWORD kToWideFlags = 0x1 | 0x2 | 0x4 | 0x8;

// A conversion takes a length of bytes or characters, or -1 for a text that ends in its zero. Nothing to
// convert (0) is refused with ERROR_INVALID_PARAMETER, as is any other negative length.
bool LengthTaken(int length) {
    if (length < -1 || length == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

bool FlagsTaken(DWORD flags, DWORD known) {
    if ((flags & ~known) != 0) {
        SetLastError(ERROR_INVALID_FLAGS);
        return false;
    }
    return true;
}

// The system's code page, by CP_ACP or by its number.
bool KnownCodePage(UINT codePage) {
    if (codePage == CP_ACP || codePage == SystemCodePage().Number()) {
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
unsigned char SmallLetter1252(unsigned char byte) {
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

// The capital that Windows-1252 pairs with a small letter; ß and µ have none in the code page.
unsigned char CapitalLetter1252(unsigned char byte) {
    if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)) {
        return static_cast<unsigned char>(byte - 0x20);
    }
    switch (byte) {
        case 0x9A:
        case 0x9C:
        case 0x9E:
            return static_cast<unsigned char>(byte - 0x10);
        case 0xFF:
            return 0x9F;
        default:
            return byte;
    }
}

// The single-byte characters of the East Asian code pages have no letters beyond ASCII.
unsigned char SmallLetter(unsigned char byte) {
    if (!SystemCodePage().IsDoubleByte()) {
        return SmallLetter1252(byte);
    }
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + 0x20) : byte;
}

unsigned char CapitalLetter(unsigned char byte) {
    if (!SystemCodePage().IsDoubleByte()) {
        return CapitalLetter1252(byte);
    }
    return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 0x20) : byte;
}

// Changes the case of each single-byte character of the buffer; a double-byte character stays.
template <class Change>
DWORD ChangeCase(LPSTR text, DWORD length, Change change) {
    if (text == nullptr) {
        return 0;
    }
    const std::string_view buffer(text, length);
    for (std::size_t at = 0; at < buffer.size();) {
        const std::size_t size = SystemCodePage().CharacterSize(buffer, at);
        if (size == 1) {
            text[at] = static_cast<char>(change(static_cast<unsigned char>(text[at])));
        }
        at += size;
    }
    return length;
}

// How one character sorts: every single-byte character before every double-byte one; single bytes by
// their small letter, double-byte characters by their wide character (a full-width letter by its small
// one).
struct SortWeight {
    bool doubleByte;
    unsigned value;
    unsigned raw;  // before case folding, for the order of case
    bool operator==(const SortWeight& other) const {
        return doubleByte == other.doubleByte && value == other.value;
    }
    bool operator<(const SortWeight& other) const {
        return doubleByte != other.doubleByte ? other.doubleByte : value < other.value;
    }
};

// The full-width Latin capitals pair with their small letters, as the ASCII ones do.
unsigned SmallFullWidthLetter(char16_t wide) {
    return wide >= 0xFF21 && wide <= 0xFF3A ? wide + 0x20u : wide;
}

SortWeight WeightAt(std::string_view text, std::size_t at, std::size_t size) {
    const auto first = static_cast<unsigned char>(text[at]);
    if (size == 2) {
        const char16_t wide = SystemCodePage().ToWide(first, static_cast<unsigned char>(text[at + 1]));
        return SortWeight{true, SmallFullWidthLetter(wide), wide};
    }
    return SortWeight{false, SmallLetter(first), first};
}

}  // namespace

UINT GetACP() {
    return SystemCodePage().Number();
}

BOOL IsDBCSLeadByte(BYTE testChar) {
    return SystemCodePage().IsLeadByte(testChar) ? 1 : 0;
}

LPSTR CharNextA(LPCSTR current) {
    if (*current == '\0') {
        return const_cast<LPSTR>(current);
    }
    const bool lead = SystemCodePage().IsLeadByte(static_cast<unsigned char>(current[0]));
    return const_cast<LPSTR>(current + (lead && current[1] != '\0' ? 2 : 1));
}

LPSTR CharPrevA(LPCSTR start, LPCSTR current) {
    while (*start != '\0' && start < current) {
        LPCSTR next = CharNextA(start);
        if (next >= current) {
            break;
        }
        start = next;
    }
    return const_cast<LPSTR>(start);
}

DWORD CharLowerBuffA(LPSTR text, DWORD length) {
    return ChangeCase(text, length, SmallLetter);
}

DWORD CharUpperBuffA(LPSTR text, DWORD length) {
    return ChangeCase(text, length, CapitalLetter);
}

// The user's locale of the in-memory Windows is the one of its code page. Its letters come in the order
// of their small forms whatever their case, and only between texts that are otherwise equal does the case
// decide, the small letter first; without case it pairs the letters of the code page's single bytes and
// the full-width Latin letters. A double-byte character sorts after every single-byte one.
int CompareStringA(LCID /*locale*/, DWORD cmpFlags, LPCSTR string1, int count1, LPCSTR string2, int count2) {
    if ((string1 == nullptr && count1 != 0) || (string2 == nullptr && count2 != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // Without a count (any negative one) a text ends before its zero.
    const std::string_view text1(string1,
                                 static_cast<std::size_t>(count1 < 0 ? LengthOf(string1, -1) - 1 : count1));
    const std::string_view text2(string2,
                                 static_cast<std::size_t>(count2 < 0 ? LengthOf(string2, -1) - 1 : count2));
    int caseOrder = CSTR_EQUAL;
    std::size_t at1 = 0;
    std::size_t at2 = 0;
    while (at1 < text1.size() && at2 < text2.size()) {
        const std::size_t size1 = SystemCodePage().CharacterSize(text1, at1);
        const std::size_t size2 = SystemCodePage().CharacterSize(text2, at2);
        const SortWeight a = WeightAt(text1, at1, size1);
        const SortWeight b = WeightAt(text2, at2, size2);
        if (a != b) {
            return a < b ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
        }
        if (caseOrder == CSTR_EQUAL && a.raw != b.raw) {
            caseOrder = a.raw == a.value ? CSTR_LESS_THAN : CSTR_GREATER_THAN;  // the small letter first
        }
        at1 += size1;
        at2 += size2;
    }
    if (at1 < text1.size() || at2 < text2.size()) {
        return at1 < text1.size() ? CSTR_GREATER_THAN : CSTR_LESS_THAN;
    }
    return (cmpFlags & NORM_IGNORECASE) != 0 ? CSTR_EQUAL : caseOrder;
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wideText, int wideLength, LPSTR text, int size,
                        LPCSTR defaultChar, BOOL* usedDefaultChar) {
    if (!KnownCodePage(codePage) || !FlagsTaken(flags, kToBytesFlags) || !LengthTaken(wideLength)) {
        return 0;
    }
    const int length = LengthOf(wideText, wideLength);
    std::string bytes;
    bool usedDefault = false;
    for (int i = 0; i < length; ++i) {
        std::string character = SystemCodePage().ToBytes(wideText[i]);
        if (character.empty()) {
            usedDefault = true;
            character = defaultChar != nullptr ? *defaultChar : '?';
        }
        bytes += character;
    }
    if (usedDefaultChar != nullptr) {
        *usedDefaultChar = usedDefault ? 1 : 0;
    }
    const auto needed = static_cast<int>(bytes.size());
    if (size == 0) {
        return needed;
    }
    if (size < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    bytes.copy(text, bytes.size());
    return needed;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wideText, int wideSize) {
    if (!KnownCodePage(codePage) || !FlagsTaken(flags, kToWideFlags) || !LengthTaken(length)) {
        return 0;
    }
    const std::string_view bytes(text, static_cast<std::size_t>(LengthOf(text, length)));
    std::u16string wide;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t size = SystemCodePage().CharacterSize(bytes, at);
        const auto first = static_cast<unsigned char>(bytes[at]);
        wide.push_back(size == 2 ? SystemCodePage().ToWide(first, static_cast<unsigned char>(bytes[at + 1]))
                                 : SystemCodePage().ToWide(first));
        at += size;
    }
    const auto needed = static_cast<int>(wide.size());
    if (wideSize == 0) {
        return needed;
    }
    if (wideSize < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    wide.copy(wideText, wide.size());
    return needed;
}

}  // namespace platform
