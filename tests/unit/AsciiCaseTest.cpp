// The one case fold of device IDs, registry texts and paths: A to Z and nothing else.
#include <gtest/gtest.h>

#include "platform/AsciiCase.h"
#include "platform/sim/World.h"
#include "tests/unit/DoubleByteNames.h"

using namespace platform;

namespace {

// The neighbours of each letter range ('@' '[' '`' '{') and the code page's upper half, where the
// same byte is a different letter in another code page, never fold.
TEST(AsciiCase, FoldsTheLettersAToZAlone) {
    EXPECT_EQ(AsciiLower("AZ@[az`{"), "az@[az`{");
    EXPECT_EQ(AsciiLower("\xC4\xD6\xDC"), "\xC4\xD6\xDC");
    EXPECT_EQ(AsciiUpper('a'), 'A');
    EXPECT_EQ(AsciiUpper('z'), 'Z');
    EXPECT_EQ(AsciiUpper('`'), '`');
    EXPECT_EQ(AsciiUpper('{'), '{');
    EXPECT_EQ(AsciiUpper('\xE4'), '\xE4');
}

TEST(AsciiCase, ComparesWholeTextsAndBeginnings) {
    EXPECT_TRUE(EqualsIgnoringAsciiCase("*cvn0510", "*CVN0510"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("*CVN0510", "*CVN05100"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("\xE4", "\xC4"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("@", "`"));
    EXPECT_TRUE(EqualsIgnoringAsciiCase(std::string_view("a\0b", 3), std::string_view("A\0B", 3)));

    // In the order of the lowered texts by their bytes, a beginning first.
    EXPECT_EQ(CompareIgnoringAsciiCase("Software", "SOFTWARE"), 0);
    EXPECT_LT(CompareIgnoringAsciiCase("_", "a"), 0);  // '_' lies between 'Z' and 'a'
    EXPECT_GT(CompareIgnoringAsciiCase("B", "_"), 0);
    EXPECT_LT(CompareIgnoringAsciiCase("Run", "RunOnce"), 0);
    EXPECT_GT(CompareIgnoringAsciiCase("\xE4", "z"), 0);  // bytes above 127 after ASCII

    EXPECT_TRUE(StartsWithIgnoringAsciiCase("CVFIRDMA.SYS", "cvfirdma"));
    EXPECT_TRUE(StartsWithIgnoringAsciiCase("cvfirdma", "cvfirdma"));
    EXPECT_FALSE(StartsWithIgnoringAsciiCase("cvfird", "cvfirdma"));
    EXPECT_TRUE(StartsWithIgnoringAsciiCase("", ""));
}

// The world's code page goes back to Windows-1252 for the tests that follow.
class AsciiCaseInEastAsianCodePages : public ::testing::Test {
protected:
    void TearDown() override { platform::sim::ResetWorld(); }
};

// The second byte of a double-byte character is part of its character, never a letter of its own.
TEST_F(AsciiCaseInEastAsianCodePages, LeavesTheSecondBytesOfDoubleByteCharacters) {
    using namespace doublebyte;
    platform::sim::ResetWorld().UseCodePage(932);
    EXPECT_EQ(AsciiLower("AB" + kSetup932 + "CD"), "ab" + kSetup932 + "cd");
    EXPECT_EQ(AsciiUpper("ab" + kHo932 + "cd"), "AB" + kHo932 + "CD");
    EXPECT_FALSE(EqualsIgnoringAsciiCase(kSe932, kHo932));
    EXPECT_TRUE(EqualsIgnoringAsciiCase("x" + kSe932, "X" + kSe932));
    EXPECT_FALSE(StartsWithIgnoringAsciiCase(kHo932 + "A", kSe932));
    EXPECT_FALSE(StartsWithIgnoringAsciiCase(kSe932, "\x83"));     // half a character is no beginning
    EXPECT_TRUE(StartsWithIgnoringAsciiCase("ab\x83", "AB\x83"));  // a lead byte at the end is whole
    // ア (83 41) and ヂ (83 61) are two names: the in-memory registry keeps a key of each.
    EXPECT_LT(CompareIgnoringAsciiCase("\x83\x41", "\x83\x61"), 0);
    EXPECT_EQ(CompareIgnoringAsciiCase("a\x83\x41", "A\x83\x41"), 0);
    EXPECT_TRUE(platform::sim::CaseInsensitiveLess()("\x83\x41", "\x83\x61"));
    platform::sim::ResetWorld().UseCodePage(950);
    EXPECT_EQ(AsciiLower(kName950), kName950);
    EXPECT_FALSE(EqualsIgnoringAsciiCase(kName950, kSafe950 + "\xA6\x72"));
}

}  // namespace
