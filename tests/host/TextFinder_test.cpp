// Finding a text inside another without regard to the case of ASCII letters,
// in single-byte, double-byte (code page 932) and UTF-8 texts.
#include <gtest/gtest.h>

#include <string>

#include "platform/pure/Orvex_TextCase.h"

using namespace orvex;

namespace {

// Lead bytes of code page 932 (Shift JIS).
bool IsShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

struct TCase {
    const char* haystack;
    const char* needle;
    bool found;
};

void ExpectFinds(const TCase* begin, const TCase* end, TLeadBytePredicate lead) {
    for (const TCase* c = begin; c != end; ++c) {
        EXPECT_EQ(ContainsText(c->haystack, c->needle, lead), c->found)
            << "\"" << c->needle << "\" in \"" << c->haystack << "\"";
        EXPECT_EQ(TTextFinder(c->needle, lead).In(c->haystack), c->found) << c->needle;
    }
}

}  // namespace

TEST(TextFinder, SingleByteTextsFoldAsciiLettersOnly) {
    const TCase cases[] = {
        {"C:\\Windows\\System32\\SHELL32.dll", "shell32", true},
        {"C:\\Windows\\System32\\SHELL32.dll", "C:\\WINDOWS\\system32\\shell32.DLL", true},
        {"abcdef", "Def", true},
        {"aab", "ab", true},  // a restart after a partial match
        {"abcdef", "abcdefg", false},
        {"abc", "abd", false},
        {"", "", true},
        {"x", "", true},
        {"", "x", false},
        // Code page 1252: A and a with diaeresis are no ASCII letters.
        {"\xC4rger.dll", "\xE4rger", false},
        {"[", "{", false},
        {"@", "`", false},
        // "?" where the code page could not hold a character is a character.
        {"C:\\Users\\????\\orvex.dll", "????\\ORVEX", true},
    };
    ExpectFinds(std::begin(cases), std::end(cases), nullptr);
}

TEST(TextFinder, DoubleByteCharactersStayWhole) {
    const TCase cases[] = {
        // 0x95 0x5C (hyo) and 0x83 0x5C (so) end in the byte of a backslash.
        {"\x95\x5C.dll", "\\", false},
        {"C:\\\x95\x5C\\a.dll", "\\a.DLL", true},
        {"C:\\\x95\x5C\\Orvex.DLL", "\x95\x5C\\orvex", true},
        {"x\x83\x5C", "\x83\x5C", true},
        // 0x95 0x83 is one character; the 0x83 0x5C after its lead is none.
        {"\x95\x83\x5C", "\x83\x5C", false},
        {"\x95\x83\x5C", "\\", true},
        // 0x83 0x61: its trail byte is "a", neither folded nor found alone.
        {"\x83\x61", "A", false},
        {"\x83\x61", "a", false},
        {"\x83\x61", "\x83\x41", false},
        {"\x83\x61", "\x83\x61", true},
        {"A\x83\x61", "a", true},
        {"\x83\x61.DLL", "\x83\x61.dll", true},
        // A lead byte that ends the needle matches no whole character.
        {"\x95\x5C", "\x95", false},
        {"ab\x95", "B\x95", true},
        // ASCII letters around double-byte characters still fold.
        {"C:\\\x83\x5C\x95\x5C\\Test_Module.dll", "test_MODULE", true},
    };
    ExpectFinds(std::begin(cases), std::end(cases), IsShiftJisLead);
}

TEST(TextFinder, ByteByByteTheSameDoubleByteTextsMatchWrongly) {
    // Without the code page's lead bytes the trail bytes above count as
    // characters of their own: why the search must know the code page.
    const TCase cases[] = {
        {"\x95\x5C.dll", "\\", true},
        {"\x95\x83\x5C", "\x83\x5C", true},
        {"\x83\x61", "A", true},
        {"\x83\x61", "\x83\x41", true},
    };
    ExpectFinds(std::begin(cases), std::end(cases), nullptr);
}

TEST(TextFinder, Utf8TextsCompareTheirCharactersAsTheyAre) {
    const TCase cases[] = {
        // C:\Users\Anya (Cyrillic) with a module below it.
        {"C:\\Users\\\xD0\x90\xD0\xBD\xD1\x8F\\Orvex_Test.dll", "orvex_test", true},
        {"C:\\Users\\\xD0\x90\xD0\xBD\xD1\x8F\\Orvex_Test.dll", "\xD0\xBD\xD1\x8F\\", true},
        // Only ASCII letters fold: Cyrillic capital En is not small en.
        {"C:\\Users\\\xD0\x90\xD0\xBD\xD1\x8F", "\xD0\x9D", false},
        // hyo (U+8868) in UTF-8, beside a backslash.
        {"C:\\\xE8\xA1\xA8\\a.dll", "\xE8\xA1\xA8\\A.DLL", true},
        {"C:\\\xE8\xA1\xA8\\a.dll", "\xE8\xA1\xA9", false},
    };
    ExpectFinds(std::begin(cases), std::end(cases), nullptr);
}
