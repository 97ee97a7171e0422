#include "engine/pure/OXI_ProcessNames.h"

#include "platform/pure/Orvex_PathFolder.h"

namespace orvex {

namespace {

// The position just after the last backslash or colon that is a single-byte
// character, 0 when there is none.
std::size_t NameStart(std::string_view path, TLeadBytePredicate isLeadByte) noexcept {
    const std::size_t last = LastSeparator(path, "\\:", isLeadByte);
    return last == std::string_view::npos ? 0 : last + 1;
}

bool EndsInSeparator(std::string_view dir, TLeadBytePredicate isLeadByte) noexcept {
    return !dir.empty() && NameStart(dir, isLeadByte) == dir.size();
}

}  // namespace

std::string_view FallbackProcessName(std::uint32_t pid) noexcept {
    if (pid == 0) return IdleProcessName;
    if (pid < 10) return SystemProcessName;
    return {};
}

std::string_view FileNamePart(std::string_view path, TLeadBytePredicate isLeadByte) noexcept {
    return path.substr(NameStart(path, isLeadByte));
}

std::string_view DirectoryPart(std::string_view path, TLeadBytePredicate isLeadByte) noexcept {
    return path.substr(0, NameStart(path, isLeadByte));
}

std::vector<std::string> ImagePathCandidates(std::string_view path, std::string_view searchPath,
                                             TLeadBytePredicate isLeadByte) {
    std::vector<std::string> names;
    if (path.empty()) return names;
    names.emplace_back(path);
    std::string dirs(DirectoryPart(path, isLeadByte));
    dirs += ';';
    dirs += searchPath;
    std::size_t begin = 0;
    while (begin <= dirs.size()) {
        std::size_t end = dirs.find(';', begin);
        if (end == std::string::npos) end = dirs.size();
        const std::string_view dir = std::string_view(dirs).substr(begin, end - begin);
        if (!dir.empty()) {
            std::string name(dir);
            if (!EndsInSeparator(dir, isLeadByte)) name += '\\';
            name += path;
            names.push_back(std::move(name));
        }
        begin = end + 1;
    }
    return names;
}

}  // namespace orvex
