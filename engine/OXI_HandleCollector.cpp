// The handle list: every open handle of every process, with its object type
// and, where it can be read safely, its object name.
#include <windows.h>

#include <cstdio>
#include <unordered_map>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_NativeQuery.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_WideText.h"
#include "platform/pure/Orvex_NtLayouts.h"
#include "platform/pure/Orvex_TextCase.h"

namespace orvex {

namespace {

constexpr DWORD ProcessDupHandle = 0x0040;
constexpr std::uint16_t TypeProcess = 5;
constexpr std::uint16_t TypeThread = 6;
constexpr std::uint16_t TypeFile = 26;
constexpr std::size_t HandleGrowth = 100;

// The system's handle table: the extended table where the system has it
// (64-bit values), the classic one otherwise.
std::vector<nt::THandleEntry> ReadHandleTable() {
    std::vector<std::uint8_t> buffer;
#ifdef _WIN64
    if (QuerySystemInformation(nt::SystemExtendedHandleInformation, 256 * 40, 0, true, buffer))
        return nt::ParseExtendedHandleTable(nt::NativeWidth, buffer.data(), buffer.size());
#endif
    if (QuerySystemInformation(nt::SystemHandleInformation, 256 * 16, 0, true, buffer))
        return nt::ParseHandleTable(nt::NativeWidth, buffer.data(), buffer.size());
    return {};
}

// The 16-bit value of the classic table: type number in the low byte, handle
// flags in the high byte.
std::uint16_t TypeAndFlags(const nt::THandleEntry& e) {
    return static_cast<std::uint16_t>((e.ObjectTypeIndex & 0xFF) | ((e.HandleAttributes & 0xFF) << 8));
}

// Object information of class infoClass into work (grown to what the query
// reports); the counted string at its start, or nothing.
bool QueryObjectName(HANDLE h, OBJECT_INFORMATION_CLASS infoClass, std::vector<std::uint8_t>& work,
                     std::string& text) {
    if (!NtQueryObject) return false;
    for (int attempt = 0; attempt < 3; ++attempt) {
        ULONG needed = 0;
        const NTSTATUS status =
            NtQueryObject(h, infoClass, work.data(), static_cast<ULONG>(work.size()), &needed);
        if (status == StatusSuccess) {
            text = WideToAnsi(nt::ParseObjectInfoName(nt::NativeWidth, work.data(), work.size(),
                                                      nt::AddressOf(work.data())));
            return true;
        }
        if (needed <= work.size() || needed > (1u << 20)) return false;
        work.resize(needed);
    }
    return false;
}

// Opens each owner process once for the whole table.
class TOwnerProcesses {
public:
    HANDLE Get(std::uint32_t pid) {
        auto it = owners_.find(pid);
        if (it == owners_.end())
            it = owners_.emplace(pid, THandle(::OpenProcess(ProcessDupHandle, FALSE, pid))).first;
        return it->second.get();
    }

private:
    std::unordered_map<std::uint32_t, THandle> owners_;
};

void NameByType(HANDLE object, THandleInfo& info, std::vector<std::uint8_t>& work) {
    info.Name = "";
    char text[64];
    TNativeBlock basic;
    if (info.ObjectType == TypeProcess) {
        if (QueryProcessBlock(object, ProcessInfoBasic, basic))
            if (auto b = nt::ParseProcessBasicInfo(nt::NativeWidth, basic.Bytes, basic.Size)) {
                std::snprintf(text, sizeof text, "PID: %u", static_cast<unsigned>(b->ProcessId));
                info.Name = text;
            }
    } else if (info.ObjectType == TypeThread) {
        if (QueryThreadBlock(object, ThreadInfoBasic, basic))
            if (auto b = nt::ParseThreadBasicInfo(nt::NativeWidth, basic.Bytes, basic.Size)) {
                std::snprintf(text, sizeof text, "TID: %u (PID: %u)", static_cast<unsigned>(b->ThreadId),
                              static_cast<unsigned>(b->ProcessId));
                info.Name = text;
            }
    } else if (info.ObjectType != TypeFile) {
        // The name of a file object is never asked for: the query can block
        // on pipes and devices.
        std::string name;
        if (QueryObjectName(object, static_cast<OBJECT_INFORMATION_CLASS>(1), work, name) && !name.empty())
            info.Name = name;
    }
}

}  // namespace

void CollectHandles(THandleList& list) {
    const std::vector<nt::THandleEntry> table = ReadHandleTable();
    list.reserve(HandleGrowth);
    const DWORD self = ::GetCurrentProcessId();
    const bool nt4 = IsNT4();
    TOwnerProcesses owners;
    std::vector<std::uint8_t> work(4096);
    for (const nt::THandleEntry& e : table) {
        if (e.HandleValue == 0) continue;
        const std::uint16_t typeFlags = TypeAndFlags(e);
        if (nt4 && e.ProcessId == 2 && typeFlags == 16) continue;
        if (list.size() == list.capacity()) list.reserve(list.capacity() + HandleGrowth);
        THandleInfo& info = list.emplace_back();
        info.ProcessID = static_cast<std::uint32_t>(e.ProcessId);
        info.Handle = static_cast<std::uintptr_t>(e.HandleValue);
        info.GrantedAccess = e.GrantedAccess;
        info.ObjectAddress = static_cast<std::uintptr_t>(e.Object);
        info.ObjectType = typeFlags;
        info.TypeName = ObjectTypeName(typeFlags);

        // A handle usable here: the value itself for our own handles, a
        // duplicate for those of other processes.
        THandle duplicate;
        HANDLE object = reinterpret_cast<HANDLE>(info.Handle);
        if (info.ProcessID != self) {
            HANDLE owner = owners.Get(info.ProcessID);
            HANDLE copy = nullptr;
            if (!owner || !NtDuplicateObject ||
                NtDuplicateObject(owner, object, ::GetCurrentProcess(), &copy, 0, 0, DUPLICATE_SAME_ACCESS) !=
                    StatusSuccess ||
                !copy)
                continue;
            duplicate.reset(copy);
            object = copy;
        }

        // A type query that succeeds with an empty name (Wine does this for
        // some objects) keeps the table's name.
        std::string typeName;
        if (QueryObjectName(object, static_cast<OBJECT_INFORMATION_CLASS>(2), work, typeName) && !typeName.empty())
            info.TypeName = typeName;
        for (std::size_t i = 0; i < ObjectTypeNames.size(); ++i)
            if (SameText(info.TypeName, ObjectTypeNames[i])) info.ObjectType = static_cast<std::uint16_t>(i);
        NameByType(object, info, work);
    }
    list.shrink_to_fit();
}

}  // namespace orvex
