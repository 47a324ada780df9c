#include "platform/AsciiCase.h"

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

// Character by character, folding in place: a tree level of thousands of paths is compared this way
// for each path looked for. Where the two agree so far, a character begins at the same byte in both.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t at = 0; at < a.size();) {
        const std::size_t size = CharacterSize(a, at);
        const bool same =
            size == 1 ? AsciiLower(a[at]) == AsciiLower(b[at]) : a.substr(at, 2) == b.substr(at, 2);
        if (!same) {
            return false;
        }
        at += size;
    }
    return true;
}

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && BeginsCharacter(text, prefix.size()) &&
           EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace platform
