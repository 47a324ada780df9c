// Comparing names as the user's locale does, and converting names between the shell's wide characters
// and the ANSI code page (Western European, 1252, on both sides).
#include <string>

#include "platform/CodePage.h"
#include "platform/Kernel.h"
#include "tests/contract/Contract.h"

using namespace platform;

namespace {

int Compare(DWORD flags, const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, flags, a.c_str(), -1, b.c_str(), -1);
}

std::string ToAnsi(const std::u16string& wide, BOOL* usedDefault = nullptr) {
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    REQUIRE(size > 0);
    std::string text(static_cast<std::size_t>(size), '\0');
    CHECK_EQ(WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, text.data(), size, nullptr, usedDefault), size);
    text.pop_back();
    return text;
}

std::u16string ToWide(const std::string& text) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    REQUIRE(size > 0);
    std::u16string wide(static_cast<std::size_t>(size), u'\0');
    CHECK_EQ(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size), size);
    wide.pop_back();
    return wide;
}

}  // namespace

CONTRACT_CASE(Compare_EqualWithoutCase) {
    CHECK_EQ(Compare(NORM_IGNORECASE, "C:\\", "c:\\"), CSTR_EQUAL);
    CHECK_EQ(Compare(NORM_IGNORECASE, "Program Files", "PROGRAM FILES"), CSTR_EQUAL);
    CHECK_EQ(Compare(NORM_IGNORECASE, "\xC9t\xE9", "\xE9T\xC9"), CSTR_EQUAL);  // accented letters pair too
}

CONTRACT_CASE(Compare_DifferentTextsWithoutCase) {
    CHECK_EQ(Compare(NORM_IGNORECASE, "abc", "ABD"), CSTR_LESS_THAN);
    CHECK_EQ(Compare(NORM_IGNORECASE, "b", "A"), CSTR_GREATER_THAN);
    CHECK_EQ(Compare(NORM_IGNORECASE, "ab", "ABC"), CSTR_LESS_THAN);
    CHECK_EQ(Compare(NORM_IGNORECASE, "C:\\", "D:\\"), CSTR_LESS_THAN);
}

// Letters come in the alphabet's order whatever their case; the case decides only between otherwise
// equal texts, the small letter first.
CONTRACT_CASE(Compare_WithCaseLettersBeforeCase) {
    CHECK_EQ(Compare(0, "a", "B"), CSTR_LESS_THAN);
    CHECK_EQ(Compare(0, "B", "a"), CSTR_GREATER_THAN);
    CHECK_EQ(Compare(0, "a", "A"), CSTR_LESS_THAN);
    CHECK_EQ(Compare(0, "abc", "abc"), CSTR_EQUAL);
}

CONTRACT_CASE(Compare_CountedLengths) {
    CHECK_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, "abcdef", 3, "ABC", -1), CSTR_EQUAL);
    CHECK_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, "abc", 3, "abcd", 4), CSTR_LESS_THAN);
    CHECK_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, "", 0, "", 0), CSTR_EQUAL);
}

// Any negative count means "up to the zero"; a missing text with a count is refused.
CONTRACT_CASE(Compare_NegativeCountsAndMissingTexts) {
    CHECK_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "abc", -2, "abc", -1), CSTR_EQUAL);
    CHECK_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, nullptr, 3, "abc", -1), 0);
    CHECK_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

CONTRACT_CASE(CodePage_WideNamesToAnsi) {
    BOOL usedDefault = 1;
    CHECK_EQ(ToAnsi(u"Caf\u00E9 \u20AC", &usedDefault), "Caf\xE9 \x80");
    CHECK_EQ(usedDefault, 0);
}

CONTRACT_CASE(CodePage_CharacterTheCodePageLacksBecomesTheDefault) {
    BOOL usedDefault = 0;
    CHECK_EQ(ToAnsi(u"a\u4E2Db", &usedDefault), "a?b");
    CHECK_EQ(usedDefault, 1);
}

CONTRACT_CASE(CodePage_AnsiToWide) {
    CHECK(ToWide("Caf\xE9 \x80\x9F") == u"Caf\u00E9 \u20AC\u0178");
}

// The size asked with a length of -1 counts the zero; a given length counts what it says.
CONTRACT_CASE(CodePage_SizesAndShortBuffers) {
    CHECK_EQ(WideCharToMultiByte(CP_ACP, 0, u"abc", -1, nullptr, 0, nullptr, nullptr), 4);
    CHECK_EQ(WideCharToMultiByte(CP_ACP, 0, u"abc", 2, nullptr, 0, nullptr, nullptr), 2);
    char text[2];
    CHECK_EQ(WideCharToMultiByte(CP_ACP, 0, u"abc", -1, text, sizeof text, nullptr, nullptr), 0);
    CHECK_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    WCHAR root[4];
    CHECK_EQ(MultiByteToWideChar(CP_ACP, 0, "C:\\", 4, root, 4), 4);
    CHECK(std::u16string(root, 4) == std::u16string(u"C:\\", 4));
    CHECK_EQ(MultiByteToWideChar(CP_ACP, 0, "C:\\", 4, root, 3), 0);
    CHECK_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

// A flag that does not belong to the conversion is refused, not ignored.
CONTRACT_CASE(CodePage_FlagsOfTheOtherDirectionAreRefused) {
    char text[4];
    CHECK_EQ(WideCharToMultiByte(CP_ACP, 1, u"abc", -1, text, sizeof text, nullptr, nullptr), 0);
    CHECK_EQ(GetLastError(), ERROR_INVALID_FLAGS);
    WCHAR wide[4];
    CHECK_EQ(MultiByteToWideChar(CP_ACP, 0x40, "abc", -1, wide, 4), 0);
    CHECK_EQ(GetLastError(), ERROR_INVALID_FLAGS);
    CHECK_EQ(MultiByteToWideChar(CP_ACP, 1, "abc", -1, wide, 4), 4);  // precomposed, the default
}
