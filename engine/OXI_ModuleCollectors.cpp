#include "engine/OXI_ModuleCollectors.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cwchar>
#include <string>
#include <vector>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_ImagePath.h"
#include "engine/pure/OXI_ModuleList.h"
#include "platform/Orvex_Kernel32.h"
#include "platform/Orvex_Locale.h"
#include "platform/Orvex_PSAPI.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_WideText.h"
#include "platform/pure/Orvex_TextCase.h"

namespace orvex {

namespace {

constexpr DWORD QueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;

// The modules of this program's width; a 64-bit build also lists the 32-bit
// modules of a 32-bit process, among them its executable.
#ifdef _WIN64
constexpr DWORD ModuleSnapshotKind = TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32;
#else
constexpr DWORD ModuleSnapshotKind = TH32CS_SNAPMODULE;
#endif

// The system may refuse a module snapshot while the process is loading or
// unloading a module; it asks to try again then.
constexpr int SnapshotAttempts = 3;

THandle ModuleSnapshot(std::uint32_t pid) {
    if (!ToolHelpBound()) return THandle();
    for (int attempt = 0; attempt < SnapshotAttempts; ++attempt) {
        THandle snapshot(CreateToolhelp32Snapshot(ModuleSnapshotKind, pid));
        if (snapshot) return snapshot;
        if (::GetLastError() != ERROR_BAD_LENGTH) break;
    }
    return THandle();
}

template <std::size_t N>
std::string EntryText(const char (&text)[N]) {
    return BoundedText(text);
}

template <std::size_t N>
std::string EntryText(const wchar_t (&text)[N]) {
    return WideToAnsi(std::wstring_view(text, ::wcsnlen(text, N)));
}

// Hands every module of a snapshot to take(name, path, base, size).
template <typename Entry, typename Walk, typename Take>
void WalkSnapshot(HANDLE snapshot, Walk first, Walk next, Take&& take) {
    Entry entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = first(snapshot, &entry); ok; ok = next(snapshot, &entry))
        take(EntryText(entry.szModule), EntryText(entry.szExePath), reinterpret_cast<std::uintptr_t>(entry.modBaseAddr),
             entry.modBaseSize);
}

}  // namespace

void CollectModulesProcessStatus(std::uint32_t pid, TModuleList& modules, TImagePathResolver& paths) {
    modules.clear();
    if (!ProcessHasModules(pid) || !EnumProcessModules || !GetModuleFileNameExA) return;
    const THandle process(::OpenProcess(QueryAndRead, FALSE, pid));
    CollectModulesProcessStatus(pid, process.get(), modules, paths);
}

void CollectModulesProcessStatus(std::uint32_t pid, void* process, TModuleList& modules, TImagePathResolver& paths) {
    modules.clear();
    if (!process || !ProcessHasModules(pid) || !EnumProcessModules || !GetModuleFileNameExA) return;
    std::vector<HMODULE> handles(MaxModuleHandles);
    DWORD needed = 0;
    if (!EnumProcessModules(process, handles.data(), static_cast<DWORD>(handles.size() * sizeof(HMODULE)), &needed))
        return;
    const std::size_t count = ModuleHandlesToRead(needed, sizeof(HMODULE));
    TModulesSeen seen;
    for (std::size_t i = 0; i < count; ++i) {
        char file[AnsiPathCapacity] = {};
        const DWORD length = GetModuleFileNameExA(process, handles[i], file, AnsiPathCapacity);
        if (length == 0) continue;
        const std::string reported = BoundedText(file, AnsiPathCapacity, length);
        if (!seen.Add(reinterpret_cast<std::uintptr_t>(handles[i]), reported)) continue;
        TModuleInfo& m = modules.emplace_back();
        m.ImageName = paths.Resolve(reported);
        // The name as reported, so that a path the file system cannot
        // complete still names its module.
        m.Name = ExecutableFileName(reported);
        MODULEINFO info{};
        if (GetModuleInformation && GetModuleInformation(process, handles[i], &info, sizeof info)) {
            m.Size = info.SizeOfImage;
            m.Base = reinterpret_cast<std::uintptr_t>(info.lpBaseOfDll);
            m.EntryPoint = reinterpret_cast<std::uintptr_t>(info.EntryPoint);
        }
    }
}

std::string CollectModulesSnapshot(std::string_view processName, std::uint32_t pid, TModuleList& modules,
                                   TImagePathResolver& paths) {
    modules.clear();
    std::string image;
    if (!ProcessHasModules(pid)) return image;
    const THandle snapshot = ModuleSnapshot(pid);
    if (!snapshot) return image;
    TModulesSeen seen;
    const auto take = [&](const std::string& name, const std::string& path, std::uintptr_t base, DWORD size) {
        if (!seen.Add(base, path)) return;
        TModuleInfo& m = modules.emplace_back();
        m.Name = name;
        m.ImageName = paths.Resolve(path);
        m.Base = base;
        m.Size = size;
        if (SameText(name, processName)) image = path;
    };
    // The wide entry where the system has it: the ANSI one holds MAX_PATH
    // bytes, fewer than a long path takes in a UTF-8 or double-byte code page.
    if (Module32FirstW && Module32NextW)
        WalkSnapshot<MODULEENTRY32W>(snapshot.get(), Module32FirstW, Module32NextW, take);
    else
        WalkSnapshot<MODULEENTRY32>(snapshot.get(), Module32First, Module32Next, take);
    return image;
}

void CollectModulesProcessStatus(std::uint32_t pid, TModuleList& modules) {
    TImagePathResolver paths;
    CollectModulesProcessStatus(pid, modules, paths);
}

std::string CollectModulesSnapshot(std::string_view processName, std::uint32_t pid, TModuleList& modules) {
    TImagePathResolver paths;
    return CollectModulesSnapshot(processName, pid, modules, paths);
}

}  // namespace orvex
