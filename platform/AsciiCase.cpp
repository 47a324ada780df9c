#include "platform/AsciiCase.h"

#include <algorithm>

#include "platform/CharacterScan.h"

namespace platform {

namespace {

// The text with `fold` applied to each of its single-byte characters.
template <class Fold>
std::string FoldSingleBytes(std::string_view text, Fold fold) {
    std::string folded(text);
    for (std::size_t at = 0; at < folded.size();) {
        const std::size_t size = CharacterSize(folded, at);
        if (size == 1) {
            folded[at] = fold(folded[at]);
        }
        at += size;
    }
    return folded;
}

// Whether a character of `text` begins at `offset` (or the text ends there).
bool BeginsCharacter(std::string_view text, std::size_t offset) {
    std::size_t at = 0;
    while (at < offset) {
        at += CharacterSize(text, at);
    }
    return at == offset;
}

}  // namespace

std::string AsciiLower(std::string_view text) {
    return FoldSingleBytes(text, [](char c) { return AsciiLower(c); });
}

std::string AsciiUpper(std::string_view text) {
    return FoldSingleBytes(text, [](char c) { return AsciiUpper(c); });
}

// Compared byte by byte, a byte folded only where the two differ: a tree level of thousands of paths, and
// every look-up of the in-memory registry, compare this way. While the two agree, a double-byte character
// begins at the same byte in both (folding never touches a lead byte), so one account of where the
// second bytes lie serves both.
int CompareIgnoringAsciiCase(std::string_view a, std::string_view b) {
    bool second = false;
    const std::size_t length = std::min(a.size(), b.size());
    for (std::size_t at = 0; at < length; ++at) {
        if (a[at] != b[at]) {
            const auto x = static_cast<unsigned char>(second ? a[at] : AsciiLower(a[at]));
            const auto y = static_cast<unsigned char>(second ? b[at] : AsciiLower(b[at]));
            if (x != y) {
                return x < y ? -1 : 1;
            }
        }
        second = !second && IsLeadByte(a[at]);
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareIgnoringAsciiCase(a, b) == 0;
}

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && BeginsCharacter(text, prefix.size()) &&
           EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace platform
