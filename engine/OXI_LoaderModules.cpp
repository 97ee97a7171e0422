// The modules of a process from its loader data: the list of loaded modules
// that the system's loader keeps in the process's own memory, read directly
// (two reads per module: its entry and its path), where a module snapshot
// would first copy the whole list into a buffer of its own.
#include <windows.h>

#include <algorithm>
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
// The longest path a counted string holds, in bytes.
constexpr std::size_t MaxPathBytes = 0xFFFE;

bool ReadRemote(HANDLE process, std::uint64_t address, void* into, std::size_t size) {
    if (address == 0 || address > static_cast<std::uint64_t>(UINTPTR_MAX)) return false;
    SIZE_T got = 0;
    return ::ReadProcessMemory(process, reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(address)), into, size,
                               &got) &&
           got == size;
}

// Walks the load-order list of the loader data whose PEB is at pebAddress,
// in the layout of width; take(entry, path) for each module. False when any
// of it cannot be read (not yet initialised, or the process ended).
template <typename TTake>
bool WalkLoaderList(HANDLE process, nt::TWidth width, std::uint64_t pebAddress, TTake&& take) {
    std::uint8_t peb[64] = {};
    const std::size_t pebSize = nt::PebReadSize(width);
    if (pebSize > sizeof peb || !ReadRemote(process, pebAddress, peb, pebSize)) return false;
    const auto loader = nt::ParsePebLoaderData(width, peb, pebSize);
    if (!loader || *loader == 0) return false;
    const std::uint64_t head = *loader + nt::LoaderLayout(width).LoadOrderHead;
    const std::size_t pointer = width == nt::TWidth::Bits64 ? 8 : 4;
    std::uint64_t next = 0;
    if (!ReadRemote(process, head, &next, pointer)) return false;
    std::uint8_t entry[128] = {};
    const std::size_t entrySize = nt::LoaderEntryReadSize(width);
    std::vector<char16_t> path;
    for (std::size_t count = 0; next != head; ++count) {
        if (count == MaxLoaderEntries || !ReadRemote(process, next, entry, entrySize)) return false;
        const auto e = nt::ParseLoaderEntry(width, entry, entrySize);
        if (!e) return false;
        const std::size_t bytes = std::min<std::size_t>(e->FullName.Length & ~1u, MaxPathBytes);
        path.assign(bytes / 2, u'\0');
        if (bytes > 0 && !ReadRemote(process, e->FullName.Buffer, path.data(), bytes)) return false;
        take(*e, std::u16string_view(path.data(), path.size()));
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
    if (!ProcessHasModules(pid)) {
        modules.clear();
        image.clear();
        return true;
    }
    if (!NtQueryInformationProcess) return false;
    const THandle process(::OpenProcess(QueryAndRead, FALSE, pid));
    if (!process) return false;
    TNativeBlock basic;
    if (!QueryProcessBlock(process.get(), ProcessInfoBasic, basic)) return false;
    const auto info = nt::ParseProcessBasicInfo(nt::NativeWidth, basic.Bytes, basic.Size);
    if (!info) return false;
    // A 32-bit program cannot read the loader data of a 64-bit process,
    // whose PEB may lie beyond its reach: the snapshot answers for it.
    const std::uint64_t peb32 = IsWow64Program() || nt::NativeWidth == nt::TWidth::Bits64
                                    ? Wow64PebAddress(process.get())
                                    : 0;
    if (IsWow64Program() && peb32 == 0) return false;

    TModuleList found;
    std::string last;
    TModulesSeen seen;
    const auto take = [&](const nt::TLoaderEntry& e, std::u16string_view wide) {
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
    if (!WalkLoaderList(process.get(), nt::NativeWidth, info->PebBaseAddress, take)) return false;
    // A 64-bit program lists a 32-bit process's 32-bit modules too, its
    // executable among them, as the snapshot of both widths does.
    if (nt::NativeWidth == nt::TWidth::Bits64 && peb32 != 0 &&
        !WalkLoaderList(process.get(), nt::TWidth::Bits32, peb32, take))
        return false;
    modules = std::move(found);
    image = std::move(last);
    return true;
}

}  // namespace orvex
