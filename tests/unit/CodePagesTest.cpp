// The code pages of the in-memory Windows, chosen per test: each East Asian one with its lead bytes and
// a character whose second byte is a backslash or a letter, converted both ways and stepped over whole.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/CharacterScan.h"
#include "platform/CodePage.h"
#include "platform/Kernel.h"
#include "platform/sim/World.h"

using namespace platform;

namespace {

struct EastAsianCharacter {
    UINT codePage;
    BYTE lastLeadByte;
    std::string bytes;  // one character of two bytes
    char16_t wide;
};

class InMemoryCodePages : public ::testing::TestWithParam<EastAsianCharacter> {
protected:
    void SetUp() override { sim::ResetWorld().UseCodePage(GetParam().codePage); }
    void TearDown() override { sim::ResetWorld(); }
};

TEST_P(InMemoryCodePages, LeadBytesConversionsAndSteppingAgree) {
    const auto& [codePage, lastLeadByte, bytes, wide] = GetParam();
    EXPECT_EQ(GetACP(), codePage);
    EXPECT_FALSE(IsDBCSLeadByte(0x80));
    EXPECT_TRUE(IsDBCSLeadByte(0x81));
    EXPECT_TRUE(IsDBCSLeadByte(lastLeadByte));
    EXPECT_FALSE(IsDBCSLeadByte(0xFF));

    WCHAR converted[2] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, bytes.c_str(), 2, converted, 2), 1);
    EXPECT_EQ(converted[0], wide);
    char back[3] = {};
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, &wide, 1, back, 2, nullptr, nullptr), 2);
    EXPECT_EQ(std::string(back), bytes);

    const std::string path = "C:\\" + bytes + "\\" + bytes;
    EXPECT_EQ(FindLastCharacter(path, "\\"), 5u);
    EXPECT_TRUE(EndsWithCharacter(path + "\\", '\\'));
    EXPECT_EQ(CharNextA(path.c_str() + 3), path.c_str() + 5);
    EXPECT_EQ(CharPrevA(path.c_str(), path.c_str() + path.size()), path.c_str() + 6);
}

INSTANTIATE_TEST_SUITE_P(EastAsian, InMemoryCodePages,
                         ::testing::Values(EastAsianCharacter{932, 0xFC, "\x83\x5C", u'\u30BD'},    // ソ
                                           EastAsianCharacter{936, 0xFE, "\x81\x5C", u'\u4E57'},    // 乗
                                           EastAsianCharacter{949, 0xFE, "\x81\x41", u'\uAC02'},    // 갂
                                           EastAsianCharacter{950, 0xFE, "\xB3\x5C", u'\u8A31'}));  // 許

// A character is looked for where characters begin, within the text given and nowhere past it: a lead
// byte at the very end is a character of its own, and an empty text ends in none.
TEST(CharacterScan, FindsSingleByteCharactersWhereCharactersBeginWithinTheText) {
    sim::ResetWorld().UseCodePage(932);
    const std::string so = "\x83\x5C";  // ソ
    EXPECT_EQ(FindFirstCharacter(so, "\\"), std::string::npos);
    EXPECT_EQ(FindLastCharacter(so, "\\"), std::string::npos);
    EXPECT_EQ(FindLastCharacter("\\" + so, "\\"), 0u);
    EXPECT_EQ(FindFirstCharacter(std::string_view("ab\\", 2), "\\"), std::string::npos);
    EXPECT_FALSE(EndsWithCharacter(so, '\\'));
    EXPECT_FALSE(EndsWithCharacter("", '\\'));
    EXPECT_EQ(CharacterSize("a\x83", 1), 1u);
    EXPECT_EQ(CharacterSize(so, 0), 2u);
    // Counted, a lead byte at the end is a character of its own, never read past.
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a\x83\x5C", 2, nullptr, 0), 2);
    sim::ResetWorld();
}

// "WideCharToMultiByte function (stringapiset.h)", "MultiByteToWideChar function (stringapiset.h)":
// -1 is the one length that stands for a text ending in its zero.
TEST(InMemoryCodePage, ALengthBelowMinusOneIsRefused) {
    sim::ResetWorld();
    char bytes[8] = {};
    WCHAR wide[8] = {};
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"ab", -2, bytes, sizeof bytes, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "ab", -2, wide, 8), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"ab", -1, bytes, sizeof bytes, nullptr, nullptr), 3);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "ab", -1, wide, 8), 3);
}

TEST(InMemoryCodePage, IsWindows1252UnlessChosenAndOnlyTheFiveCanBe) {
    auto& world = sim::ResetWorld();
    EXPECT_EQ(GetACP(), 1252u);
    EXPECT_FALSE(IsDBCSLeadByte(0x81));
    EXPECT_THROW(world.UseCodePage(1251), std::invalid_argument);
    EXPECT_EQ(GetACP(), 1252u);
}

}  // namespace
