// Reading a text of the system's ANSI code page by its characters. In the East Asian code pages the
// second byte of a double-byte character may be a backslash or an ASCII letter (Shift-JIS ソ is 83 5C,
// Big5 功 is A5 5C), so a separator, a colon or a full stop is only ever looked for where a character
// begins, and never found inside one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Whether `byte` begins a double-byte character. No ASCII byte does in any of Windows' code pages, so
// only the others are asked of the system: sorting a level of thousands of names asks for every byte.
bool IsLeadByte(char byte);

// The bytes of the character that begins at `offset`: two for a lead byte with a byte after it, else one.
std::size_t CharacterSize(std::string_view text, std::size_t offset);

// Where the first, or the last, character of `text` that is one of the single-byte characters `wanted`
// begins; npos when there is none.
std::size_t FindFirstCharacter(std::string_view text, std::string_view wanted);
std::size_t FindLastCharacter(std::string_view text, std::string_view wanted);

// Whether the last character of `text` is the single-byte character `c` (a double-byte character that
// ends in its byte does not count).
bool EndsWithCharacter(const std::string& text, char c);

}  // namespace platform
