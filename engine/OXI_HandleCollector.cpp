// The handle list: every open handle of every process, with its object type
// and, where it can be read safely, its object name.
#include <windows.h>

#include <cstdio>
#include <unordered_map>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_NativeQuery.h"
#include "engine/OXI_ObjectNames.h"
#include "engine/pure/OXI_StuckHandles.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_WideText.h"
#include "platform/pure/Orvex_NameTables.h"
#include "platform/pure/Orvex_NtLayouts.h"

namespace orvex {

namespace {

constexpr DWORD ProcessDupHandle = 0x0040;
// A type whose name query failed this often in one pass is not asked again
// in that pass; its handles keep the table's name, as a failed query gives.
constexpr int MaxTypeQueryFailures = 3;

// The system's handle table: the extended table (XP and later) in both
// widths, for its full process ids and handle values; the classic one, whose
// ids and values are 16 bits wide, only where the system lacks the extended
// one (NT 4, 2000). A 32-bit program reading the classic table on a system
// with more than 65,535 of either would credit handles to the wrong process.
std::vector<nt::THandleEntry> ReadHandleTable() {
    std::vector<std::uint8_t> buffer;
    if (QuerySystemInformation(nt::SystemExtendedHandleInformation, 256 * 40, 0, true, buffer))
        return nt::ParseExtendedHandleTable(nt::NativeWidth, buffer.data(), buffer.size());
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
// reports, up to 1 MB); the counted string at its start, or nothing.
bool QueryObjectName(HANDLE h, OBJECT_INFORMATION_CLASS infoClass, std::vector<std::uint8_t>& work, std::string& text) {
    std::u16string wide;
    if (!QueryObjectText(h, infoClass, work, 1u << 20, wide)) return false;
    text = WideToAnsi(wide);
    return true;
}

// The creation time of process pid, 0 when it cannot be asked.
std::int64_t ProcessCreationTime(std::uint32_t pid) {
    // The limited right first (Vista and later), which protected processes grant.
    for (DWORD access :
         {static_cast<DWORD>(PROCESS_QUERY_LIMITED_INFORMATION), static_cast<DWORD>(PROCESS_QUERY_INFORMATION)}) {
        const THandle process(::OpenProcess(access, FALSE, pid));
        TNativeBlock block;
        if (process && QueryProcessBlock(process.get(), ProcessInfoTimes, block))
            if (const auto times = nt::ParseKernelUserTimes(block.Bytes, block.Size)) return times->CreateTime;
    }
    return 0;
}

// Opens each owner process once for the whole table.
class TOwnerProcesses {
public:
    HANDLE Get(std::uint32_t pid) {
        auto it = owners_.find(pid);
        if (it == owners_.end()) it = owners_.emplace(pid, THandle(::OpenProcess(ProcessDupHandle, FALSE, pid))).first;
        return it->second.get();
    }
    // The owner's creation time, read once per pass when asked; 0 when the
    // process cannot be asked.
    std::int64_t CreationTime(std::uint32_t pid) {
        auto it = created_.find(pid);
        if (it == created_.end()) it = created_.emplace(pid, ProcessCreationTime(pid)).first;
        return it->second;
    }

private:
    std::unordered_map<std::uint32_t, THandle> owners_;
    std::unordered_map<std::uint32_t, std::int64_t> created_;
};

// The type names the system gave during one pass, by the table's type
// number: a type number stands for one object type for the life of the
// system, so each type is asked once. Only successful, non-empty answers are
// kept; a type whose query fails is asked again, a few times at most.
class TTypeNames {
public:
    struct TAnswer {
        TShortString Name;
        int Index = -1;  // the name's index in ObjectTypeNames, -1 for none
    };

    const TAnswer* Known(std::uint16_t type) const {
        auto it = types_.find(type);
        return it == types_.end() ? nullptr : &it->second;
    }
    bool WorthAsking(std::uint16_t type) const {
        auto it = failures_.find(type);
        return it == failures_.end() || it->second < MaxTypeQueryFailures;
    }
    const TAnswer& Remember(std::uint16_t type, const std::string& name) {
        TAnswer& a = types_[type];
        a.Name = name;
        a.Index = FindObjectTypeIndexAnyCase(a.Name);
        return a;
    }
    void Failed(std::uint16_t type) { ++failures_[type]; }

private:
    std::unordered_map<std::uint16_t, TAnswer> types_;
    std::unordered_map<std::uint16_t, int> failures_;
};

// The handles whose name query did not return, for the life of the program
// (and of every collection in it, on whatever thread).
class TStuckHandles {
public:
    bool Knows(const THandleInfo& h, TOwnerProcesses& owners) {
        TLock lock(lock_);
        return set_.Contains(h.ProcessID, h.Handle, h.ObjectAddress, [&] { return owners.CreationTime(h.ProcessID); });
    }
    void Remember(const THandleInfo& h, std::int64_t created) {
        TLock lock(lock_);
        set_.Add({h.ProcessID, created, h.Handle, h.ObjectAddress});
    }

private:
    TCriticalSection lock_;
    TStuckHandleSet set_;
};

// Never freed: a collection may run while the program ends.
TStuckHandles& StuckHandles() {
    static TStuckHandles* handles = new TStuckHandles;
    return *handles;
}

// The names of file objects for one pass: each asked on a worker with a time
// limit, in DOS form where a drive stands for its device. A handle whose
// query did not return is remembered for the life of the program and never
// asked again; once the process has as many stuck queries as it allows, no
// more file names are asked in the pass. Either way the handle is marked as
// one whose name was not read.
class TFileNames {
public:
    TFileNames(TObjectQuery query, TOwnerProcesses& owners) : query_(query), owners_(owners), dos_(ReadDosDevices()) {}

    bool Available() const noexcept { return available_; }
    // object: a handle of this process that stays the caller's; duplicate:
    // the program's own copy of it, or empty, which the query takes over.
    void Name(HANDLE object, THandle& duplicate, THandleInfo& info) {
        if (!available_ || StuckHandles().Knows(info, owners_)) {
            info.NameNotRead = true;
            return;
        }
        std::wstring name;
        const auto result = duplicate ? query_.AskOwned(std::move(duplicate), name) : query_.Ask(object, name);
        switch (result) {
        case TBoundedQuery::TResult::Answered:
            info.Name = ToDos(WideToAnsi(name));
            break;
        case TBoundedQuery::TResult::TimedOut:
            StuckHandles().Remember(info, owners_.CreationTime(info.ProcessID));
            info.NameNotRead = true;
            break;
        case TBoundedQuery::TResult::Unavailable:
            available_ = false;
            info.NameNotRead = true;
            break;
        case TBoundedQuery::TResult::Failed:
            break;
        }
    }
    std::string ToDos(std::string_view name) const { return dos_.ToDos(name); }

private:
    TBoundedQuery query_;
    TOwnerProcesses& owners_;
    TDosNames dos_;
    bool available_ = true;
};

void NameByType(HANDLE object, THandle& duplicate, THandleInfo& info, std::vector<std::uint8_t>& work,
                TFileNames& files) {
    info.Name = "";
    char text[64];
    TNativeBlock basic;
    if (info.ObjectType == ObjectTypeProcess) {
        if (QueryProcessBlock(object, ProcessInfoBasic, basic))
            if (auto b = nt::ParseProcessBasicInfo(nt::NativeWidth, basic.Bytes, basic.Size)) {
                std::snprintf(text, sizeof text, "PID: %u", static_cast<unsigned>(b->ProcessId));
                info.Name = text;
            }
    } else if (info.ObjectType == ObjectTypeThread) {
        if (QueryThreadBlock(object, ThreadInfoBasic, basic))
            if (auto b = nt::ParseThreadBasicInfo(nt::NativeWidth, basic.Bytes, basic.Size)) {
                std::snprintf(text, sizeof text, "TID: %u (PID: %u)", static_cast<unsigned>(b->ThreadId),
                              static_cast<unsigned>(b->ProcessId));
                info.Name = text;
            }
    } else if (info.ObjectType == ObjectTypeFile) {
        // The name query of a file object can block on pipes and devices: it
        // runs on a worker with a time limit.
        files.Name(object, duplicate, info);
    } else {
        std::string name;
        if (QueryObjectName(object, static_cast<OBJECT_INFORMATION_CLASS>(1), work, name) && !name.empty())
            info.Name = files.ToDos(name);
    }
}

}  // namespace

void CollectHandles(THandleList& list) { CollectHandles(list, AskFileObjectName); }

void CollectHandles(THandleList& list, TObjectQuery fileQuery) {
    const std::vector<nt::THandleEntry> table = ReadHandleTable();
    // One reservation for the whole table (every entry but the skipped ones
    // becomes a record); growing by a fixed step costs time quadratic in the
    // number of handles.
    list.reserve(list.size() + table.size());
    const DWORD self = ::GetCurrentProcessId();
    const bool nt4 = IsNT4();
    TOwnerProcesses owners;
    TTypeNames types;
    // The system's own table answers for every type it lists: those are
    // never asked per handle.
    for (const auto& [number, name] : ReadObjectTypeTable(table)) types.Remember(number, name);
    std::vector<std::uint8_t> work(4096);
    TFileNames files(fileQuery, owners);
    for (const nt::THandleEntry& e : table) {
        if (e.HandleValue == 0) continue;
        const std::uint16_t typeFlags = TypeAndFlags(e);
        if (nt4 && e.ProcessId == 2 && typeFlags == 16) continue;
        THandleInfo& info = list.emplace_back();
        info.ProcessID = static_cast<std::uint32_t>(e.ProcessId);
        info.Handle = static_cast<std::uintptr_t>(e.HandleValue);
        info.GrantedAccess = e.GrantedAccess;
        info.ObjectAddress = static_cast<std::uintptr_t>(e.Object);
        info.ObjectType = typeFlags;
        info.TypeName = ObjectTypeName(typeFlags);

        const TTypeNames::TAnswer* known = types.Known(e.ObjectTypeIndex);
        if (known) {
            // Kept also when the duplication below fails.
            info.TypeName = known->Name;
            if (known->Index >= 0) info.ObjectType = static_cast<std::uint16_t>(known->Index);
        }
        const bool own = info.ProcessID == self;
        const bool file = known && known->Index == ObjectTypeFile;
        if (file && !files.Available()) {
            // A file handle when no file names are asked any more: nothing
            // would be read from its duplicate, so it is not duplicated.
            info.NameNotRead = true;
            continue;
        }
        if (own && TBoundedQuery::IsWorkerHandle(reinterpret_cast<HANDLE>(info.Handle))) {
            // The name workers' own handles are never asked (one may be the
            // copy of an object whose query is stuck), nor counted as unread:
            // they are the program's, not what the user asked about.
            continue;
        }

        // A handle usable here: the value itself for our own handles, a
        // duplicate for those of other processes.
        THandle duplicate;
        HANDLE object = reinterpret_cast<HANDLE>(info.Handle);
        if (!own) {
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
        if (!known && types.WorthAsking(e.ObjectTypeIndex)) {
            std::string typeName;
            if (QueryObjectName(object, static_cast<OBJECT_INFORMATION_CLASS>(2), work, typeName) && !typeName.empty())
                known = &types.Remember(e.ObjectTypeIndex, typeName);
            else
                types.Failed(e.ObjectTypeIndex);
        }
        if (known) {
            info.TypeName = known->Name;
            if (known->Index >= 0) info.ObjectType = static_cast<std::uint16_t>(known->Index);
        } else if (const int index = FindObjectTypeIndexAnyCase(info.TypeName); index >= 0) {
            info.ObjectType = static_cast<std::uint16_t>(index);
        }
        NameByType(object, duplicate, info, work, files);
    }
    list.shrink_to_fit();
}

}  // namespace orvex
