#include <gtest/gtest.h>

#include "platform/pure/Orvex_StrUtils.h"

using namespace orvex;

TEST(StripBlanks, RemovesBlanksControlsAndLineBreaks) {
    EXPECT_EQ(StripBlanks("  a b  "), "ab");
    EXPECT_EQ(StripBlanks("\t-x  -y\r\n-z\n"), "-x-y-z");
    EXPECT_EQ(StripBlanks("a\r\nb"), "ab");
    EXPECT_EQ(StripBlanks("a\rb"), "a\rb");
    EXPECT_EQ(StripBlanks(""), "");
    EXPECT_EQ(StripBlanks("   "), "");
}

namespace {
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
}  // namespace

TEST(TrailingBackslash, AddsOnlyWhenMissing) {
    EXPECT_EQ(AddTrailingBackslash("C:\\Data"), "C:\\Data\\");
    EXPECT_EQ(AddTrailingBackslash("C:\\Data\\"), "C:\\Data\\");
    EXPECT_EQ(AddTrailingBackslash(""), "\\");
    EXPECT_FALSE(IsBackslashAt("a\\", 0));
    EXPECT_FALSE(IsBackslashAt("a\\", 3));
    EXPECT_TRUE(IsBackslashAt("a\\", 2));
}

TEST(TrailingBackslash, TrailByteOfDoubleByteCharacterIsNoBackslash) {
    // 0x95 0x5C is one Shift-JIS character whose second byte is the "\" code.
    const std::string dbcs = "C:\\\x95\x5C";
    EXPECT_FALSE(IsBackslashAt(dbcs, 5, ShiftJisLead));
    EXPECT_TRUE(IsBackslashAt(dbcs, 5));
    EXPECT_EQ(AddTrailingBackslash(dbcs, ShiftJisLead), dbcs + "\\");
    EXPECT_TRUE(IsBackslashAt(dbcs, 3, ShiftJisLead));
}

#include "platform/pure/Orvex_ShortString.h"

TEST(ShortString, EveryAssignmentCutsAt255) {
    const std::string long300(300, 'x');
    TShortString s(long300);
    EXPECT_EQ(s.size(), 255u);
    s = std::string(256, 'y');
    EXPECT_EQ(s.str(), std::string(255, 'y'));
    s = "short";
    EXPECT_EQ(s, "short");
    s = static_cast<const char*>(nullptr);
    EXPECT_TRUE(s.empty());
}
