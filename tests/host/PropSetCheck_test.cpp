#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "storage/pure/Orvex_PropSetCheck.h"

using namespace orvex;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::uint16_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Pad4(Bytes& b) {
    while (b.size() % 4) b.push_back(0);
}
void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Typed values as the platform serializes them.
Bytes I2(std::uint16_t v) {
    Bytes b;
    Put32(b, 2);
    Put16(b, v);
    Pad4(b);
    return b;
}
Bytes I8(std::int64_t v) {
    Bytes b;
    Put32(b, 20);
    Put32(b, static_cast<std::uint32_t>(v));
    Put32(b, static_cast<std::uint32_t>(static_cast<std::uint64_t>(v) >> 32));
    return b;
}
Bytes WideText(const std::u16string& s, std::optional<std::uint32_t> count = {}) {
    Bytes b;
    Put32(b, 31);
    Put32(b, count.value_or(static_cast<std::uint32_t>(s.size() + 1)));
    for (char16_t c : s) Put16(b, c);
    Put16(b, 0);
    Pad4(b);
    return b;
}
Bytes AnsiText(const std::string& s, std::optional<std::uint32_t> count = {}) {
    Bytes b;
    Put32(b, 30);
    Put32(b, count.value_or(static_cast<std::uint32_t>(s.size() + 1)));
    for (char c : s) b.push_back(static_cast<std::uint8_t>(c));
    b.push_back(0);
    Pad4(b);
    return b;
}
Bytes Typed(std::uint32_t type, Bytes payload) {
    Bytes b;
    Put32(b, type);
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}
// A name dictionary; UTF-16 names are padded to four bytes.
Bytes Dictionary(const std::vector<std::pair<std::uint32_t, std::string>>& names, bool unicode) {
    Bytes b;
    Put32(b, static_cast<std::uint32_t>(names.size()));
    for (const auto& [id, name] : names) {
        Put32(b, id);
        Put32(b, static_cast<std::uint32_t>(name.size() + 1));
        for (char c : name) unicode ? Put16(b, static_cast<std::uint16_t>(c)) : b.push_back(static_cast<std::uint8_t>(c));
        unicode ? Put16(b, 0) : b.push_back(0);
        if (unicode) Pad4(b);
    }
    Pad4(b);
    return b;
}

using Property = std::pair<std::uint32_t, Bytes>;

Bytes Section(const std::vector<Property>& props) {
    Bytes body;
    const std::uint32_t tableEnd = static_cast<std::uint32_t>(8 + 8 * props.size());
    Bytes table;
    for (const auto& [id, value] : props) {
        Put32(table, id);
        Put32(table, tableEnd + static_cast<std::uint32_t>(body.size()));
        body.insert(body.end(), value.begin(), value.end());
    }
    Bytes s;
    Put32(s, tableEnd + static_cast<std::uint32_t>(body.size()));
    Put32(s, static_cast<std::uint32_t>(props.size()));
    s.insert(s.end(), table.begin(), table.end());
    s.insert(s.end(), body.begin(), body.end());
    return s;
}

Bytes Stream(const std::vector<Bytes>& sections) {
    Bytes b;
    Put16(b, 0xFFFE);
    Put16(b, 0);
    Put32(b, 0x00020006);
    for (int i = 0; i < 16; ++i) b.push_back(0);
    Put32(b, static_cast<std::uint32_t>(sections.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(28 + 20 * sections.size());
    for (const Bytes& s : sections) {
        for (int i = 0; i < 16; ++i) b.push_back(static_cast<std::uint8_t>(i + 1));
        Put32(b, offset);
        offset += static_cast<std::uint32_t>(s.size());
    }
    for (const Bytes& s : sections) b.insert(b.end(), s.begin(), s.end());
    return b;
}

bool Ansi1252Only(std::uint32_t cp) { return cp == 1252; }

bool Sound(const Bytes& b) { return IsSoundPropertySetStream(b, Ansi1252Only); }

// An item set as this program writes it: ANSI code page, names in the
// dictionary, 64-bit integers and UTF-16 texts.
Bytes ItemSet() {
    return Stream({Section({
        {0, Dictionary({{2, "PID"}, {3, "Name"}, {4, "ImageName"}}, false)},
        {1, I2(1252)},
        {2, I8(-1)},
        {3, WideText(u"explorer.exe")},
        {4, WideText(u"C:\\Windows\\explorer.exe")},
    })});
}

}  // namespace

TEST(PropertySetStreamCheck, SetsAsWrittenAreSound) {
    EXPECT_TRUE(Sound(ItemSet()));
    EXPECT_TRUE(Sound(Bytes{})) << "a set without properties has an empty stream";
    // UTF-16 set: no code page property, UTF-16 dictionary names and 8-bit
    // texts stored as UTF-16.
    Bytes wideText = Typed(30, {});
    Put32(wideText, 6);
    for (std::uint16_t c : {u'a', u'b', u'\0'}) Put16(wideText, c);
    Pad4(wideText);
    EXPECT_TRUE(Sound(Stream({Section({{0, Dictionary({{2, "VPC"}, {3, "OS.CSD"}}, true)}, {2, I8(1)}, {3, wideText}})})));
    // Two sections, as a document summary set with user-defined properties.
    EXPECT_TRUE(Sound(Stream({Section({{1, I2(1252)}}), Section({{1, I2(1252)}, {2, AnsiText("x")}})})));
}

TEST(PropertySetStreamCheck, EveryShortenedStreamIsRefused) {
    const Bytes full = ItemSet();
    for (std::size_t n = 1; n < full.size(); ++n)
        EXPECT_FALSE(Sound(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n)))) << n;
}

TEST(PropertySetStreamCheck, HeaderFieldsAreChecked) {
    Bytes b = ItemSet();
    b[0] = 0xFF;
    b[1] = 0xFF;
    EXPECT_FALSE(Sound(b)) << "byte order";
    b = ItemSet();
    b[2] = 2;
    EXPECT_FALSE(Sound(b)) << "format";
    for (std::uint32_t sections : {0u, 3u, 0xFFFFFFFFu}) {
        b = ItemSet();
        Set32(b, 24, sections);
        EXPECT_FALSE(Sound(b)) << sections << " sections";
    }
    b = ItemSet();
    Set32(b, 44, static_cast<std::uint32_t>(b.size()));
    EXPECT_FALSE(Sound(b)) << "section offset at the end";
    b = ItemSet();
    Set32(b, 44, 0xFFFFFFF0u);
    EXPECT_FALSE(Sound(b)) << "section offset far beyond";
}

TEST(PropertySetStreamCheck, SectionSizeCountAndOffsetsMustFit) {
    constexpr std::size_t section = 48;
    Bytes b = ItemSet();
    Set32(b, section, static_cast<std::uint32_t>(b.size() - section + 4));
    EXPECT_FALSE(Sound(b)) << "section size beyond the stream";
    b = ItemSet();
    Set32(b, section, 4);
    EXPECT_FALSE(Sound(b)) << "section size below its header";
    b = ItemSet();
    Set32(b, section + 4, 0x10000000u);
    EXPECT_FALSE(Sound(b)) << "property count beyond the section";
    b = ItemSet();
    Set32(b, section + 8 + 8 * 2 + 4, 0xFFFFFF00u);
    EXPECT_FALSE(Sound(b)) << "property offset beyond the section";
    b = ItemSet();
    Set32(b, section + 8 + 4, 4);
    EXPECT_FALSE(Sound(b)) << "property offset inside the section header";
}

TEST(PropertySetStreamCheck, TextsMustCountTheirZeroAndFit) {
    const auto one = [](Bytes value) { return Sound(Stream({Section({{1, I2(1252)}, {2, std::move(value)}})})); };
    EXPECT_TRUE(one(WideText(u"abc")));
    EXPECT_FALSE(one(WideText(u"abc", 0))) << "UTF-16 text of count 0";
    EXPECT_FALSE(one(WideText(u"abc", 100))) << "UTF-16 text beyond the section";
    EXPECT_FALSE(one(WideText(u"abc", 0x80000001u))) << "count whose byte size wraps 32 bits";
    EXPECT_TRUE(one(AnsiText("abc")));
    EXPECT_FALSE(one(AnsiText("abc", 0))) << "8-bit text of count 0";
    EXPECT_FALSE(one(AnsiText("abc", 9))) << "8-bit text beyond the section";
    // In a UTF-16 set an 8-bit text is UTF-16: an odd byte count is broken.
    Bytes odd = Typed(30, {});
    Put32(odd, 3);
    Put32(odd, 0);
    EXPECT_FALSE(Sound(Stream({Section({{2, odd}})})));
}

TEST(PropertySetStreamCheck, DictionaryEntriesMustBeTerminatedAndFit) {
    const auto withDictionary = [](Bytes dict, bool ansi) {
        std::vector<Property> props{{0, std::move(dict)}, {2, I8(0)}};
        if (ansi) props.push_back({1, I2(1252)});
        return Sound(Stream({Section(props)}));
    };
    EXPECT_TRUE(withDictionary(Dictionary({{2, "OS.LoggedUser"}, {3, "VPC"}}, false), true));
    EXPECT_TRUE(withDictionary(Dictionary({{2, "OS.LoggedUser"}, {3, "VPC"}}, true), false));

    Bytes zeroLength = Dictionary({{2, "PID"}}, false);
    Set32(zeroLength, 8, 0);
    EXPECT_FALSE(withDictionary(zeroLength, true)) << "entry of length 0";
    Bytes unterminated = Dictionary({{2, "PID"}}, false);
    unterminated[12 + 3] = 'X';
    EXPECT_FALSE(withDictionary(unterminated, true)) << "name without its zero";
    Bytes tooLong = Dictionary({{2, "PID"}}, false);
    Set32(tooLong, 8, 200);
    EXPECT_FALSE(withDictionary(tooLong, true)) << "name beyond the section";
    Bytes manyEntries = Dictionary({{2, "PID"}}, false);
    Set32(manyEntries, 0, 0x7FFFFFFF);
    EXPECT_FALSE(withDictionary(manyEntries, true)) << "entry count beyond the section";
}

TEST(PropertySetStreamCheck, CodePageMustBeUsable) {
    const auto withCodePage = [](std::uint16_t cp) {
        return Sound(Stream({Section({{0, Dictionary({{2, "Name"}}, false)}, {1, I2(cp)}, {2, AnsiText("x")}})}));
    };
    EXPECT_TRUE(withCodePage(1252));
    EXPECT_FALSE(withCodePage(12345));
    EXPECT_FALSE(IsSoundPropertySetStream(ItemSet(), nullptr)) << "no check given: only UTF-16 sets";
}

TEST(PropertySetStreamCheck, OnlyKnownTypesWithClearTypeWords) {
    const auto one = [](Bytes value) { return Sound(Stream({Section({{1, I2(1252)}, {2, std::move(value)}})})); };
    EXPECT_TRUE(one(Typed(64, Bytes(8, 0)))) << "file time";
    EXPECT_TRUE(one(Typed(72, Bytes(16, 0)))) << "class id";
    EXPECT_TRUE(one(Typed(0, {}))) << "empty";
    EXPECT_FALSE(one(Typed(64, Bytes(4, 0)))) << "file time cut short";
    EXPECT_FALSE(one(Typed(8, Bytes(8, 1)))) << "BSTR";
    EXPECT_FALSE(one(Typed(66, Bytes(8, 1)))) << "stream";
    EXPECT_FALSE(one(Typed(0x2003, Bytes(8, 0)))) << "array";
    EXPECT_FALSE(one(Typed(0x4003, Bytes(8, 0)))) << "by reference";
    EXPECT_FALSE(one(Typed(0x00010014, Bytes(8, 0)))) << "type word with its upper half set";
}

TEST(PropertySetStreamCheck, BlobsClipboardDataAndVectors) {
    const auto one = [](Bytes value) { return Sound(Stream({Section({{1, I2(1252)}, {2, std::move(value)}})})); };
    Bytes blob;
    Put32(blob, 3);
    blob.insert(blob.end(), {1, 2, 3, 0});
    EXPECT_TRUE(one(Typed(65, blob)));
    Set32(blob, 0, 100);
    EXPECT_FALSE(one(Typed(65, blob))) << "blob beyond the section";

    Bytes clip;
    Put32(clip, 16);
    Put32(clip, 0xFFFFFFFF);
    Put32(clip, 3);
    Put32(clip, 0);
    EXPECT_TRUE(one(Typed(71, clip)));
    Set32(clip, 0, 9);
    EXPECT_FALSE(one(Typed(71, clip))) << "clipboard size below its fixed part";
    Set32(clip, 0, 64);
    EXPECT_FALSE(one(Typed(71, clip))) << "clipboard data beyond the section";

    // Heading pairs of a document summary: variants holding texts and
    // integers.
    Bytes pairs;
    Put32(pairs, 2);
    Bytes text = AnsiText("Title");
    pairs.insert(pairs.end(), text.begin(), text.end());
    Put32(pairs, 3);
    Put32(pairs, 1);
    EXPECT_TRUE(one(Typed(0x100C, pairs)));
    Set32(pairs, 0, 0x40000000);
    EXPECT_FALSE(one(Typed(0x100C, pairs))) << "vector count beyond the section";

    Bytes nested;
    Put32(nested, 1);
    Put32(nested, 0x1003);
    Put32(nested, 0);
    EXPECT_FALSE(one(Typed(0x100C, nested))) << "variant holding a vector";

    Bytes emptyTexts;
    Put32(emptyTexts, 1);
    Put32(emptyTexts, 0);
    EXPECT_FALSE(one(Typed(0x101E, emptyTexts))) << "vector of 8-bit texts with a text of count 0";
    Bytes ints;
    Put32(ints, 2);
    Put32(ints, 7);
    Put32(ints, 8);
    EXPECT_TRUE(one(Typed(0x1003, ints)));
    EXPECT_FALSE(one(Typed(0x1000, ints))) << "vector of empties";
}

TEST(PropertySetStreamCheck, StreamsBeyondTheSimpleSetLimitAreRefused) {
    Bytes big = Stream({Section({{1, I2(1252)}, {2, Typed(65, [] {
                                                          Bytes b;
                                                          Put32(b, MaxPropertySetStreamSize);
                                                          b.resize(4 + MaxPropertySetStreamSize);
                                                          return b;
                                                      }())}})});
    EXPECT_GT(big.size(), MaxPropertySetStreamSize);
    EXPECT_FALSE(Sound(big));
}

TEST(PropertySetStreamCheck, PaddingAfterTheLastValueMayBeMissing) {
    // Wine writes the section size with the last value's padding but not the
    // padding itself.
    Bytes b = Stream({Section({{1, I2(1252)}, {2, WideText(u"Orvexx")}})});
    ASSERT_EQ(b[b.size() - 1], 0);
    ASSERT_EQ(b[b.size() - 2], 0);
    b.resize(b.size() - 2);
    EXPECT_TRUE(Sound(b));
    b.resize(b.size() - 2);
    EXPECT_FALSE(Sound(b)) << "the text's zero is missing";
    Bytes far = Stream({Section({{1, I2(1252)}, {2, I8(5)}})});
    Set32(far, 48, static_cast<std::uint32_t>(far.size() - 48 + 4));
    EXPECT_FALSE(Sound(far)) << "four bytes beyond the stream";
}
