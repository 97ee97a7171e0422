#include "console/InvSave.h"

#include <windows.h>

#include <exception>

#include "engine/OXI_Processes.h"
#include "storage/Orvex_ComError.h"

namespace orvex::console {

namespace {

std::string SystemError(DWORD code) { return ComErrorMessage(HRESULT_FROM_WIN32(code)); }

// A file name that is deleted again unless the file was moved away.
class TTemporaryFile {
public:
    TTemporaryFile() = default;
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    ~TTemporaryFile() {
        if (!name_.empty()) DeleteFileA(name_.c_str());
    }
    // Creates an empty file of a new name in Folder; false with the system's
    // error code when the folder cannot take one.
    bool Create(const std::string& folder, DWORD& code) {
        char name[MAX_PATH] = {};
        if (GetTempFileNameA(folder.c_str(), "oxi", 0, name) == 0) {
            code = GetLastError();
            return false;
        }
        name_ = name;
        return true;
    }
    const std::string& name() const { return name_; }
    void release() { name_.clear(); }

private:
    std::string name_;
};

// The folder of FileName ("." for a bare name), full path of the file.
bool SplitPath(const std::string& fileName, std::string& full, std::string& folder, DWORD& code) {
    char buffer[MAX_PATH] = {};
    char* filePart = nullptr;
    const DWORD n = GetFullPathNameA(fileName.c_str(), MAX_PATH, buffer, &filePart);
    if (n == 0 || n >= MAX_PATH) {
        code = n == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
        return false;
    }
    if (filePart == nullptr || *filePart == '\0') {
        code = ERROR_INVALID_NAME;  // names a folder, not a file
        return false;
    }
    full = buffer;
    folder.assign(buffer, static_cast<std::size_t>(filePart - buffer));
    return true;
}

// Puts Source in Target's place. MoveFileEx does it in one step on the NT
// family; the 9x family does not implement it, so there the target is
// deleted first and the file renamed.
bool PutInPlace(const std::string& source, const std::string& target, DWORD& code) {
    if (MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    code = GetLastError();
    if (code != ERROR_CALL_NOT_IMPLEMENTED) return false;
    if (!DeleteFileA(target.c_str())) {
        code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND) return false;
    }
    if (MoveFileA(source.c_str(), target.c_str())) return true;
    code = GetLastError();
    return false;
}

}  // namespace

bool SaveReportReplacing(TOrvex_ProcessList& component, const std::string& fileName, std::string& error) {
    std::string full, folder;
    DWORD code = 0;
    if (!SplitPath(fileName, full, folder, code)) {
        error = SystemError(code);
        return false;
    }
    TTemporaryFile temp;
    if (!temp.Create(folder, code)) {
        error = SystemError(code);
        return false;
    }
    try {
        component.SaveToStorage(temp.name());
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    if (!PutInPlace(temp.name(), full, code)) {
        error = SystemError(code);
        return false;
    }
    temp.release();
    return true;
}

}  // namespace orvex::console
