// Completing an executable or module path that names no existing file.
#include "engine/OXI_ImagePath.h"

#include <windows.h>

#include <cstring>

#include "engine/OXI_Collectors.h"
#include "engine/pure/OXI_ProcessNames.h"
#include "platform/Orvex_Locale.h"
#include "platform/Orvex_OSInfo.h"

namespace orvex {

namespace {

bool IsExistingFile(const std::string& name) {
    const DWORD attributes = ::GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string FullPathOf(const std::string& name) {
    const DWORD needed = ::GetFullPathNameA(name.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::string full(needed, '\0');
    const DWORD length = ::GetFullPathNameA(name.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    return full;
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
    // A zero inside the text would let the file system see a different name.
    if (path.empty() || path.find('\0') != std::string_view::npos) return {};
    const std::string exact(path);
    if (IsExistingFile(exact)) return exact;
    const std::vector<std::string> names = ImagePathCandidates(path, WindowsSearchPath(), IsAnsiLeadByte);
    // names[0] is the path itself, tried above.
    for (std::size_t i = 1; i < names.size(); ++i)
        if (IsExistingFile(names[i])) return FullPathOf(names[i]);
    return {};
}

}  // namespace orvex
