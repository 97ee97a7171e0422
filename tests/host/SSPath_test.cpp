#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/pure/Orvex_SSPath.h"

using namespace orvex;

namespace {
using Names = std::vector<std::string>;
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
}  // namespace

TEST(SplitStoragePath, SingleElementHasNoSubStorages) {
    const TStoragePath p = SplitStoragePath("ProcessList");
    EXPECT_EQ(p.SubStorages, Names{});
    EXPECT_EQ(p.ElementName, "ProcessList");
}

TEST(SplitStoragePath, LeadingBackslashAndBlanksAddressTheSameElement) {
    for (const char* path : {"\\ProcessList", "  ProcessList  ", " \\ProcessList\t", "\r\n\\ProcessList \r\n"}) {
        const TStoragePath p = SplitStoragePath(path);
        EXPECT_EQ(p.SubStorages, Names{}) << path;
        EXPECT_EQ(p.ElementName, "ProcessList") << path;
    }
}

TEST(SplitStoragePath, PiecesBeforeTheLastBackslashAreSubStoragesOutermostFirst) {
    const TStoragePath p = SplitStoragePath("ProcessList\\12\\Item");
    EXPECT_EQ(p.SubStorages, (Names{"ProcessList", "12"}));
    EXPECT_EQ(p.ElementName, "Item");
}

TEST(SplitStoragePath, BlankPathGivesNothing) {
    for (const char* path : {"", "   ", "\t\r\n", "\\", " \\ "}) {
        const TStoragePath p = SplitStoragePath(path);
        EXPECT_TRUE(p.SubStorages.empty()) << path;
        EXPECT_EQ(p.ElementName, "") << path;
    }
}

TEST(SplitStoragePath, EmptyPiecesAreKept) {
    // Only one leading backslash is dropped; the rest separate empty names.
    TStoragePath p = SplitStoragePath("\\\\a");
    EXPECT_EQ(p.SubStorages, Names{""});
    EXPECT_EQ(p.ElementName, "a");
    p = SplitStoragePath("a\\");
    EXPECT_EQ(p.SubStorages, Names{"a"});
    EXPECT_EQ(p.ElementName, "");
    p = SplitStoragePath("a\\\\b");
    EXPECT_EQ(p.SubStorages, (Names{"a", ""}));
    EXPECT_EQ(p.ElementName, "b");
}

TEST(SplitStoragePath, BlanksInsideNamesStay) {
    const TStoragePath p = SplitStoragePath(" my list \\ item 1 ");
    EXPECT_EQ(p.SubStorages, Names{"my list "});
    EXPECT_EQ(p.ElementName, " item 1");
}

TEST(SplitStoragePath, TrailByteBackslashOfDoubleByteCharacterDoesNotSeparate) {
    // 0x95 0x5C is one Shift-JIS character whose trail byte is a backslash.
    const std::string path = "\x95\\\\x";
    TStoragePath p = SplitStoragePath(path, ShiftJisLead);
    EXPECT_EQ(p.SubStorages, Names{"\x95\\"});
    EXPECT_EQ(p.ElementName, "x");
    // Without a code page the same bytes are two separators.
    p = SplitStoragePath(path);
    EXPECT_EQ(p.SubStorages, (Names{"\x95", ""}));
    EXPECT_EQ(p.ElementName, "x");
    // A lead byte at the very end is kept as it is.
    p = SplitStoragePath("a\\b\x95", ShiftJisLead);
    EXPECT_EQ(p.SubStorages, Names{"a"});
    EXPECT_EQ(p.ElementName, "b\x95");
}
