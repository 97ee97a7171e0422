#include "platform/pure/Orvex_StrUtils.h"

#include <clocale>
#include <cmath>
#include <cstdlib>

namespace orvex {

std::string StripBlanks(std::string_view s) {
    std::size_t first = 0, last = s.size();
    while (first < last && static_cast<unsigned char>(s[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(s[last - 1]) <= ' ') --last;
    std::string noSpaces;
    for (char c : s.substr(first, last - first))
        if (c != ' ') noSpaces += c;
    std::string out;
    for (std::size_t i = 0; i < noSpaces.size(); ++i) {
        if (noSpaces[i] == '\r' && i + 1 < noSpaces.size() && noSpaces[i + 1] == '\n') {
            ++i;
            continue;
        }
        out += noSpaces[i];
    }
    return out;
}

bool IsBackslashAt(std::string_view s, int index, TLeadBytePredicate isLeadByte) {
    if (index < 1 || static_cast<std::size_t>(index) > s.size()) return false;
    const std::size_t pos = static_cast<std::size_t>(index - 1);
    if (s[pos] != '\\') return false;
    if (!isLeadByte) return true;
    // Walk the characters from the start: the byte is a character of its own
    // only when no lead byte claims it as its trail.
    std::size_t i = 0;
    while (i < pos) i += isLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
    return i == pos;
}

std::string AddTrailingBackslash(std::string_view s, TLeadBytePredicate isLeadByte) {
    std::string out(s);
    if (!IsBackslashAt(s, static_cast<int>(s.size()), isLeadByte)) out += '\\';
    return out;
}

}  // namespace orvex

namespace orvex {

namespace {

// The whole text is a decimal real in the invariant notation:
// [sign] digits [. digits] [(e|E) [sign] digits], at least one mantissa digit.
bool IsInvariantReal(std::string_view s) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
        return i - start;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t mantissa = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (digits() == 0) return false;
    }
    return i == s.size();
}

bool ReadInvariantReal(std::string_view s, long double& value) {
    if (!IsInvariantReal(s)) return false;
    // strtold follows the C library's locale; give it the decimal point it expects.
    std::string text(s);
    const char* point = std::localeconv()->decimal_point;
    if (point && point[0] && std::string_view(point) != ".") {
        const std::size_t dot = text.find('.');
        if (dot != std::string::npos) text.replace(dot, 1, point);
    }
    char* end = nullptr;
    const long double v = std::strtold(text.c_str(), &end);
    if (end != text.c_str() + text.size() || std::isinf(v) || std::isnan(v)) return false;
    value = v;
    return true;
}

std::string ReplaceAll(std::string_view s, std::string_view what, std::string_view with) {
    if (what.empty()) return std::string(s);
    std::string out;
    std::size_t pos = 0;
    for (std::size_t hit; (hit = s.find(what, pos)) != std::string_view::npos; pos = hit + what.size()) {
        out.append(s.substr(pos, hit - pos));
        out.append(with);
    }
    out.append(s.substr(pos));
    return out;
}

}  // namespace

bool TextToFloat(std::string_view s, const TNumberFormat& format, long double& value) {
    const std::size_t space = s.find(' ');
    if (space != std::string_view::npos) s = s.substr(0, space);
    if (ReadInvariantReal(s, value)) return true;
    const std::string local = ReplaceAll(ReplaceAll(s, format.ThousandSeparator, ""), format.DecimalSeparator, ".");
    return ReadInvariantReal(local, value);
}

bool DateTimeKindOf(std::string_view s, const TDateTimeFormat& format, TDateTimeKind& kind) {
    bool isDate = false;
    const std::string_view dateSep = format.DateSeparator;
    if (!dateSep.empty()) {
        const std::size_t first = s.find(dateSep);
        if (first != std::string_view::npos) {
            const std::size_t after = first + dateSep.size();
            isDate = after == s.size() || s.find(dateSep, after) != std::string_view::npos;
        }
    }
    const bool isTime = !format.TimeSeparator.empty() && s.find(format.TimeSeparator) != std::string_view::npos;
    if (!isDate && !isTime) return false;
    kind = isDate && isTime ? TDateTimeKind::DateAndTime : isDate ? TDateTimeKind::Date : TDateTimeKind::Time;
    return true;
}

bool TextToDateTime(std::string_view s, const TDateTimeFormat& format, const TDateTimeConverter& convert,
                    double& value) {
    TDateTimeKind kind;
    if (!DateTimeKindOf(s, format, kind)) return false;
    double converted = 0;
    if (!convert || !convert(s, kind, converted)) {
        value = 0;
        return false;
    }
    value = converted;
    return true;
}

std::string TrimText(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

}  // namespace orvex
