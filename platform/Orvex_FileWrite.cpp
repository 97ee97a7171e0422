#include "platform/Orvex_FileWrite.h"

#include <cstring>
#include <new>

#include "platform/Orvex_Kernel32.h"
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

// Tells the caller where the old file is when it could not be put back.
void NoteKeptAs(std::string* keptAs, const char* aside) noexcept {
    if (!keptAs) return;
    try {
        *keptAs = aside;
    } catch (const std::bad_alloc&) {
        keptAs->clear();
    }
}

// Gives the new file the old one's attributes where it lacks them (the
// system's replace call keeps them on Windows; Wine's does not).
void KeepAttributes(const char* fileName, DWORD old) noexcept {
    constexpr DWORD Kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                           FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD now = ::GetFileAttributesA(fileName);
    if (now == INVALID_FILE_ATTRIBUTES || (now & Kept) == (old & Kept)) return;
    const DWORD wanted = (now & ~Kept & ~FILE_ATTRIBUTE_NORMAL) | (old & Kept);
    ::SetFileAttributesA(fileName, wanted != 0 ? wanted : FILE_ATTRIBUTE_NORMAL);
}

// Puts the new file Temp in the place of the existing FileName with the
// system's replace call, keeping the old file under Aside until the new one
// is in place.
DWORD ReplaceExisting(const char* fileName, const char* temp, const char* aside, DWORD attributes,
                      std::string* keptAs) noexcept {
    if (ReplaceFileA(fileName, temp, aside, 0, nullptr, nullptr)) {
        KeepAttributes(fileName, attributes);
        ::DeleteFileA(aside);
        return 0;
    }
    const DWORD error = ::GetLastError();
    // The old file was moved aside but the new one could not take its name.
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 && ::GetFileAttributesA(fileName) == INVALID_FILE_ATTRIBUTES &&
        !::MoveFileA(aside, fileName))
        NoteKeptAs(keptAs, aside);
    return error;
}

// The same by moves, where the system has no replace call (the 9x family):
// the old file's attributes go to the new one.
DWORD MoveExisting(const char* fileName, const char* temp, const char* aside, DWORD attributes,
                   std::string* keptAs) noexcept {
    if (!::MoveFileA(fileName, aside)) return ::GetLastError();
    if (!::MoveFileA(temp, fileName)) {
        const DWORD error = ::GetLastError();
        if (!::MoveFileA(aside, fileName)) NoteKeptAs(keptAs, aside);
        return error;
    }
    KeepAttributes(fileName, attributes);
    ::DeleteFileA(aside);
    return 0;
}

}  // namespace

DWORD WriteWholeFile(const std::string& fileName, std::string_view contents, std::string* keptAs) noexcept {
    return ReplaceFileWith(
        fileName,
        [contents](const char* temp) -> DWORD {
            const THandle file(
                ::CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            return file ? WriteAll(file.get(), contents) : ::GetLastError();
        },
        keptAs);
}

DWORD ReplaceFileWith(const std::string& fileName, const std::function<DWORD(const char* tempName)>& write,
                      std::string* keptAs) noexcept {
    char folder[AnsiPathCapacity] = {};
    if (fileName.empty() || !FolderOf(fileName, folder)) return ERROR_INVALID_NAME;
    // A new empty file of a unique name in the target's folder.
    // The system writes up to MAX_PATH characters, which a UTF-8 or
    // double-byte code page stores in more bytes than MAX_PATH.
    char temp[AnsiPathCapacity] = {};
    if (::GetTempFileNameA(folder, "oxw", 0, temp) == 0) return ::GetLastError();
    DWORD error = write(temp);
    if (error != 0) {
        ::DeleteFileA(temp);
        return error;
    }
    const DWORD attributes = ::GetFileAttributesA(fileName.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // No file of that name yet.
        if (!::MoveFileA(temp, fileName.c_str())) error = ::GetLastError();
    } else if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        // A read-only file or a folder of that name is not replaced.
        error = ERROR_ACCESS_DENIED;
    } else {
        // The old file's place while the new one moves in: a name of its own
        // in the same folder, free when the move starts.
        char aside[AnsiPathCapacity] = {};
        if (::GetTempFileNameA(folder, "oxo", 0, aside) == 0) {
            error = ::GetLastError();
        } else {
            ::DeleteFileA(aside);
            BindKernel32();
            error = ReplaceFileA ? ReplaceExisting(fileName.c_str(), temp, aside, attributes, keptAs)
                                 : MoveExisting(fileName.c_str(), temp, aside, attributes, keptAs);
        }
    }
    if (error != 0) ::DeleteFileA(temp);
    return error;
}

std::string KeptAsNote(const std::string& keptAs) {
    return keptAs.empty() ? std::string() : " The previous file is now " + keptAs + ".";
}

}  // namespace orvex
