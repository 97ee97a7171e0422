#include "platform/pure/Orvex_PathFolder.h"

namespace orvex {

namespace {

char FoldAscii(char c) noexcept { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool ReplaceLeadingFolder(std::string_view path, std::string_view folder, std::string_view replacement,
                          TLeadBytePredicate isLeadByte, std::string& out) {
    if (IsBackslashAt(folder, static_cast<int>(folder.size()), isLeadByte)) folder.remove_suffix(1);
    if (folder.empty() || path.size() < folder.size()) return false;
    std::size_t i = 0;
    while (i < folder.size()) {
        const bool lead = isLeadByte && isLeadByte(static_cast<unsigned char>(folder[i]));
        if (lead) {
            // A double-byte character compares byte for byte, trail included.
            if (i + 1 >= folder.size() || path[i] != folder[i] || path[i + 1] != folder[i + 1]) return false;
            i += 2;
        } else {
            if (FoldAscii(path[i]) != FoldAscii(folder[i])) return false;
            ++i;
        }
    }
    if (i < path.size() && path[i] != '\\') return false;
    out.assign(replacement);
    out.append(path.substr(i));
    return true;
}

std::size_t LastSeparator(std::string_view path, std::string_view separators, TLeadBytePredicate isLeadByte) noexcept {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (separators.find(c) != std::string_view::npos)
            last = i;
        else if (isLeadByte && isLeadByte(static_cast<unsigned char>(c)))
            ++i;  // the trail byte belongs to this character
    }
    return last;
}

std::size_t FolderPartLength(std::string_view path, TLeadBytePredicate isLeadByte) {
    const std::size_t last = LastSeparator(path, "\\/:", isLeadByte);
    if (last == std::string_view::npos) return last;
    const bool root = path[last] == ':' || last == 0 || (last == 2 && path[1] == ':');
    return root ? last + 1 : last;
}

bool HasWildcards(std::string_view path, TLeadBytePredicate isLeadByte) noexcept {
    const std::size_t folder = LastSeparator(path, "\\/:", isLeadByte);
    for (std::size_t i = folder == std::string_view::npos ? 0 : folder + 1; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '*' || c == '?') return true;
        if (isLeadByte && isLeadByte(static_cast<unsigned char>(c))) ++i;
    }
    return false;
}

}  // namespace orvex
