// An RFC 4180 reader of the tests' own: records end in CR LF, fields are
// separated by commas, a quoted field doubles its quotes. A malformed input
// fails the running test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvex::test {

inline std::vector<std::vector<std::string>> ReadCsv(const std::string& text) {
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

}  // namespace orvex::test
