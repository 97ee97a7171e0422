#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <cmath>
#include <string>

#include "platform/Orvex_Locale.h"

using namespace orvex;

namespace {

std::string LocaleText(LCTYPE type) {
    char buf[16] = {};
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf) > 0 ? buf : "";
}

double VariantTimeOf(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME st{};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    double v = 0;
    EXPECT_TRUE(SystemTimeToVariantTime(&st, &v));
    return v;
}

std::string ShortDate(WORD year, WORD month, WORD day) {
    SYSTEMTIME st{};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    char buf[64] = {};
    EXPECT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, sizeof buf), 0);
    return buf;
}

std::string LongTime(WORD hour, WORD minute, WORD second) {
    SYSTEMTIME st{};
    st.wYear = 2003;
    st.wMonth = 1;
    st.wDay = 2;
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    char buf[64] = {};
    EXPECT_GT(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buf, sizeof buf), 0);
    return buf;
}

}  // namespace

TEST(AllModesLocale, SeparatorsAreTheUsersOwn) {
    const TNumberFormat number = UserNumberFormat();
    EXPECT_EQ(number.ThousandSeparator, LocaleText(LOCALE_STHOUSAND));
    EXPECT_EQ(number.DecimalSeparator, LocaleText(LOCALE_SDECIMAL));
    EXPECT_FALSE(number.DecimalSeparator.empty());
    const TDateTimeFormat dateTime = UserDateTimeFormat();
    EXPECT_EQ(dateTime.DateSeparator, LocaleText(LOCALE_SDATE));
    EXPECT_EQ(dateTime.TimeSeparator, LocaleText(LOCALE_STIME));
    EXPECT_FALSE(dateTime.DateSeparator.empty());
    EXPECT_FALSE(dateTime.TimeSeparator.empty());
}

TEST(AllModesLocale, NumberInTheUsersNotation) {
    std::string thousand = LocaleText(LOCALE_STHOUSAND);
    if (thousand.find(' ') != std::string::npos) thousand.clear();  // a blank would end the number
    const std::string text = "1" + thousand + "234" + LocaleText(LOCALE_SDECIMAL) + "5 KB";
    long double v = 0;
    EXPECT_TRUE(TextToFloat(text, v)) << text;
    EXPECT_EQ(v, 1234.5L) << text;
    EXPECT_TRUE(TextToFloat("2.5e3", v));
    EXPECT_EQ(v, 2500.0L);
    v = 9;
    EXPECT_FALSE(TextToFloat("n/a", v));
    EXPECT_EQ(v, 9.0L);
}

TEST(AllModesLocale, DateAndTimeInTheUsersNotation) {
    const std::string date = ShortDate(2003, 1, 2);
    const std::string time = LongTime(12, 30, 15);
    const double expectedDate = VariantTimeOf(2003, 1, 2, 0, 0, 0);
    const double expectedTime = VariantTimeOf(1899, 12, 30, 12, 30, 15);
    double v = 0;
    ASSERT_TRUE(TextToDateTime(date, v)) << date;
    EXPECT_DOUBLE_EQ(v, expectedDate) << date;
    ASSERT_TRUE(TextToDateTime(time, v)) << time;
    EXPECT_NEAR(v, expectedTime, 1e-6) << time;
    const std::string both = date + " " + time;
    ASSERT_TRUE(TextToDateTime(both, v)) << both;
    EXPECT_NEAR(v, expectedDate + expectedTime, 1e-6) << both;

    const std::string shortTime = "12" + LocaleText(LOCALE_STIME) + "30";
    ASSERT_TRUE(TextToDateTime(shortTime, v)) << shortTime;
    EXPECT_NEAR(v, 12.5 / 24, 1e-6) << shortTime;
}

TEST(AllModesLocale, TextsThatAreNoDateOrTime) {
    double v = 3;
    const std::string oneSeparator = "1" + LocaleText(LOCALE_SDATE) + "2";
    EXPECT_FALSE(TextToDateTime(oneSeparator, v)) << oneSeparator;
    EXPECT_EQ(v, 3);
    // Looks like a time but the locale cannot read it: the value is reset.
    const std::string bad = "xx" + LocaleText(LOCALE_STIME) + "yy";
    EXPECT_FALSE(TextToDateTime(bad, v)) << bad;
    EXPECT_EQ(v, 0);
}

TEST(AllModesLocale, BackslashRuleFollowsTheAnsiCodePage) {
    int leadBytes = 0;
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(IsAnsiLeadByte(static_cast<unsigned char>(c)), IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE);
        leadBytes += IsAnsiLeadByte(static_cast<unsigned char>(c)) ? 1 : 0;
    }
    EXPECT_EQ(AnsiAddTrailingBackslash("C:\\Data"), "C:\\Data\\");
    EXPECT_EQ(AnsiAddTrailingBackslash("C:\\Data\\"), "C:\\Data\\");
    EXPECT_TRUE(AnsiIsBackslashAt("C:\\", 3));
    if (leadBytes == 0) {
        // A single-byte code page: every "\" is a character of its own.
        EXPECT_TRUE(AnsiIsBackslashAt("C:\\\x95\\", 5));
    } else {
        unsigned char lead = 0;
        while (!IsAnsiLeadByte(lead)) ++lead;
        const std::string dbcs = std::string("C:\\") + static_cast<char>(lead) + "\\";
        EXPECT_FALSE(AnsiIsBackslashAt(dbcs, 5));
        EXPECT_EQ(AnsiAddTrailingBackslash(dbcs), dbcs + "\\");
    }
}

namespace {
// Sets one of the user's locale values for the life of the object.
class TLocaleValueOverride {
public:
    TLocaleValueOverride(LCTYPE type, const char* value) : type_(type), old_(LocaleText(type)) {
        set_ = SetLocaleInfoA(LOCALE_USER_DEFAULT, type, value) != FALSE;
    }
    ~TLocaleValueOverride() {
        if (set_) SetLocaleInfoA(LOCALE_USER_DEFAULT, type_, old_.c_str());
    }
    bool set() const { return set_; }

private:
    LCTYPE type_;
    std::string old_;
    bool set_ = false;
};
}  // namespace

TEST(Locale, ChangedSeparatorsAreReadOnEveryCall) {
    long double v = 0;
    {
        TLocaleValueOverride thousand(LOCALE_STHOUSAND, ".");
        TLocaleValueOverride decimal(LOCALE_SDECIMAL, ",");
        ASSERT_TRUE(thousand.set() && decimal.set());
        EXPECT_EQ(UserNumberFormat().ThousandSeparator, ".");
        EXPECT_TRUE(TextToFloat("1.234,5", v));
        EXPECT_EQ(v, 1234.5L);
        EXPECT_TRUE(TextToFloat("1.234", v));  // the invariant reading comes first
        EXPECT_EQ(v, 1.234L);
    }
    EXPECT_NE(UserNumberFormat().DecimalSeparator, ",");
    {
        TLocaleValueOverride date(LOCALE_SDATE, "-");
        ASSERT_TRUE(date.set());
        double d = 5;
        EXPECT_FALSE(TextToDateTime("1/2", d));
        EXPECT_EQ(d, 5);
        EXPECT_FALSE(TextToDateTime("1-2", d));
        EXPECT_EQ(d, 5);
    }
}
