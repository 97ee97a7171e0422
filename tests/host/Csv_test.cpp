#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/pure/Orvex_Csv.h"
#include "tests/CsvReader.h"

using namespace orvex;
using namespace orvex::test;

TEST(Csv, FieldsNeedingQuotesReadBackUnchanged) {
    const std::vector<std::string> fields{
        "plain",  "",    "a,b",     "say \"hi\"",  "\"", "line\r\nbreak", "lf\nonly", "cr\ronly", " lead",
        "trail ", "x\t", "in side", "caf\xC3\xA9", ",",  "\"\"",
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

// A cell a spreadsheet would take for a formula is written as text: an
// apostrophe before it, quoted as any other field would be.
TEST(Csv, CellsThatStartAFormulaGetAnApostrophe) {
    const struct {
        std::string_view field;
        std::string_view written;
        bool escaped;
    } cases[] = {
        {"=1+2", "'=1+2", true},
        {"+cmd|' /C calc'!A0", "'+cmd|' /C calc'!A0", true},
        {"-2", "'-2", true},
        {"@SUM(A1)", "'@SUM(A1)", true},
        {"=HYPERLINK(\"x\",\"y\")", "\"'=HYPERLINK(\"\"x\"\",\"\"y\"\")\"", true},
        {"=a,b", "\"'=a,b\"", true},
        {"\tx", "'\tx", true},
        {"\rx", "\"'\rx\"", true},
        {"a=b", "a=b", false},
        {"'", "'", false},
        {" =x", "\" =x\"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CsvField(c.field), c.written) << c.field;
        const auto records = ReadCsv(CsvRow({std::string(c.field)}));
        ASSERT_EQ(records.size(), 1u) << c.field;
        EXPECT_EQ(records[0], std::vector<std::string>{(c.escaped ? "'" : "") + std::string(c.field)}) << c.field;
    }
}
