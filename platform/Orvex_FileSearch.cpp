#include "platform/Orvex_FileSearch.h"

#include <algorithm>

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
    std::vector<std::string> names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(folder + found.cFileName);
    } while (::FindNextFileA(search.get(), &found));
    const DWORD error = ::GetLastError();
    if (error != ERROR_NO_MORE_FILES) return error;
    if (names.empty()) return ERROR_FILE_NOT_FOUND;
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return UpperCase(a) < UpperCase(b); });
    files = std::move(names);
    return ERROR_SUCCESS;
}

}  // namespace orvex
