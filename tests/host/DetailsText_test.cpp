#include <gtest/gtest.h>

#include "app/pure/DetailsText.h"

#include "app/pure/DrvDetailsRows.h"

using namespace orvex;

TEST(DetailsText, HexadecimalIsUpperCaseWithoutLeadingZeros) {
    EXPECT_EQ(FormatHex(0), "0");
    EXPECT_EQ(FormatHex(0x4D2), "4D2");
    EXPECT_EQ(FormatHex0x(0xABCDEF), "0xABCDEF");
    EXPECT_EQ(FormatHex0x(0x7FF612340000ull), "0x7FF612340000");
}

TEST(DetailsText, PointersShowTwoDigitsPerByte) {
    EXPECT_EQ(FormatPointer(0x401000, 4), "00401000");
    EXPECT_EQ(FormatPointer(0x401000, 8), "0000000000401000");
    EXPECT_EQ(FormatPointer(0x7FFE12345678ull, 8), "00007FFE12345678");
    // A 32-bit pointer never shows more than eight digits.
    EXPECT_EQ(FormatPointer(0x1FFFFFFFFull, 4), "FFFFFFFF");
    EXPECT_EQ(FormatPointer(1).size(), 2 * sizeof(std::uintptr_t));
}

TEST(DetailsText, CountsAndSizesAreNeverNegative) {
    EXPECT_EQ(FormatByteCount(0xFFFFFFFFu), "4294967295 B");
    EXPECT_EQ(FormatByteCount(6ull << 30), "6442450944 B");
    EXPECT_EQ(FormatDec(-2), "-2");
}

TEST(DetailsText, IdentifiersByPlatformFamily) {
    EXPECT_EQ(FormatProcessId(1234, true), "1234");
    EXPECT_EQ(FormatProcessId(1234, false), "4D2");
    EXPECT_EQ(FormatPrefixedId(1234, true), "1234");
    EXPECT_EQ(FormatPrefixedId(1234, false), "0x4D2");
    // 9x identifiers are large numbers (obfuscated addresses).
    EXPECT_EQ(FormatProcessId(0xFFFD3A5Bu, false), "FFFD3A5B");
}

TEST(DetailsText, ProcessIdsReadBackInTheirBase) {
    std::uint32_t id = 7;
    EXPECT_TRUE(ParseProcessId("1234", true, id));
    EXPECT_EQ(id, 1234u);
    EXPECT_TRUE(ParseProcessId("4D2", false, id));
    EXPECT_EQ(id, 1234u);
    EXPECT_TRUE(ParseProcessId(FormatProcessId(0xFFFD3A5Bu, false), false, id));
    EXPECT_EQ(id, 0xFFFD3A5Bu);
    id = 7;
    EXPECT_FALSE(ParseProcessId("4D2", true, id));     // not decimal
    EXPECT_FALSE(ParseProcessId("0x4D2", false, id));  // the 9x list writes no prefix
    EXPECT_FALSE(ParseProcessId("", true, id));
    EXPECT_FALSE(ParseProcessId("-1", true, id));
    EXPECT_FALSE(ParseProcessId("4294967296", true, id));  // beyond 32 bits
    EXPECT_FALSE(ParseProcessId("12 ", true, id));
    EXPECT_EQ(id, 7u);  // untouched on failure
}

TEST(DetailsText, RectangleWithItsSize) {
    EXPECT_EQ(FormatRect({10, 20, 110, 70}), "(10,20)-(110,70), 100x50");
    EXPECT_EQ(FormatRect({-32000, -32000, -31840, -31972}), "(-32000,-32000)-(-31840,-31972), 160x28");
    // Extreme coordinates: the size does not overflow.
    EXPECT_EQ(FormatRect({INT32_MIN, 0, INT32_MAX, 0}), "(-2147483648,0)-(2147483647,0), 4294967295x0");
}

TEST(DriverDetailsRows, VersionRowsThenSeparator) {
    TVersionInfo v;
    v.Description = "Disk driver";
    v.FileVersion = "5.1.2600.0";
    v.ProductName = "Windows";
    v.CompanyName = "Vendor";
    const TPropertyRows rows = DriverGeneralRows(v);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], (TPropertyRow{TRowStyle::Heading, "Description", {"Disk driver"}}));
    EXPECT_EQ(rows[1], (TPropertyRow{TRowStyle::Plain, "Version", {"5.1.2600.0"}}));
    EXPECT_EQ(rows[2], (TPropertyRow{TRowStyle::Plain, "Product Name", {"Windows"}}));
    EXPECT_EQ(rows[3], (TPropertyRow{TRowStyle::Plain, "Company Name", {"Vendor"}}));
    EXPECT_EQ(rows[4], SeparatorRow());
    EXPECT_TRUE(rows[4].Caption.empty());
    EXPECT_TRUE(rows[4].Values.empty());
}

TEST(DriverDetailsRows, FileWithoutVersionDataGivesEmptyValues) {
    const TPropertyRows rows = DriverGeneralRows(TVersionInfo{});
    ASSERT_EQ(rows.size(), 5u);
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(rows[i].Values.size(), 1u);
        EXPECT_EQ(rows[i].Values[0], "");
    }
}
