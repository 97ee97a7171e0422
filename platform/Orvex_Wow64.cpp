#include "platform/Orvex_Wow64.h"

#include <windows.h>

#include "platform/Orvex_Kernel32.h"
#include "platform/Orvex_Locale.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/pure/Orvex_OSKind.h"
#include "platform/pure/Orvex_PathFolder.h"

namespace orvex {

namespace {

bool AskWow64() noexcept {
    if (!MayRunWow64(OSKind())) return false;
    BindKernel32();
    BOOL wow64 = FALSE;
    return IsWow64Process && IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

std::string FolderText(UINT (*query)(LPSTR, UINT)) {
    char buffer[MAX_PATH + 1] = {};
    const UINT length = query(buffer, MAX_PATH);
    if (length == 0 || length > MAX_PATH) return {};
    return std::string(buffer, length);
}

UINT SystemFolder(LPSTR buffer, UINT size) { return ::GetSystemDirectoryA(buffer, size); }
UINT WindowsFolder(LPSTR buffer, UINT size) { return ::GetWindowsDirectoryA(buffer, size); }

// The system directory and its alias; both empty outside WoW64 or where the
// alias does not exist.
struct TSysnative {
    std::string System;
    std::string Alias;
};

TSysnative FindSysnative() {
    TSysnative found;
    if (!IsWow64Program()) return found;
    const std::string system = FolderText(SystemFolder);
    const std::string windows = FolderText(WindowsFolder);
    if (system.empty() || windows.empty()) return found;
    const std::string alias = AnsiAddTrailingBackslash(windows) + "Sysnative";
    const DWORD attributes = ::GetFileAttributesA(alias.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return found;
    found.System = system;
    found.Alias = alias;
    return found;
}

}  // namespace

bool IsWow64Program() noexcept {
    static const bool wow64 = AskWow64();
    return wow64;
}

std::string UnredirectedPath(const std::string& path) {
    static const TSysnative sysnative = FindSysnative();
    std::string mapped;
    if (sysnative.Alias.empty() ||
        !ReplaceLeadingFolder(path, sysnative.System, sysnative.Alias, IsAnsiLeadByte, mapped))
        return path;
    return mapped;
}

}  // namespace orvex
