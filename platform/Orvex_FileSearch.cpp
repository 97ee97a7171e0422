#include "platform/Orvex_FileSearch.h"

#include <algorithm>
#include <utility>

#include "platform/Orvex_Locale.h"
#include "platform/Orvex_Resources.h"
#include "platform/pure/Orvex_PathFolder.h"
#include "platform/pure/Orvex_TextCase.h"

namespace orvex {

DWORD FindMatchingFiles(const std::string& pattern, std::vector<std::string>& files) {
    WIN32_FIND_DATAA found{};
    const TFindHandle search(::FindFirstFileA(pattern.c_str(), &found));
    if (!search) {
        const DWORD error = ::GetLastError();
        return error == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : error;
    }
    // The folder part up to and with its last separator ("C:" of "C:*.ivs").
    const std::size_t separator = LastSeparator(pattern, "\\/:", IsAnsiLeadByte);
    const std::string folder = separator == std::string::npos ? std::string() : pattern.substr(0, separator + 1);
    // Each name with its sort key, upper-cased once.
    std::vector<std::pair<std::string, std::string>> named;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            named.emplace_back(UpperCase(found.cFileName), found.cFileName);
    } while (::FindNextFileA(search.get(), &found));
    const DWORD error = ::GetLastError();
    if (error != ERROR_NO_MORE_FILES) return error;
    if (named.empty()) return ERROR_FILE_NOT_FOUND;
    std::stable_sort(named.begin(), named.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    files.clear();
    for (const auto& [key, name] : named) files.push_back(folder + name);
    return ERROR_SUCCESS;
}

}  // namespace orvex
