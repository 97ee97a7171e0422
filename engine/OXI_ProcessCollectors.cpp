// The two process enumerators: the native system-process list (Windows
// NT 4) and the tool-help process snapshot (every other system).
#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>
#include <vector>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_ImagePath.h"
#include "engine/OXI_ModuleCollectors.h"
#include "engine/OXI_NativeQuery.h"
#include "engine/OXI_ProcessPass.h"
#include "engine/OXI_ThreadCollectors.h"
#include "engine/pure/OXI_NativeRecords.h"
#include "engine/pure/OXI_ProcessNames.h"
#include "platform/Orvex_Kernel32.h"
#include "platform/Orvex_Locale.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_PSAPI.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_WideText.h"
#include "platform/pure/Orvex_NtLayouts.h"

namespace orvex {

namespace {

// Base name and full path of the executable, through the process-status
// library; a failed query gives an empty text.
void ReadExecutableNames(HANDLE process, std::string& name, std::string& path) {
    char buffer[AnsiPathCapacity];
    if (GetModuleBaseNameA) {
        buffer[0] = '\0';
        const DWORD length = GetModuleBaseNameA(process, nullptr, buffer, AnsiPathCapacity);
        name = BoundedText(buffer, AnsiPathCapacity, length);
    }
    if (GetModuleFileNameExA) {
        buffer[0] = '\0';
        const DWORD length = GetModuleFileNameExA(process, nullptr, buffer, AnsiPathCapacity);
        path = BoundedText(buffer, AnsiPathCapacity, length);
    }
}

// The executable's path as the system records it for the process (Vista and
// later), for a process whose modules cannot be read: a 64-bit process seen
// by a 32-bit program (ERROR_PARTIAL_COPY), a protected process. The limited
// query right is the one such processes grant; empty where nothing answers.
std::string SystemImagePath(std::uint32_t pid) {
    if (!QueryFullProcessImageNameA || pid == 0) return {};
    const THandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return {};
    char buffer[AnsiPathCapacity];
    DWORD size = sizeof buffer;
    if (!QueryFullProcessImageNameA(process.get(), 0, buffer, &size) || size >= sizeof buffer) return {};
    return std::string(buffer, size);
}

}  // namespace

void CollectProcessesNt4(TProcList& list, TImagePathResolver& paths, TProcessPass& pass) {
    const std::vector<nt::TProcessBlock> blocks = QuerySystemProcesses();
    pass.CountersRead = !blocks.empty();
    for (const nt::TProcessBlock& block : blocks) {
        TProcessInfo& p = list.emplace_back();
        FillFromProcessBlock(block, p);
        // One handle serves the names, the modules and the details.
        std::string name, path;
        const HANDLE process = pass.Open(p.PID);
        if (process) ReadExecutableNames(process, name, path);
        p.Name = name;
        p.ImageName = paths.Resolve(path);
        CollectModulesProcessStatus(p.PID, process, p.Modules, paths);
        if (p.Name.empty()) p.Name = FallbackProcessName(p.PID);
        p.Threads = ThreadsFromBlock(block);
    }
}

void CollectProcessesNative(TProcList& list, TImagePathResolver& paths, TProcessPass& pass) {
    const std::vector<nt::TProcessBlock> blocks = QuerySystemProcesses();
    // A system that refuses the query still has the snapshot.
    if (blocks.empty()) {
        CollectProcessesSnapshot(list, paths, pass);
        return;
    }
    pass.CountersRead = true;
    for (const nt::TProcessBlock& block : blocks) {
        TProcessInfo& p = list.emplace_back();
        FillFromProcessBlock(block, p);
        p.Name = std::string(ExecutableFileName(WideToAnsi(block.ImageName)));
        std::string image;
        if (!CollectModulesLoader(p.Name, p.PID, pass.Open(p.PID), p.Modules, paths, image))
            image = CollectModulesSnapshot(p.Name, p.PID, p.Modules, paths);
        if (image.empty()) image = SystemImagePath(p.PID);
        p.Threads = ThreadsFromBlock(block);
        if (p.Name.empty()) p.Name = FallbackProcessName(p.PID);
        p.ImageName = paths.Resolve(image);
    }
}

void CollectProcesses(TProcList& list, TImagePathResolver& paths, TProcessPass& pass) {
    if (OSKind() == 3)
        CollectProcessesNt4(list, paths, pass);
    else if (IsNT())
        CollectProcessesNative(list, paths, pass);
    else
        CollectProcessesSnapshot(list, paths, pass);
}

void CollectProcessesSnapshot(TProcList& list, TImagePathResolver& paths, TProcessPass& pass) {
    // Systems without the snapshot functions (NT 4 and older NT) list nothing here.
    if (!ToolHelpBound()) return;
    // One snapshot holds the processes and the threads of all of them.
    const THandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return;
    TThreadsByOwner threads = ThreadsFromSnapshot(snapshot.get());
    const bool nt = IsNT();
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32First(snapshot.get(), &entry); ok; ok = Process32Next(snapshot.get(), &entry)) {
        TProcessInfo& p = list.emplace_back();
        p.Name = ExecutableFileName(BoundedText(entry.szExeFile));
        p.PID = entry.th32ProcessID;
        p.Priority = entry.pcPriClassBase;
        p.ParentPID = entry.th32ParentProcessID;
        p.Usage = entry.cntUsage;
        p.ThreadCount = entry.cntThreads;
        p.HeapID = entry.th32DefaultHeapID;
        p.ModuleID = entry.th32ModuleID;
        // The NT family reads the loader data; the snapshot answers on the
        // 9x family and where that cannot be read.
        std::string image;
        if (!nt || !CollectModulesLoader(p.Name, p.PID, pass.Open(p.PID), p.Modules, paths, image))
            image = CollectModulesSnapshot(p.Name, p.PID, p.Modules, paths);
        if (image.empty()) image = SystemImagePath(p.PID);
        if (auto own = threads.find(p.PID); own != threads.end()) p.Threads = std::move(own->second);
        if (p.Name.empty()) p.Name = FallbackProcessName(p.PID);
        p.ImageName = paths.Resolve(image);
    }
    // The snapshot has no creation times: the details pass reads them where
    // it can open the process, and the system's list gives the others.
    if (nt) CompleteCreationTimes(list);
}

namespace {

// A collector with a path resolver and a pass of this one call.
template <void (*Collect)(TProcList&, TImagePathResolver&, TProcessPass&)>
void WithOwnPaths(TProcList& list) {
    TImagePathResolver paths;
    TProcessPass pass;
    Collect(list, paths, pass);
}

}  // namespace

void CollectProcessesNt4(TProcList& list) { WithOwnPaths<CollectProcessesNt4>(list); }
void CollectProcessesSnapshot(TProcList& list) { WithOwnPaths<CollectProcessesSnapshot>(list); }
void CollectProcessesNative(TProcList& list) { WithOwnPaths<CollectProcessesNative>(list); }
void CollectProcesses(TProcList& list) { WithOwnPaths<CollectProcesses>(list); }

}  // namespace orvex
