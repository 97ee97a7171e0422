// The modules of a process from its loader data: the list of loaded modules
// that the system's loader keeps in the process's own memory, read directly
// (two reads per module: its entry and its path), where a module snapshot
// would first copy the whole list into a buffer of its own.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_ModuleCollectors.h"
#include "engine/pure/OXI_ModuleList.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_WideText.h"
#include "platform/Orvex_Wow64.h"
#include "platform/pure/Orvex_NtLayouts.h"
#include "platform/pure/Orvex_TextCase.h"

namespace orvex {

namespace {

constexpr DWORD QueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
// A list that another thread changes while it is read could lead the walk
// round for ever: it stops here, and the list counts as unreadable.
constexpr std::size_t MaxLoaderEntries = 16384;

// Walks the load-order list of the loader data whose PEB is at pebAddress,
// in the layout of width; take(entry, path) for each module. False when any
// of it cannot be read (not yet initialised, or the process ended).
template <typename TTake>
bool WalkLoaderList(HANDLE process, nt::TWidth width, std::uint64_t pebAddress, TTake&& take) {
    std::vector<std::uint8_t> peb, link, entry, path;
    if (!ReadProcessBytes(process, pebAddress, nt::PebReadSize(width), peb)) return false;
    const auto loader = nt::ParsePebLoaderData(width, peb.data(), peb.size());
    if (!loader || *loader == 0) return false;
    const std::uint64_t head = *loader + nt::LoaderLayout(width).LoadOrderHead;
    // The head's first link: the first entry's address, in the layout's width.
    if (!ReadProcessBytes(process, head, width == nt::TWidth::Bits64 ? 8 : 4, link)) return false;
    std::uint64_t next = 0;
    std::memcpy(&next, link.data(), link.size());
    for (std::size_t count = 0; next != head; ++count) {
        if (count == MaxLoaderEntries || !ReadProcessBytes(process, next, nt::LoaderEntryReadSize(width), entry))
            return false;
        const auto e = nt::ParseLoaderEntry(width, entry.data(), entry.size());
        if (!e) return false;
        const std::size_t bytes = e->FullName.Length & ~1u;
        path.clear();
        if (bytes > 0 && !ReadProcessBytes(process, e->FullName.Buffer, bytes, path)) return false;
        take(*e, nt::CountedStringText(e->FullName, path.data(), path.size(), e->FullName.Buffer));
        next = e->Next;
    }
    return true;
}

// The address of a 32-bit process's own PEB on 64-bit Windows; 0 for a
// process of the system's width, or when the system does not say.
std::uint64_t Wow64PebAddress(HANDLE process) {
    TNativeBlock block;
    if (!QueryProcessBlock(process, ProcessInfoWow64, block)) return 0;
    std::uintptr_t address = 0;
    std::memcpy(&address, block.Bytes, sizeof address);
    return address;
}

}  // namespace

bool CollectModulesLoader(std::string_view processName, std::uint32_t pid, TModuleList& modules,
                          TImagePathResolver& paths, std::string& image) {
    // Process 0 is answered without opening anything.
    const THandle process(ProcessHasModules(pid) && NtQueryInformationProcess ? ::OpenProcess(QueryAndRead, FALSE, pid)
                                                                              : nullptr);
    return CollectModulesLoader(processName, pid, process.get(), modules, paths, image);
}

bool CollectModulesLoader(std::string_view processName, std::uint32_t pid, HANDLE process, TModuleList& modules,
                          TImagePathResolver& paths, std::string& image) {
    if (!ProcessHasModules(pid)) {
        modules.clear();
        image.clear();
        return true;
    }
    if (!process || !NtQueryInformationProcess) return false;
    TNativeBlock basic;
    if (!QueryProcessBlock(process, ProcessInfoBasic, basic)) return false;
    const auto info = nt::ParseProcessBasicInfo(nt::NativeWidth, basic.Bytes, basic.Size);
    if (!info) return false;
    // A 32-bit program cannot read the loader data of a 64-bit process,
    // whose PEB may lie beyond its reach: the snapshot answers for it.
    const std::uint64_t peb32 = IsWow64Program() || nt::NativeWidth == nt::TWidth::Bits64 ? Wow64PebAddress(process)
                                                                                          : 0;
    if (IsWow64Program() && peb32 == 0) return false;

    TModuleList found;
    std::string last;
    TModulesSeen seen;
    const auto take = [&](const nt::TLoaderEntry& e, const std::u16string& wide) {
        const std::string path = WideToAnsi(wide);
        const auto base = static_cast<std::uintptr_t>(e.DllBase);
        if (!seen.Add(base, path)) return;
        TModuleInfo& m = found.emplace_back();
        m.Name = std::string(ExecutableFileName(path));
        m.ImageName = paths.Resolve(path);
        m.Base = base;
        m.Size = e.SizeOfImage;
        if (SameText(m.Name, processName)) last = path;
    };
    if (!WalkLoaderList(process, nt::NativeWidth, info->PebBaseAddress, take)) return false;
    // A 64-bit program lists a 32-bit process's 32-bit modules too, its
    // executable among them, as the snapshot of both widths does.
    if (nt::NativeWidth == nt::TWidth::Bits64 && peb32 != 0 &&
        !WalkLoaderList(process, nt::TWidth::Bits32, peb32, take))
        return false;
    modules = std::move(found);
    image = std::move(last);
    return true;
}

}  // namespace orvex
