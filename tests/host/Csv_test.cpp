#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/pure/Orvex_Csv.h"

using namespace orvex;

namespace {

// An RFC 4180 reader written for the test: records end in CR LF, fields are
// separated by commas, a quoted field doubles its quotes. A malformed input
// fails the test.
std::vector<std::vector<std::string>> ReadCsv(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    std::size_t i = 0;
    bool atFieldStart = true;
    while (i < text.size()) {
        const char c = text[i];
        if (atFieldStart && c == '"') {
            ++i;
            for (;;) {
                if (i >= text.size()) {
                    ADD_FAILURE() << "unterminated quoted field";
                    return records;
                }
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            atFieldStart = false;
            if (i < text.size() && text[i] != ',' && text[i] != '\r') {
                ADD_FAILURE() << "text after a closing quote at " << i;
                return records;
            }
            continue;
        }
        if (c == '"') {
            ADD_FAILURE() << "quote inside an unquoted field at " << i;
            return records;
        }
        if (c == ',') {
            record.push_back(field);
            field.clear();
            atFieldStart = true;
            ++i;
        } else if (c == '\r') {
            if (i + 1 >= text.size() || text[i + 1] != '\n') {
                ADD_FAILURE() << "CR without LF at " << i;
                return records;
            }
            record.push_back(field);
            records.push_back(record);
            record.clear();
            field.clear();
            atFieldStart = true;
            i += 2;
        } else if (c == '\n') {
            ADD_FAILURE() << "bare LF at " << i;
            return records;
        } else {
            field += c;
            atFieldStart = false;
            ++i;
        }
    }
    if (!record.empty() || !field.empty()) ADD_FAILURE() << "last record not ended by CR LF";
    return records;
}

}  // namespace

TEST(Csv, FieldsNeedingQuotesReadBackUnchanged) {
    const std::vector<std::string> fields{
        "plain", "", "a,b", "say \"hi\"", "\"", "line\r\nbreak", "lf\nonly", "cr\ronly", " lead", "trail ",
        "\t", "in side", "caf\xC3\xA9", ",", "\"\"",
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
