// Case folding of the letters A to Z alone. Device IDs, registry texts and paths are compared this way:
// the bytes above 127 mean different letters in different code pages, so they are never folded. A text
// is folded by its characters: the second byte of a double-byte character may be an ASCII letter, and
// it stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace platform {

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text with 'A' to 'Z' (or 'a' to 'z') of its single-byte characters turned into the other case;
// every other byte stays.
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

// The order of AsciiLower(a) and AsciiLower(b) by their bytes (negative, zero or positive), without
// making either copy; and whether the two are the same.
int CompareIgnoringAsciiCase(std::string_view a, std::string_view b);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Whether `text` begins with the characters of `prefix`, ignoring the case of A to Z.
bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

}  // namespace platform
