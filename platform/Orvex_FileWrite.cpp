#include "platform/Orvex_FileWrite.h"

#include <cstring>

#include "platform/Orvex_Locale.h"
#include "platform/Orvex_Resources.h"
#include "platform/pure/Orvex_PathFolder.h"

namespace orvex {

namespace {

// The folder part of a path ("." when it names none), in Folder; the split
// skips the trail bytes of double-byte characters (0x5C in code page 932).
bool FolderOf(const std::string& fileName, char (&folder)[AnsiPathCapacity]) noexcept {
    const std::size_t length = FolderPartLength(fileName, IsAnsiLeadByte);
    if (length == std::string::npos) {
        folder[0] = '.';
        folder[1] = '\0';
        return true;
    }
    if (length >= AnsiPathCapacity) return false;
    std::memcpy(folder, fileName.data(), length);
    folder[length] = '\0';
    return true;
}

DWORD WriteAll(HANDLE file, std::string_view contents) noexcept {
    while (!contents.empty()) {
        const DWORD chunk = contents.size() > 0x100000 ? 0x100000 : static_cast<DWORD>(contents.size());
        DWORD written = 0;
        if (!::WriteFile(file, contents.data(), chunk, &written, nullptr)) return ::GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        contents.remove_prefix(written);
    }
    return ::FlushFileBuffers(file) ? 0 : ::GetLastError();
}

}  // namespace

DWORD WriteWholeFile(const std::string& fileName, std::string_view contents) noexcept {
    return ReplaceFileWith(fileName, [contents](const char* temp) -> DWORD {
        const THandle file(
            ::CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        return file ? WriteAll(file.get(), contents) : ::GetLastError();
    });
}

DWORD ReplaceFileWith(const std::string& fileName, const std::function<DWORD(const char* tempName)>& write) noexcept {
    char folder[AnsiPathCapacity] = {};
    if (fileName.empty() || !FolderOf(fileName, folder)) return ERROR_INVALID_NAME;
    // A new empty file of a unique name in the target's folder.
    // The system writes up to MAX_PATH characters, which a UTF-8 or
    // double-byte code page stores in more bytes than MAX_PATH.
    char temp[AnsiPathCapacity] = {};
    if (::GetTempFileNameA(folder, "oxw", 0, temp) == 0) return ::GetLastError();
    DWORD error = write(temp);
    if (error == 0 && !::MoveFileA(temp, fileName.c_str())) {
        error = ::GetLastError();
        // The target exists: move it aside under a name of its own, put the
        // new file in its place, and drop the old one only then (MoveFileEx,
        // which replaces in one step, is missing on the 9x family).
        // A read-only file or a folder of that name is not replaced.
        const DWORD attributes = ::GetFileAttributesA(fileName.c_str());
        char aside[AnsiPathCapacity] = {};
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
            error = ERROR_ACCESS_DENIED;
        } else if (attributes != INVALID_FILE_ATTRIBUTES && ::GetTempFileNameA(folder, "oxo", 0, aside) != 0) {
            ::DeleteFileA(aside);
            if (!::MoveFileA(fileName.c_str(), aside)) {
                error = ::GetLastError();
            } else if (!::MoveFileA(temp, fileName.c_str())) {
                error = ::GetLastError();
                ::MoveFileA(aside, fileName.c_str());
            } else {
                error = 0;
                ::DeleteFileA(aside);
            }
        }
    }
    if (error != 0) ::DeleteFileA(temp);
    return error;
}

}  // namespace orvex
