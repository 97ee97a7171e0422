#include <gtest/gtest.h>

#include <string>

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

namespace {
const TNumberFormat German{".", ","};
const TNumberFormat English{",", "."};
}  // namespace

TEST(TextToFloat, InvariantNotationAndTextAfterASpace) {
    long double v = -1;
    EXPECT_TRUE(TextToFloat("12 KB", English, v));
    EXPECT_EQ(v, 12.0L);
    EXPECT_TRUE(TextToFloat("-3.25e2", German, v));
    EXPECT_EQ(v, -325.0L);
    EXPECT_TRUE(TextToFloat("+.5", English, v));
    EXPECT_EQ(v, 0.5L);
    EXPECT_TRUE(TextToFloat("7.", English, v));
    EXPECT_EQ(v, 7.0L);
    // The invariant reading comes first, also when the locale reads "." as
    // its thousands separator.
    EXPECT_TRUE(TextToFloat("1.234", German, v));
    EXPECT_EQ(v, 1.234L);
}

TEST(TextToFloat, LocaleSeparatorsAfterTheInvariantReadingFails) {
    long double v = 0;
    EXPECT_TRUE(TextToFloat("1.234,5", German, v));
    EXPECT_EQ(v, 1234.5L);
    EXPECT_TRUE(TextToFloat("1,234,567.25 bytes", English, v));
    EXPECT_EQ(v, 1234567.25L);
    EXPECT_TRUE(TextToFloat("12,5 %", German, v));
    EXPECT_EQ(v, 12.5L);
    // Separators of more than one character, and a locale without thousands separator.
    EXPECT_TRUE(TextToFloat("1''000''000", TNumberFormat{"''", "."}, v));
    EXPECT_EQ(v, 1e6L);
    EXPECT_TRUE(TextToFloat("3,5", TNumberFormat{"", ","}, v));
    EXPECT_EQ(v, 3.5L);
}

TEST(TextToFloat, FailureLeavesTheValue) {
    long double v = 42;
    for (const char* text :
         {"", " 12", "KB", "12abc", "0x10", "inf", "nan", "1e", "e5", "-", ".", "1e99999", "1,2,3"}) {
        EXPECT_FALSE(TextToFloat(text, German, v)) << text;
        EXPECT_EQ(v, 42.0L) << text;
    }
}

namespace {
struct TRecordedConversion {
    int Calls = 0;
    std::string Text;
    TDateTimeKind Kind = TDateTimeKind::Date;
};

TDateTimeConverter Recorder(TRecordedConversion& rec, bool succeed, double result = 0) {
    return [&rec, succeed, result](std::string_view s, TDateTimeKind kind, double& value) {
        ++rec.Calls;
        rec.Text = std::string(s);
        rec.Kind = kind;
        if (succeed) value = result;
        return succeed;
    };
}

const TDateTimeFormat Slashes{"/", ":"};
}  // namespace

TEST(TextToDateTime, ChoosesDateTimeOrBoth) {
    struct TCase {
        const char* Text;
        TDateTimeKind Kind;
    };
    const TCase cases[] = {
        {"12:30", TDateTimeKind::Time},
        {"1/2/2003", TDateTimeKind::Date},
        {"1/", TDateTimeKind::Date},  // a separator at the end counts as a date
        {"1/2/2003 12:30:15", TDateTimeKind::DateAndTime},
        {"1/2 12:30", TDateTimeKind::Time},
    };
    for (const TCase& c : cases) {
        TRecordedConversion rec;
        double v = -1;
        EXPECT_TRUE(TextToDateTime(c.Text, Slashes, Recorder(rec, true, 37623.5), v)) << c.Text;
        EXPECT_EQ(rec.Calls, 1) << c.Text;
        EXPECT_EQ(rec.Text, c.Text);
        EXPECT_EQ(rec.Kind, c.Kind) << c.Text;
        EXPECT_EQ(v, 37623.5) << c.Text;
    }
}

TEST(TextToDateTime, NeitherDateNorTimeLeavesTheValue) {
    for (const char* text : {"1/2", "", "12", "abc", "12.30.2003"}) {
        TRecordedConversion rec;
        double v = 7;
        EXPECT_FALSE(TextToDateTime(text, Slashes, Recorder(rec, true, 1), v)) << text;
        EXPECT_EQ(v, 7) << text;
        EXPECT_EQ(rec.Calls, 0) << text;
    }
    // Empty separators never match.
    TRecordedConversion rec;
    double v = 7;
    EXPECT_FALSE(TextToDateTime("1/2/3 4:5", TDateTimeFormat{}, Recorder(rec, true, 1), v));
    EXPECT_EQ(v, 7);
}

TEST(TextToDateTime, RejectedConversionResetsTheValue) {
    TRecordedConversion rec;
    double v = 7;
    EXPECT_FALSE(TextToDateTime("31.12.", TDateTimeFormat{".", ":"}, Recorder(rec, false), v));
    EXPECT_EQ(rec.Kind, TDateTimeKind::Date);
    EXPECT_EQ(v, 0);
    v = 7;
    EXPECT_FALSE(TextToDateTime("12:30", Slashes, TDateTimeConverter{}, v));
    EXPECT_EQ(v, 0);
}

TEST(TextToDateTime, KindOfMultiCharacterSeparators) {
    TDateTimeKind kind{};
    const TDateTimeFormat spaced{". ", " h "};
    EXPECT_TRUE(DateTimeKindOf("1. 2. 2003", spaced, kind));
    EXPECT_EQ(kind, TDateTimeKind::Date);
    EXPECT_TRUE(DateTimeKindOf("1. 2. 2003 12 h 30", spaced, kind));
    EXPECT_EQ(kind, TDateTimeKind::DateAndTime);
    EXPECT_FALSE(DateTimeKindOf("1. 2", spaced, kind));
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
