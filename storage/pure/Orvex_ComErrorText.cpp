#include "storage/pure/Orvex_ComErrorText.h"

#include <cstdio>

namespace orvex {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// The position after the insert sequence whose number starts at i: one or
// two digits and an optional "!format!".
std::size_t SkipInsert(std::string_view s, std::size_t i) {
    ++i;
    if (i < s.size() && IsDigit(s[i])) ++i;
    if (i < s.size() && s[i] == '!') {
        const std::size_t close = s.find('!', i + 1);
        if (close != std::string_view::npos) i = close + 1;
    }
    return i;
}

bool EndsAWord(char c) { return c == ' ' || c == '.' || c == ',' || c == ':' || c == ';' || c == '\r' || c == '\n'; }

}  // namespace

std::string MessageWithoutInserts(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    bool removedAtStart = false;
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c != '%' || i + 1 == s.size()) {
            out.push_back(c);
            ++i;
            continue;
        }
        const char next = s[i + 1];
        if (next >= '1' && next <= '9') {
            i = SkipInsert(s, i + 1);
            const bool atStart = out.find_first_not_of(" \t\r\n") == std::string::npos;
            removedAtStart = removedAtStart || atStart;
            // Quotes around the insert go with it; so does the blank before
            // it when a blank or punctuation follows.
            if (!out.empty() && (out.back() == '\'' || out.back() == '"') && i < s.size() && s[i] == out.back()) {
                out.pop_back();
                ++i;
            }
            while (!out.empty() && out.back() == ' ' && (i == s.size() || EndsAWord(s[i]))) out.pop_back();
            if (atStart)
                while (i < s.size() && s[i] == ' ') ++i;
            continue;
        }
        if (next == '0') break;
        switch (next) {
        case 'n':
            out += "\r\n";
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case '%':
        case '.':
        case '!':
        case ' ':
            out.push_back(next);
            break;
        default:
            out.push_back('%');
            out.push_back(next);
            break;
        }
        i += 2;
    }
    std::size_t first = 0;
    while (first < out.size() && IsBlank(out[first])) ++first;
    out.erase(0, first);
    while (!out.empty() && IsBlank(out.back())) out.pop_back();
    // A message that began with an insert begins with its next word now.
    if (removedAtStart && !out.empty() && out[0] >= 'a' && out[0] <= 'z')
        out[0] = static_cast<char>(out[0] - 'a' + 'A');
    return out;
}

std::string ComErrorText(std::string_view systemMessage, std::uint32_t code) {
    const std::string message = MessageWithoutInserts(systemMessage);
    char buf[48];
    if (message.empty()) {
        std::snprintf(buf, sizeof buf, "COM error 0x%08X", static_cast<unsigned>(code));
        return buf;
    }
    std::snprintf(buf, sizeof buf, " (0x%08X)", static_cast<unsigned>(code));
    return message + buf;
}

}  // namespace orvex
