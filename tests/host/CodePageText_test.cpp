// Cutting, comparing and case-folding texts in the code pages Windows runs
// this program in: single-byte (1252), double-byte (932, 936, 949, 950) and
// UTF-8 (65001).
#include <gtest/gtest.h>

#include <string>

#include "platform/pure/Orvex_CodePageRule.h"
#include "platform/pure/Orvex_ShortString.h"
#include "platform/pure/Orvex_TextCase.h"

using namespace orvex;

namespace {

// Lead bytes of the double-byte code pages.
bool Lead932(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool Lead936(unsigned char c) { return c >= 0x81 && c <= 0xFE; }  // also 949 and 950

const TCodePageRule SingleByte{};
const TCodePageRule Cp932{Lead932, false};
const TCodePageRule Cp936{Lead936, false};
const TCodePageRule Utf8{nullptr, true};

// The process's rule for one scope.
class TRuleInForce {
public:
    explicit TRuleInForce(const TCodePageRule& rule) : saved_(ProcessCodePageRule()) { SetProcessCodePageRule(rule); }
    ~TRuleInForce() { SetProcessCodePageRule(saved_); }
    TRuleInForce(const TRuleInForce&) = delete;
    TRuleInForce& operator=(const TRuleInForce&) = delete;

private:
    TCodePageRule saved_;
};

const char* RuleName(const TCodePageRule& r) { return r.Utf8 ? "UTF-8" : r.IsLeadByte ? "double-byte" : "single-byte"; }

}  // namespace

TEST(CodePageText, CutsKeepCharactersWhole) {
    struct TCase {
        const TCodePageRule* rule;
        std::string text;
        std::size_t max;
        std::size_t cut;
    } cases[] = {
        {&SingleByte, "caf\xE9 au lait", 4, 4},
        {&SingleByte, "abc", 10, 3},
        // 932: "\x95\x5C" is one character (its trail byte a backslash).
        {&Cp932,
         "a\x95\x5C"
         "b",
         2, 1},
        {&Cp932,
         "a\x95\x5C"
         "b",
         3, 3},
        {&Cp932, "\x83\x61\x83\x41", 3, 2},
        {&Cp936, "\xB1\xED\xD6\xD0", 3, 2},
        {&Cp936, "\xB1\xED", 1, 0},
        // UTF-8: a three-byte character is kept whole or not at all.
        {&Utf8, "a\xE8\xA1\xA8", 3, 1},
        {&Utf8, "a\xE8\xA1\xA8", 4, 4},
        {&Utf8, "\xD0\x9F\xD1\x80", 3, 2},
        {&Utf8, "\xF0\x9F\x98\x80x", 4, 4},
        {&Utf8, "\xF0\x9F\x98\x80x", 3, 0},
        // Bytes that are no well-formed UTF-8 are taken one by one.
        {&Utf8,
         "\xE8\xA1"
         "ab",
         1, 1},
        {&Utf8, "\xFF\xFE", 1, 1},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(CharacterCutLength(c.text, c.max, *c.rule), c.cut) << RuleName(*c.rule) << " " << c.text;
}

TEST(CodePageText, RecordTextsCutAtCharacterBoundaries) {
    const std::string cjk = [] {
        std::string s;
        for (int i = 0; i < 200; ++i) s += "\xE8\xA1\xA8";  // 200 characters, 600 bytes
        return s;
    }();
    {
        const TRuleInForce utf8(Utf8);
        const TShortString name = cjk;
        EXPECT_EQ(name.size(), 255u);  // 85 whole characters
        const TShortString shifted = "a" + cjk;
        EXPECT_EQ(shifted.size(), 253u);  // "a" and 84 whole characters
        // A path keeps every path a program can start from: 259 characters.
        std::string path = "C:\\";
        for (int i = 0; i < 256; ++i) path += "\xE8\xA1\xA8";
        const TPathString kept = path;
        EXPECT_EQ(kept.str(), path);
    }
    {
        const TRuleInForce dbcs(Cp932);
        std::string text = "a";
        for (int i = 0; i < 200; ++i) text += "\x95\x5C";
        const TShortString name = text;
        EXPECT_EQ(name.size(), 255u);  // "a" and 127 whole characters
        const TShortString even = text.substr(1);
        EXPECT_EQ(even.size(), 254u);
    }
    const TShortString bytes = cjk;  // single-byte code page: bytes are characters
    EXPECT_EQ(bytes.size(), 255u);
}

TEST(CodePageText, CaseFoldingLeavesTrailBytesAlone) {
    struct TCase {
        const TCodePageRule* rule;
        std::string a, b;
        bool same;
    } cases[] = {
        {&SingleByte, "Kernel32.DLL", "KERNEL32.dll", true},
        {&SingleByte, "caf\xE9", "CAF\xE9", true},
        {&SingleByte, "caf\xE9", "CAF\xC9", false},  // only ASCII letters fold
        // 932: 0x83 0x61 and 0x83 0x41 are two different characters.
        {&Cp932, "\x83\x61.dll", "\x83\x41.DLL", false},
        {&Cp932, "\x83\x61.dll", "\x83\x61.DLL", true},
        {&Cp936, "\xB1\x61", "\xB1\x41", false},
        {&Utf8,
         "\xD0\x9F"
         "a.dll",
         "\xD0\x9F"
         "A.DLL",
         true},
        {&Utf8, "\xD0\x9F", "\xD0\xBF", false},
        {&Utf8, "ab", "abc", false},
    };
    for (const TCase& c : cases) {
        const TRuleInForce rule(*c.rule);
        EXPECT_EQ(SameText(c.a, c.b), c.same) << RuleName(*c.rule) << " " << c.a << " / " << c.b;
        EXPECT_EQ(UpperCase(c.a) == UpperCase(c.b), c.same) << RuleName(*c.rule) << " " << c.a;
    }
    const TRuleInForce dbcs(Cp932);
    EXPECT_EQ(UpperCase("a\x83\x61z"), "A\x83\x61Z");
}
