// Comparing names as the user's locale does, converting names between the shell's wide characters and
// the ANSI code page, stepping through a text by its characters and changing their case: in the code
// page of Western European Windows (1252), and in Shift-JIS (932) and Big5 (950), whose double-byte
// characters may end in a backslash or an ASCII letter.
#include <cstdio>
#include <string>
#include <vector>

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

// The text with its case changed in place by the call given, which must answer the length it was given.
std::string Cased(DWORD (*change)(LPSTR, DWORD), std::string text) {
    CHECK_EQ(change(text.data(), static_cast<DWORD>(text.size())), text.size());
    return text;
}

// The offsets at which CharNextA finds the characters of a text, up to its zero.
std::vector<int> CharacterStarts(const std::string& text) {
    std::vector<int> starts;
    for (const char* at = text.c_str(); *at != '\0'; at = CharNextA(at)) {
        starts.push_back(static_cast<int>(at - text.c_str()));
    }
    return starts;
}

// The offset of the character before the one at `offset`, as CharPrevA finds it.
int PreviousCharacter(const std::string& text, std::size_t offset) {
    return static_cast<int>(CharPrevA(text.c_str(), text.c_str() + offset) - text.c_str());
}

// The bytes from 0x80 to 0xFF that begin a double-byte character, as ranges "81-9F".
std::string LeadByteRanges() {
    std::string ranges;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        if (IsDBCSLeadByte(static_cast<BYTE>(byte)) && !IsDBCSLeadByte(static_cast<BYTE>(byte - 1))) {
            char range[16];
            int last = byte;
            while (last < 0xFF && IsDBCSLeadByte(static_cast<BYTE>(last + 1))) {
                ++last;
            }
            std::snprintf(range, sizeof range, "%s%02X-%02X", ranges.empty() ? "" : " ", byte, last);
            ranges += range;
        }
    }
    return ranges;
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

CONTRACT_CASE_IN_CODE_PAGE(1252, Compare_EqualWithoutCase) {
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
    CHECK_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "", -1, "abc", 0), CSTR_EQUAL);  // no characters of it
}

// Any negative count means "up to the zero"; a missing text with a count is refused.
CONTRACT_CASE(Compare_NegativeCountsAndMissingTexts) {
    CHECK_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "abc", -2, "abc", -1), CSTR_EQUAL);
    CHECK_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, nullptr, 3, "abc", -1), 0);
    CHECK_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

// A count of 0 is a text without characters: before any other.
CONTRACT_CASE(Compare_ACountOfZeroIsAnEmptyText) {
    CHECK_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "abc", 0, "abc", -1), CSTR_LESS_THAN);
    CHECK_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, "b", -1, "abc", 0), CSTR_GREATER_THAN);
}

CONTRACT_CASE_IN_CODE_PAGE(1252, CodePage_WideNamesToAnsi) {
    BOOL usedDefault = 1;
    CHECK_EQ(ToAnsi(u"Caf\u00E9 \u20AC", &usedDefault), "Caf\xE9 \x80");
    CHECK_EQ(usedDefault, 0);
}

CONTRACT_CASE_IN_CODE_PAGE(1252, CodePage_CharacterTheCodePageLacksBecomesTheDefault) {
    BOOL usedDefault = 0;
    CHECK_EQ(ToAnsi(u"a\u4E2Db", &usedDefault), "a?b");
    CHECK_EQ(usedDefault, 1);
}

CONTRACT_CASE_IN_CODE_PAGE(1252, CodePage_AnsiToWide) {
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

// Nothing to convert is refused, in either direction, and the buffer is left as it was.
CONTRACT_CASE(CodePage_ACountOfZeroIsRefused) {
    WCHAR wide[4] = {u'x'};
    SetLastError(0);
    CHECK_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 0, wide, 4), 0);
    CHECK_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    CHECK(wide[0] == u'x');
    SetLastError(0);
    CHECK_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 0, nullptr, 0), 0);
    CHECK_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    char text[4] = "x";
    SetLastError(0);
    CHECK_EQ(WideCharToMultiByte(CP_ACP, 0, u"abc", 0, text, sizeof text, nullptr, nullptr), 0);
    CHECK_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    CHECK_EQ(std::string(text), "x");
}

// The control characters are the same numbers in every code page, both ways.
CONTRACT_CASE(CodePage_ControlCharactersConvertBothWays) {
    std::string controls;
    std::u16string wideControls;
    for (char16_t c = 1; c < 0x20; ++c) {
        controls += static_cast<char>(c);
        wideControls += c;
    }
    controls += '\x7F';
    wideControls += u'\x7F';
    CHECK(ToWide(controls) == wideControls);
    CHECK_EQ(ToAnsi(wideControls), controls);
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

// ---- every code page: ASCII is one byte a character, and A to Z have their case ----

CONTRACT_CASE(Chars_AsciiTakesOneByteACharacter) {
    CHECK(CharacterStarts("C:\\ab") == (std::vector<int>{0, 1, 2, 3, 4}));
    const std::string text = "ab";
    CHECK_EQ(CharNextA(text.c_str() + 2) - text.c_str(), 2);  // at the zero it stays
    CHECK_EQ(PreviousCharacter(text, 0), 0);                  // before the start it stays
    CHECK_EQ(PreviousCharacter(text, 2), 1);
    CHECK(!IsDBCSLeadByte('\\'));
    CHECK(!IsDBCSLeadByte('A'));
    CHECK(!IsDBCSLeadByte(0));
}

CONTRACT_CASE(Chars_CaseOfAsciiLetters) {
    CHECK_EQ(Cased(CharLowerBuffA, "SETUP Z@[`{"), "setup z@[`{");
    CHECK_EQ(Cased(CharUpperBuffA, "setup z@[`{"), "SETUP Z@[`{");
    std::string text = "ABC";
    CHECK_EQ(CharLowerBuffA(text.data(), 2), 2u);  // no further than told
    CHECK_EQ(text, "abC");
}

// ---- Western European (1252) ----

CONTRACT_CASE_IN_CODE_PAGE(1252, CodePage1252_HasNoLeadBytes) {
    CHECK_EQ(GetACP(), 1252u);
    CHECK_EQ(LeadByteRanges(), "");
}

CONTRACT_CASE_IN_CODE_PAGE(1252, Chars1252_AccentedLettersHaveTheirCase) {
    CHECK_EQ(Cased(CharLowerBuffA, "\xC9T\xC9 \x8A\xD7\xDE"), "\xE9t\xE9 \x9A\xD7\xFE");
    CHECK_EQ(Cased(CharUpperBuffA, "\xE9t\xE9 \xFF\xF7\xFE"), "\xC9T\xC9 \x9F\xF7\xDE");
}

// ---- Shift-JIS (932): ソ is 83 5C, 表 95 5C, セ 83 5A, ホ 83 7A; ｱ is the one byte B1 ----

CONTRACT_CASE_IN_CODE_PAGE(932, CodePage932_LeadBytes) {
    CHECK_EQ(GetACP(), 932u);
    CHECK_EQ(LeadByteRanges(), "81-9F E0-FC");
}

CONTRACT_CASE_IN_CODE_PAGE(932, CodePage932_Conversions) {
    CHECK(ToWide("\x83\x5C\x83\x74\x83\x67\\\x95\x5C") == u"\u30BD\u30D5\u30C8\\\u8868");
    CHECK(ToWide("\xB1"
                 "A") == u"\uFF71A");
    CHECK_EQ(ToAnsi(u"\u30BB\u30C3\u30C8\u30A2\u30C3\u30D7"),
             "\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76");
    CHECK_EQ(ToAnsi(u"\u8868\\\uFF71"), "\x95\x5C\\\xB1");
    // Sizes count characters on the wide side and bytes on the other, the zero as one of each.
    CHECK_EQ(MultiByteToWideChar(CP_ACP, 0,
                                 "\x83\x5C"
                                 "a",
                                 -1, nullptr, 0),
             3);
    CHECK_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u30BDa", -1, nullptr, 0, nullptr, nullptr), 4);
    char text[3];
    CHECK_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u30BDa", -1, text, sizeof text, nullptr, nullptr), 0);
    CHECK_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    BOOL usedDefault = 1;
    CHECK_EQ(ToAnsi(u"\u8868", &usedDefault), "\x95\x5C");
    CHECK_EQ(usedDefault, 0);
}

CONTRACT_CASE_IN_CODE_PAGE(932, Chars932_SecondBytesArePartOfTheirCharacters) {
    const std::string path = "C:\\\x83\x5C\\\xB1\x95\x5C";  // C:\ソ\ｱ表
    CHECK(CharacterStarts(path) == (std::vector<int>{0, 1, 2, 3, 5, 6, 7}));
    CHECK_EQ(PreviousCharacter(path, path.size()), 7);  // 表, not its second byte
    CHECK_EQ(PreviousCharacter(path, 5), 3);
    CHECK_EQ(PreviousCharacter(path, 3), 2);
    const std::string cut = "a\x83";  // a lead byte before the zero is a character of its own
    CHECK(CharacterStarts(cut) == (std::vector<int>{0, 1}));
}

CONTRACT_CASE_IN_CODE_PAGE(932, Chars932_CaseLeavesDoubleByteCharacters) {
    const std::string setup = "\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76";  // セットアップ
    CHECK_EQ(Cased(CharLowerBuffA, "SETUP" + setup + "X"), "setup" + setup + "x");
    CHECK_EQ(Cased(CharUpperBuffA,
                   "ab\x83\x7A\xB1"
                   "c"),
             "AB\x83\x7A\xB1"
             "C");
}

// Full-width letters (Ａ is 82 60, ａ 82 81) are letters of their own: a case change leaves them, as it
// leaves every double-byte character, but a comparison without case pairs them.
CONTRACT_CASE_IN_CODE_PAGE(932, Chars932_FullWidthLettersKeepTheirCase) {
    CHECK_EQ(Cased(CharLowerBuffA, "\x82\x60"), "\x82\x60");
    CHECK_EQ(Cased(CharUpperBuffA, "\x82\x81"), "\x82\x81");
}

CONTRACT_CASE_IN_CODE_PAGE(932, Compare932_FullWidthLettersWithoutCase) {
    CHECK_EQ(Compare(NORM_IGNORECASE, "\x82\x60", "\x82\x81"), CSTR_EQUAL);
    CHECK_EQ(Compare(0, "\x82\x81", "\x82\x60"), CSTR_LESS_THAN);
    CHECK(Compare(NORM_IGNORECASE, "\x82\x60", "A") != CSTR_EQUAL);  // not the ASCII letter
}

CONTRACT_CASE_IN_CODE_PAGE(932, Compare932_SecondBytesAreNoLetters) {
    CHECK_EQ(Compare(NORM_IGNORECASE, "\x83\x5A", "\x83\x7A"), CSTR_LESS_THAN);  // セ before ホ
    CHECK_EQ(Compare(NORM_IGNORECASE, "c:\\\x83\x5C", "C:\\\x83\x5C"), CSTR_EQUAL);
    CHECK_EQ(Compare(0, "\x83\x5C", "\x95\x5C"), CSTR_LESS_THAN);  // ソ before 表
    CHECK_EQ(Compare(0, "z", "\x83\x5C"), CSTR_LESS_THAN);         // letters before kana
}

// ---- Big5 (950): 許 is B3 5C, 功 A5 5C, 名 A6 57, 安 A6 77 ----

CONTRACT_CASE_IN_CODE_PAGE(950, CodePage950_LeadBytes) {
    CHECK_EQ(GetACP(), 950u);
    CHECK_EQ(LeadByteRanges(), "81-FE");
}

CONTRACT_CASE_IN_CODE_PAGE(950, CodePage950_Conversions) {
    CHECK(ToWide("\xB3\x5C\xA5\x69\\\xA6\x57") == u"\u8A31\u53EF\\\u540D");
    CHECK_EQ(ToAnsi(u"\u529F\u80FD\\\u5B89"), "\xA5\x5C\xAF\xE0\\\xA6\x77");
    CHECK_EQ(MultiByteToWideChar(CP_ACP, 0, "\xB3\x5C", -1, nullptr, 0), 2);
    CHECK_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u8A31", -1, nullptr, 0, nullptr, nullptr), 3);
}

CONTRACT_CASE_IN_CODE_PAGE(950, Chars950_SecondBytesArePartOfTheirCharacters) {
    const std::string path = "D:\\\xB3\x5C\xA5\x69\\\xA6\x57";  // D:\許可\名
    CHECK(CharacterStarts(path) == (std::vector<int>{0, 1, 2, 3, 5, 7, 8}));
    CHECK_EQ(PreviousCharacter(path, path.size()), 8);
    CHECK_EQ(PreviousCharacter(path, 7), 5);
}

CONTRACT_CASE_IN_CODE_PAGE(950, Chars950_CaseLeavesDoubleByteCharacters) {
    CHECK_EQ(Cased(CharLowerBuffA, "CVFIR\xA6\x57\xA6\x72"), "cvfir\xA6\x57\xA6\x72");
    CHECK_EQ(Cased(CharUpperBuffA, "a\xA6\x77"), "A\xA6\x77");
}

CONTRACT_CASE_IN_CODE_PAGE(950, Compare950_SecondBytesAreNoLetters) {
    CHECK_EQ(Compare(NORM_IGNORECASE, "\xA6\x57", "\xA6\x77"), CSTR_LESS_THAN);  // 名 before 安
    CHECK_EQ(Compare(NORM_IGNORECASE, "d:\\\xB3\x5C", "D:\\\xB3\x5C"), CSTR_EQUAL);
    CHECK_EQ(Compare(0, "\xA5\x5C", "\xB3\x5C"), CSTR_LESS_THAN);  // 功 before 許
    CHECK_EQ(Compare(0, "z", "\xA5\x5C"), CSTR_LESS_THAN);
}
