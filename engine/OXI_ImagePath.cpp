// Completing an executable or module path that names no existing file.
#include "engine/OXI_ImagePath.h"

#include <windows.h>

#include <cstring>

#include "engine/OXI_Collectors.h"
#include "engine/pure/OXI_FileNameKey.h"
#include "engine/pure/OXI_ProcessNames.h"
#include "platform/Orvex_Locale.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_Wow64.h"

namespace orvex {

bool ImageFileExists(const std::string& name) {
    const DWORD attributes = ::GetFileAttributesA(UnredirectedPath(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

namespace {

std::string FullPathOf(const std::string& name) {
    const DWORD needed = ::GetFullPathNameA(name.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::string full(needed, '\0');
    const DWORD length = ::GetFullPathNameA(name.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    return full;
}

// The completion of path: searchPath() gives the directory list and
// exists(name) tells whether a file of that name exists.
template <typename TSearchPath, typename TExists>
std::string CompleteImagePath(std::string_view path, TSearchPath&& searchPath, TExists&& exists) {
    // A zero inside the text would let the file system see a different name.
    if (path.empty() || path.find('\0') != std::string_view::npos) return {};
    const std::string exact(path);
    if (exists(exact)) return exact;
    const std::vector<std::string> names = ImagePathCandidates(path, searchPath(), IsAnsiLeadByte);
    // names[0] is the path itself, tried above.
    for (std::size_t i = 1; i < names.size(); ++i)
        if (exists(names[i])) return FullPathOf(names[i]);
    return {};
}

}  // namespace

std::string_view ExecutableFileName(std::string_view path) noexcept { return FileNamePart(path, IsAnsiLeadByte); }

std::string BoundedText(const char* buffer, std::size_t capacity, std::size_t length) {
    const std::size_t limit = length < capacity ? length : capacity;
    const void* zero = std::memchr(buffer, 0, limit);
    const std::size_t size = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - buffer) : limit;
    return std::string(buffer, size);
}

std::string ResolveImagePath(std::string_view path) {
    return CompleteImagePath(path, WindowsSearchPath, ImageFileExists);
}

const std::string& TImagePathResolver::Resolve(std::string_view path) {
    std::string text(path);
    if (auto known = resolved_.find(text); known != resolved_.end()) return known->second;
    std::string result = CompleteImagePath(
        path,
        [this]() -> const std::string& {
            if (!searchPath_) searchPath_ = WindowsSearchPath();
            return *searchPath_;
        },
        [this](const std::string& name) { return IsExistingFile(name); });
    return resolved_.emplace(std::move(text), std::move(result)).first->second;
}

bool TImagePathResolver::IsExistingFile(const std::string& name) {
    std::string key = FileNameKey(name, IsAnsiLeadByte);
    if (auto known = existing_.find(key); known != existing_.end()) return known->second;
    ++fileChecks_;
    const bool exists = ImageFileExists(name);
    existing_.emplace(std::move(key), exists);
    return exists;
}

}  // namespace orvex
