// A uniquely named file in the temporary directory, deleted when the object
// goes out of scope. GetTempFileName creates it empty.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Orvex_Resources.h"

namespace orvex::test {

// The names of the entries of Folder (a path ending in a backslash), sorted;
// none when it cannot be read.
inline std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data{};
    const HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

class TTempFile {
public:
    TTempFile() {
        char dir[MAX_PATH] = {};
        char name[MAX_PATH] = {};
        const DWORD n = GetTempPathA(MAX_PATH, dir);
        if (n > 0 && n < MAX_PATH && GetTempFileNameA(dir, "oxs", 0, name) != 0) name_ = name;
    }
    ~TTempFile() {
        if (!name_.empty()) DeleteFileA(name_.c_str());
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    bool valid() const { return !name_.empty(); }
    const std::string& name() const { return name_; }
    bool exists() const { return GetFileAttributesA(name_.c_str()) != INVALID_FILE_ATTRIBUTES; }
    // Replaces the file's contents with Text.
    bool write(const std::string& text) const {
        const orvex::THandle file(
            CreateFileA(name_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        DWORD written = 0;
        return WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
               written == text.size();
    }
    bool remove() const { return DeleteFileA(name_.c_str()) != FALSE; }

private:
    std::string name_;
};

}  // namespace orvex::test
