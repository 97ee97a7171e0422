#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "storage/pure/Orvex_PropSetCheck.h"
#include "tests/FuzzSeeds.h"

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
Bytes U4(std::uint32_t v) {
    Bytes b;
    Put32(b, 19);
    Put32(b, v);
    return b;
}
Bytes FileTime(std::uint64_t v) {
    Bytes b;
    Put32(b, 64);
    Put32(b, static_cast<std::uint32_t>(v));
    Put32(b, static_cast<std::uint32_t>(v >> 32));
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
        for (char c : name)
            unicode ? Put16(b, static_cast<std::uint16_t>(c)) : b.push_back(static_cast<std::uint8_t>(c));
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

// Sets that pass are kept as seeds of the fuzz target.
bool Sound(const Bytes& b) {
    const bool sound = IsSoundPropertySetStream(b, Ansi1252Only);
    if (sound) orvex::test::KeepFuzzSeed("prop_set_check", b.data(), b.size());
    return sound;
}

// A header set as this program writes it: texts by id, the time of the
// save, integers by name; with the locale and behaviour properties that the
// platform may add.
Bytes HeaderSet() {
    return Stream({Section({
        {0, Dictionary({{20, "OS.LoggedUser"}, {21, "VPC"}}, false)},
        {1, I2(1252)},
        {2, WideText(u"Orvex Inventory Storage File")},
        {12, FileTime(0x01D0000012345678ull)},
        {20, WideText(u"someone")},
        {21, I8(0)},
        {0x80000000u, U4(0x409)},
        {0x80000003u, U4(1)},
    })});
}

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
    EXPECT_TRUE(Sound(HeaderSet()));
    EXPECT_TRUE(Sound(Bytes{})) << "a set without properties has an empty stream";
    EXPECT_TRUE(Sound(Stream({Section({{1, I2(1252)}})}))) << "a set with the code page alone";
}

TEST(PropertySetStreamCheck, EveryShortenedStreamIsRefused) {
    for (const Bytes& full : {ItemSet(), HeaderSet()})
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
    for (std::uint32_t sections : {0u, 2u, 3u, 0xFFFFFFFFu}) {
        b = ItemSet();
        Set32(b, 24, sections);
        EXPECT_FALSE(Sound(b)) << sections << " sections";
    }
    EXPECT_FALSE(Sound(Stream({Section({{1, I2(1252)}}), Section({{1, I2(1252)}, {2, I8(1)}})})))
        << "a second section, sound as it may be";
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

TEST(PropertySetStreamCheck, TextsMustCountAndEndWithTheirZeroAndFit) {
    const auto one = [](Bytes value) { return Sound(Stream({Section({{1, I2(1252)}, {2, std::move(value)}})})); };
    EXPECT_TRUE(one(WideText(u"abc")));
    EXPECT_TRUE(one(WideText(u""))) << "an empty text is its zero";
    EXPECT_FALSE(one(WideText(u"abc", 0))) << "UTF-16 text of count 0";
    EXPECT_FALSE(one(WideText(u"abc", 100))) << "UTF-16 text beyond the section";
    EXPECT_FALSE(one(WideText(u"abc", 0x80000001u))) << "count whose byte size wraps 32 bits";
    EXPECT_FALSE(one(WideText(u"abc", 3))) << "a count that leaves out the zero";
    EXPECT_FALSE(one(WideText(u"abcd", 4))) << "and one that lands on padding";
}

TEST(PropertySetStreamCheck, DictionaryEntriesMustBeTerminatedAndFit) {
    const auto withDictionary = [](Bytes dict) {
        return Sound(Stream({Section({{0, std::move(dict)}, {1, I2(1252)}, {2, I8(0)}})}));
    };
    EXPECT_TRUE(withDictionary(Dictionary({{2, "OS.LoggedUser"}, {3, "VPC"}}, false)));

    Bytes zeroLength = Dictionary({{2, "PID"}}, false);
    Set32(zeroLength, 8, 0);
    EXPECT_FALSE(withDictionary(zeroLength)) << "entry of length 0";
    Bytes unterminated = Dictionary({{2, "PID"}}, false);
    unterminated[12 + 3] = 'X';
    EXPECT_FALSE(withDictionary(unterminated)) << "name without its zero";
    Bytes tooLong = Dictionary({{2, "PID"}}, false);
    Set32(tooLong, 8, 200);
    EXPECT_FALSE(withDictionary(tooLong)) << "name beyond the section";
    Bytes manyEntries = Dictionary({{2, "PID"}}, false);
    Set32(manyEntries, 0, 0x7FFFFFFF);
    EXPECT_FALSE(withDictionary(manyEntries)) << "entry count beyond the section";
    EXPECT_FALSE(Sound(
        Stream({Section({{0, Dictionary({{2, "A"}}, false)}, {0, Dictionary({{3, "B"}}, false)}, {1, I2(1252)}})})))
        << "two dictionaries";
}

TEST(PropertySetStreamCheck, CodePageIsPresentOnceAndAnUsable8BitOne) {
    const auto withCodePage = [](Bytes cp) {
        return Sound(
            Stream({Section({{0, Dictionary({{2, "Name"}}, false)}, {1, std::move(cp)}, {2, WideText(u"x")}})}));
    };
    EXPECT_TRUE(withCodePage(I2(1252)));
    EXPECT_FALSE(withCodePage(I2(12345))) << "a code page the system cannot convert";
    EXPECT_FALSE(withCodePage(I2(1200))) << "UTF-16: the writer makes 8-bit sets only";
    EXPECT_FALSE(withCodePage(U4(1252))) << "a code page of another type";
    EXPECT_FALSE(withCodePage(I8(1252))) << "a code page of another type";
    EXPECT_FALSE(IsSoundPropertySetStream(ItemSet(), nullptr)) << "no check given: no code page usable";
    EXPECT_FALSE(Sound(Stream({Section({{0, Dictionary({{2, "Name"}}, false)}, {2, WideText(u"x")}})})))
        << "no code page";
    EXPECT_FALSE(Sound(Stream({Section({{1, I2(1252)}, {1, I2(1252)}, {2, I8(1)}})}))) << "two code pages";
}

TEST(PropertySetStreamCheck, OnlyTheWritersValueTypesPass) {
    const auto one = [](std::uint32_t id, Bytes value) {
        return Sound(Stream({Section({{1, I2(1252)}, {id, std::move(value)}})}));
    };
    EXPECT_TRUE(one(2, I8(-5)));
    EXPECT_TRUE(one(0x7FFFFFFF, I8(-5)));
    EXPECT_TRUE(one(12, FileTime(1)));
    EXPECT_TRUE(one(3, WideText(u"HOST")));
    EXPECT_TRUE(one(0x80000000u, U4(0x409))) << "the locale";
    EXPECT_FALSE(one(12, Typed(64, Bytes(4, 0)))) << "file time cut short";
    EXPECT_FALSE(one(2, Typed(20, Bytes(7, 0)))) << "64-bit integer cut short";
    EXPECT_FALSE(one(2, U4(7))) << "32-bit unsigned integers only as locale and behaviour";
    EXPECT_FALSE(one(0x80000000u, I8(1))) << "a locale of another type";
    for (std::uint32_t id : {0x80000001u, 0x80000002u, 0x80000004u, 0xFFFFFFFFu})
        EXPECT_FALSE(one(id, I8(1))) << "reserved id " << std::hex << id;

    // Every other scalar type, with room for whatever it might hold.
    Bytes room;
    Put32(room, 4);
    room.resize(64, 0);
    for (std::uint32_t vt :
         {0u,  1u,  2u,  3u,  4u,  5u,  6u,  7u,  8u,  9u,  10u, 11u, 12u, 13u, 14u, 16u, 17u, 18u, 19u,
          21u, 22u, 23u, 24u, 25u, 26u, 29u, 30u, 36u, 65u, 66u, 67u, 68u, 69u, 70u, 71u, 72u, 73u, 0xFFFFu})
        EXPECT_FALSE(one(2, Typed(vt, room))) << "type " << vt;
    EXPECT_FALSE(one(2, AnsiText("abc"))) << "8-bit text";
    // The writer's own types with flags or an upper half.
    for (std::uint32_t flags : {0x1000u, 0x2000u, 0x4000u, 0x8000u, 0x00010000u, 0x80000000u})
        for (std::uint32_t vt : {20u, 31u, 64u})
            EXPECT_FALSE(one(2, Typed(vt | flags, room))) << std::hex << (vt | flags);
}

TEST(PropertySetStreamCheck, VectorsOfEveryElementTypeAreRefusedEvenWhenTheyFit) {
    // Vectors whose elements lie wholly inside the section: the platform's
    // parser of Wine corrupts its heap on these.
    struct TElement {
        std::uint16_t vt;
        std::size_t size;
    };
    const TElement fixed[] = {{16, 1}, {17, 1}, {2, 2}, {18, 2}, {11, 2}, {3, 4}, {19, 4}, {4, 4},  {10, 4},
                              {22, 4}, {23, 4}, {5, 8}, {20, 8}, {21, 8}, {6, 8}, {7, 8},  {64, 8}, {72, 16}};
    for (const TElement& e : fixed)
        for (std::uint32_t count : {0u, 1u, 3u}) {
            Bytes payload;
            Put32(payload, count);
            payload.resize(4 + count * e.size, 0x41);
            Pad4(payload);
            const Bytes value = Typed(0x1000u | e.vt, payload);
            EXPECT_FALSE(Sound(Stream({Section({{1, I2(1252)}, {2, value}})})))
                << "item, vector of " << e.vt << " x" << count;
            EXPECT_FALSE(Sound(Stream({Section(
                {{0, Dictionary({{2, "OS.LoggedUser"}}, false)}, {1, I2(1252)}, {3, WideText(u"HOST")}, {4, value}})})))
                << "header, vector of " << e.vt << " x" << count;
        }
    // Vectors of texts and of variants holding the writer's own types.
    Bytes texts;
    Put32(texts, 1);
    const Bytes text = WideText(u"abc");
    texts.insert(texts.end(), text.begin() + 4, text.end());
    EXPECT_FALSE(Sound(Stream({Section({{1, I2(1252)}, {2, Typed(0x101F, texts)}})})));
    Bytes variants;
    Put32(variants, 1);
    const Bytes inner = I8(1);
    variants.insert(variants.end(), inner.begin(), inner.end());
    EXPECT_FALSE(Sound(Stream({Section({{1, I2(1252)}, {2, Typed(0x100C, variants)}})})));
    // Blobs, clipboard data and 8-bit text vectors that fit.
    Bytes blob;
    Put32(blob, 3);
    blob.insert(blob.end(), {1, 2, 3, 0});
    EXPECT_FALSE(Sound(Stream({Section({{1, I2(1252)}, {2, Typed(65, blob)}})}))) << "blob";
    Bytes clip;
    Put32(clip, 16);
    Put32(clip, 0xFFFFFFFF);
    Put32(clip, 3);
    Put32(clip, 0);
    EXPECT_FALSE(Sound(Stream({Section({{1, I2(1252)}, {2, Typed(71, clip)}})}))) << "clipboard data";
}

TEST(PropertySetStreamCheck, StreamsBeyondTheSimpleSetLimitAreRefused) {
    Bytes big = Stream({Section({{1, I2(1252)}, {2, WideText(std::u16string(MaxPropertySetStreamSize / 2, u'x'))}})});
    EXPECT_GT(big.size(), MaxPropertySetStreamSize);
    EXPECT_FALSE(Sound(big));
    Bytes fits = Stream(
        {Section({{1, I2(1252)}, {2, WideText(std::u16string(MaxPropertySetStreamSize / 2 - 64, u'x'))}})});
    EXPECT_LE(fits.size(), MaxPropertySetStreamSize);
    EXPECT_TRUE(Sound(fits));
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
