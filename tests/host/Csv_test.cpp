#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/pure/Orvex_Csv.h"
#include "tests/CsvReader.h"

using namespace orvex;
using namespace orvex::test;

TEST(Csv, FieldsNeedingQuotesReadBackUnchanged) {
    const std::vector<std::string> fields{
        "plain",  "",   "a,b",     "say \"hi\"",  "\"", "line\r\nbreak", "lf\nonly", "cr\ronly", " lead",
        "trail ", "\t", "in side", "caf\xC3\xA9", ",",  "\"\"",
    };
    const std::string row = CsvRow(fields);
    ASSERT_GE(row.size(), 2u);
    EXPECT_EQ(row.substr(row.size() - 2), "\r\n");
    const auto records = ReadCsv(row + CsvRow({"x", "y"}));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], fields);
    EXPECT_EQ(records[1], (std::vector<std::string>{"x", "y"}));
}

TEST(Csv, QuotesOnlyWhenNeeded) {
    EXPECT_EQ(CsvField("plain text"), "plain text");
    EXPECT_EQ(CsvField(""), "");
    EXPECT_EQ(CsvField("C:\\Program Files\\a.exe"), "C:\\Program Files\\a.exe");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("5\" disk"), "\"5\"\" disk\"");
    EXPECT_EQ(CsvField(" x"), "\" x\"");
    EXPECT_EQ(CsvField("x\t"), "\"x\t\"");
    EXPECT_EQ(CsvRow({}), "\r\n");
    EXPECT_EQ(CsvRow({"", ""}), ",\r\n");
    EXPECT_EQ(Utf8Bom, std::string_view("\xEF\xBB\xBF", 3));
}
