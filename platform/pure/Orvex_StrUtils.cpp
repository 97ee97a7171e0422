#include "platform/pure/Orvex_StrUtils.h"

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
