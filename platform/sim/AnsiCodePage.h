// The ANSI code pages of the in-memory Windows: Western European (1252), and the East Asian ones whose
// characters take one byte or two: Shift-JIS (932), GBK (936), Korean (949) and Big5 (950). Their
// characters come from the C library's own converters, made into tables the first time a code page is
// used; only the lead-byte ranges are Windows' own (what GetCPInfo gives for each code page).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"

namespace platform::sim {

class AnsiCodePage {
public:
    // One of the five code pages; std::invalid_argument for any other number.
    static const AnsiCodePage& Of(UINT number);

    UINT Number() const { return number_; }
    bool IsDoubleByte() const { return number_ != 1252; }
    bool IsLeadByte(unsigned char byte) const { return lead_[byte]; }

    // The bytes of the character that begins at `offset`: two for a lead byte with a byte after it.
    std::size_t CharacterSize(std::string_view text, std::size_t offset) const;

    // The wide character of one character, of one byte (`second` unused) or two; '?' for two bytes that
    // name no character.
    char16_t ToWide(unsigned char first, unsigned char second = 0) const;
    // The bytes of a wide character, one or two; empty when the code page lacks it.
    std::string ToBytes(char16_t wide) const;

private:
    explicit AnsiCodePage(UINT number);

    static constexpr std::uint16_t kNoBytes = 0xFFFF;

    UINT number_;
    std::array<bool, 256> lead_{};
    std::array<char16_t, 256> single_{};
    std::vector<char16_t> double_;        // by lead byte * 256 + second byte
    std::vector<std::uint16_t> reverse_;  // by wide character: a byte, or lead byte * 256 + second byte
};

}  // namespace platform::sim
