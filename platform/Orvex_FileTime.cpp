#include "platform/Orvex_FileTime.h"

#include "platform/Orvex_Resources.h"

namespace orvex {

std::int64_t UtcNow() noexcept {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return FileTimeCount(now);
}

DWORD FileWriteTime(const std::string& fileName, std::int64_t& written) {
    WIN32_FIND_DATAA found{};
    const TFindHandle search(::FindFirstFileA(fileName.c_str(), &found));
    if (!search) return ::GetLastError();
    written = FileTimeCount(found.ftLastWriteTime);
    return ERROR_SUCCESS;
}

}  // namespace orvex
