#include "storage/pure/Orvex_SSPath.h"

namespace orvex {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

TStoragePath SplitStoragePath(std::string_view path, TLeadBytePredicate isLeadByte) {
    TStoragePath result;
    std::string_view s = TrimBlanks(path);
    if (!s.empty() && s.front() == '\\') s.remove_prefix(1);
    std::string piece;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (isLeadByte && isLeadByte(static_cast<unsigned char>(c)) && i + 1 < s.size()) {
            piece += c;
            piece += s[++i];
        } else if (c == '\\') {
            result.SubStorages.push_back(std::move(piece));
            piece.clear();
        } else {
            piece += c;
        }
    }
    result.ElementName = std::move(piece);
    return result;
}

}  // namespace orvex
