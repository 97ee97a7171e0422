// The pieces in which the console collector writes: at most the limit, the
// whole text when it fits, never a character cut in two.
#include <gtest/gtest.h>

#include "console/pure/InvPieces.h"

#include <string>
#include <vector>

using namespace orvex;
using namespace orvex::console;

namespace {

// Lead bytes of code page 932 (Shift JIS).
bool IsShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// The pieces PieceLength cuts Text into, the way the writer walks it.
template <typename TText, typename TPieceLength>
std::vector<TText> Pieces(TText text, std::size_t limit, TPieceLength pieceLength) {
    std::vector<TText> pieces;
    std::basic_string_view<typename TText::value_type> rest = text;
    while (!rest.empty()) {
        const std::size_t n = pieceLength(rest, limit);
        EXPECT_GT(n, 0u);
        if (n == 0) break;
        pieces.emplace_back(rest.substr(0, n));
        rest.remove_prefix(n);
    }
    return pieces;
}

// Whether S, read from its start, ends where a character of code page 932 ends.
bool EndsAtCharacter932(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) i += IsShiftJisLead(static_cast<unsigned char>(s[i])) ? 2 : 1;
    return i == s.size();
}

std::size_t CodePage932(std::string_view s, std::size_t limit) { return CodePagePieceLength(s, limit, IsShiftJisLead); }
std::size_t SingleByte(std::string_view s, std::size_t limit) { return CodePagePieceLength(s, limit, nullptr); }

}  // namespace

TEST(InvPieces, CodePageTextsEndAtCharacters) {
    using TList = std::vector<std::string>;
    struct TCase {
        std::string text;
        std::size_t limit;
        TLeadBytePredicate lead;
        TList pieces;
    } cases[] = {
        {"", 4, nullptr, {}},
        {"abc", 4, nullptr, {"abc"}},
        {"abcd", 4, nullptr, {"abcd"}},
        {"abcdefghij", 4, nullptr, {"abcd", "efgh", "ij"}},
        // Code page 1252 has no double-byte characters.
        {"\x83\x61\x83\x61\x83", 2, nullptr, {"\x83\x61", "\x83\x61", "\x83"}},
        // 932: hyo (0x95 0x5C) and so (0x83 0x5C) stay whole.
        {"a\x95\x5C\x83\x5C", 2, IsShiftJisLead, {"a", "\x95\x5C", "\x83\x5C"}},
        {"ab\x95\x5C", 3, IsShiftJisLead, {"ab", "\x95\x5C"}},
        {"\x83\x61\x83\x61", 3, IsShiftJisLead, {"\x83\x61", "\x83\x61"}},
        {"\x83\x61z\x83\x61", 3, IsShiftJisLead, {"\x83\x61z", "\x83\x61"}},
        // A lead byte that ends the text is a character of its own.
        {"abc\x95", 3, IsShiftJisLead, {"abc", "\x95"}},
        // A limit below the character's length cannot keep it whole.
        {"\x95\x5C", 1, IsShiftJisLead, {"\x95", "\x5C"}},
    };
    for (const TCase& c : cases) {
        const auto pieces = Pieces(c.text, c.limit, [&c](std::string_view s, std::size_t limit) {
            return CodePagePieceLength(s, limit, c.lead);
        });
        EXPECT_EQ(pieces, c.pieces) << c.text << " by " << c.limit;
    }
}

TEST(InvPieces, EightKilobytesOfDoubleByteTextEndBeforeALeadByte) {
    // 8191 ASCII bytes and then hyo: the character would end at byte 8193.
    std::string text(MaxWriteBytes - 1, 'x');
    text += "\x95\x5C";
    text += "tail";
    const auto pieces = Pieces(text, MaxWriteBytes, CodePage932);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].size(), MaxWriteBytes - 1);
    EXPECT_EQ(pieces[1], "\x95\x5Ctail");
    // Byte by byte the same text is cut inside the character.
    const auto bytes = Pieces(text, MaxWriteBytes, SingleByte);
    ASSERT_EQ(bytes.size(), 2u);
    EXPECT_EQ(bytes[0].size(), MaxWriteBytes);
    EXPECT_EQ(bytes[1], "\x5Ctail");
    // A long text: every piece at most the limit, together the text.
    std::string many;
    for (int i = 0; i < 7000; ++i) many += i % 3 ? "\x83\x5C" : "a";
    std::string joined;
    for (const auto& p : Pieces(many, MaxWriteBytes, CodePage932)) {
        EXPECT_LE(p.size(), MaxWriteBytes);
        EXPECT_TRUE(EndsAtCharacter932(p)) << "a piece ends inside a character";
        joined += p;
    }
    EXPECT_EQ(joined, many);
}

TEST(InvPieces, Utf8TextsEndBeforeALeadByte) {
    using TList = std::vector<std::string>;
    struct TCase {
        std::string text;
        std::size_t limit;
        TList pieces;
    } cases[] = {
        {"", 4, {}},
        {"abcdef", 4, {"abcd", "ef"}},
        // Cyrillic A (two bytes), hyo (three), an emoji (four).
        {"a\xD0\x90\xD0\x90", 2, {"a", "\xD0\x90", "\xD0\x90"}},
        {"ab\xE8\xA1\xA8", 4, {"ab", "\xE8\xA1\xA8"}},
        {"\xE8\xA1\xA8\xE8\xA1\xA8", 5, {"\xE8\xA1\xA8", "\xE8\xA1\xA8"}},
        {"a\xF0\x9F\x98\x80z", 4, {"a", "\xF0\x9F\x98\x80", "z"}},
        {"a\xF0\x9F\x98\x80z", 5, {"a\xF0\x9F\x98\x80", "z"}},
        // A limit below the character's length cuts it.
        {"\xE8\xA1\xA8", 2, {"\xE8\xA1", "\xA8"}},
    };
    for (const TCase& c : cases) EXPECT_EQ(Pieces(c.text, c.limit, Utf8PieceLength), c.pieces) << c.text;
}

TEST(InvPieces, Utf16TextsKeepSurrogatePairs) {
    using TList = std::vector<std::wstring>;
    const wchar_t high = static_cast<wchar_t>(0xD83D), low = static_cast<wchar_t>(0xDE00);
    const std::wstring pair{high, low};
    struct TCase {
        std::wstring text;
        std::size_t limit;
        TList pieces;
    } cases[] = {
        {L"", 4, {}},
        {L"abcdef", 4, {L"abcd", L"ef"}},
        {L"abc" + pair + L"d", 4, {L"abc", pair + L"d"}},
        {L"ab" + pair + L"cd", 4, {L"ab" + pair, L"cd"}},
        {pair + pair, 3, {pair, pair}},
        {pair, 1, {std::wstring(1, high), std::wstring(1, low)}},
        // A lone low surrogate is no pair's end to keep.
        {std::wstring(1, low) + L"abc", 1, {std::wstring(1, low), L"a", L"b", L"c"}},
    };
    for (const TCase& c : cases) EXPECT_EQ(Pieces(c.text, c.limit, Utf16PieceLength), c.pieces);
    // 8 KB of UTF-16 is 4096 units; a pair across that boundary moves whole.
    std::wstring text(MaxWriteBytes / 2 - 1, L'x');
    text += pair;
    const auto pieces = Pieces(text, MaxWriteBytes / 2, Utf16PieceLength);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[1], pair);
}
