// The inventory records: processes with their threads, modules and token
// data, loaded kernel drivers, services, open handles and windows.
//
// Records are plain values: every field starts zero or empty, a copy shares
// nothing with its source, and text fields hold at most 255 bytes, paths
// every path a program can start from (the cut happens on assignment, at a
// character boundary: TShortString, TPathString). Address-like fields (bases, start
// and entry addresses, object addresses, window, instance, module, brush,
// cursor and icon handles, window procedures) are pointer-width.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/pure/Orvex_IOCounters.h"
#include "platform/pure/Orvex_ShortString.h"
#include "platform/pure/Orvex_TokenRecords.h"
#include "platform/pure/Orvex_WindowRecord.h"

namespace orvex {

// Which collectors a refresh runs. The ordinals are the bit numbers of the
// stored detection range.
enum TDetectionType : std::uint8_t {
    dtProcesses = 0,
    dtServices = 1,
    dtDrivers = 2,
    dtHandles = 3,
    dtWindows = 4,
};

// A set of detection types, held in one byte (bit n for the type of ordinal n).
class TDetectionRange {
public:
    static constexpr std::uint8_t AllBits = 0x1F;

    constexpr TDetectionRange() noexcept = default;
    constexpr TDetectionRange(std::initializer_list<TDetectionType> types) noexcept {
        for (TDetectionType t : types) insert(t);
    }
    // From the stored byte; bits that name no type are dropped.
    static constexpr TDetectionRange FromBits(std::uint8_t bits) noexcept {
        TDetectionRange r;
        r.bits_ = static_cast<std::uint8_t>(bits & AllBits);
        return r;
    }
    static constexpr TDetectionRange All() noexcept { return FromBits(AllBits); }

    constexpr std::uint8_t bits() const noexcept { return bits_; }
    constexpr bool contains(TDetectionType t) const noexcept { return (bits_ & Bit(t)) != 0; }
    constexpr bool empty() const noexcept { return bits_ == 0; }
    constexpr TDetectionRange& insert(TDetectionType t) noexcept {
        bits_ = static_cast<std::uint8_t>(bits_ | Bit(t));
        return *this;
    }
    constexpr TDetectionRange& erase(TDetectionType t) noexcept {
        bits_ = static_cast<std::uint8_t>(bits_ & ~Bit(t));
        return *this;
    }

    friend constexpr bool operator==(TDetectionRange a, TDetectionRange b) noexcept { return a.bits_ == b.bits_; }

private:
    static constexpr std::uint8_t Bit(TDetectionType t) noexcept {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(t));
    }
    std::uint8_t bits_ = 0;
};

// Memory counters of a process, in the order of the system's counter block.
// Sizes are in bytes.
struct TVMCounters {
    std::uintptr_t PeakVirtualSize = 0;
    std::uintptr_t VirtualSize = 0;
    std::uint32_t PageFaultCount = 0;
    std::uintptr_t PeakWorkingSetSize = 0;
    std::uintptr_t WorkingSetSize = 0;
    std::uintptr_t QuotaPeakPagedPoolUsage = 0;
    std::uintptr_t QuotaPagedPoolUsage = 0;
    std::uintptr_t QuotaPeakNonPagedPoolUsage = 0;
    std::uintptr_t QuotaNonPagedPoolUsage = 0;
    std::uintptr_t PagefileUsage = 0;
    std::uintptr_t PeakPagefileUsage = 0;
    friend bool operator==(const TVMCounters&, const TVMCounters&) = default;
};

// One thread. Times are counts of 100-nanosecond units (CreateTime a point in
// time from 1601-01-01 UTC, the others durations). The snapshot collector
// fills only OwnerPID, TID, Priority and BasePriority.
struct TThreadInfo {
    std::int64_t KernelTime = 0;
    std::int64_t UserTime = 0;
    std::int64_t CreateTime = 0;
    std::uint32_t WaitTime = 0;  // tick count when the thread last started waiting
    std::uintptr_t StartAddress = 0;
    std::uint32_t OwnerPID = 0;
    std::uint32_t TID = 0;
    std::int32_t Priority = 0;  // current priority
    std::int32_t BasePriority = 0;
    std::uint32_t ContextSwitches = 0;
    std::uint32_t ThreadState = 0;  // index into ThreadStateNames
    std::uint32_t WaitReason = 0;   // index into WaitReasonNames
    friend bool operator==(const TThreadInfo&, const TThreadInfo&) = default;
};
using TThreadList = std::vector<TThreadInfo>;

// One loaded module of a process.
struct TModuleInfo {
    TShortString Name;       // file name without directory
    TPathString ImageName;   // full path of the module file
    std::uint32_t Size = 0;  // size of the mapped image in bytes
    std::uintptr_t EntryPoint = 0;
    std::uintptr_t Base = 0;
    // The file's check, when one was asked for (empty otherwise): its
    // signer as TrustText gives it, and its SHA-256 in hexadecimal.
    TShortString Signer;
    TShortString Sha256;
    friend bool operator==(const TModuleInfo&, const TModuleInfo&) = default;
};
using TModuleList = std::vector<TModuleInfo>;

// One process.
struct TProcessInfo {
    std::uint32_t PID = 0;
    TShortString Name;      // base name of the executable
    TPathString ImageName;  // full path of the executable
    TShortString UserName;  // "domain/account", or the bare account
    std::int32_t Priority = 0;
    std::uint32_t Usage = 0;
    std::uint32_t ParentPID = 0;
    std::uint32_t HandleCount = 0;
    std::uint32_t ThreadCount = 0;
    std::uintptr_t HeapID = 0;  // default heap identifier
    std::uint32_t ModuleID = 0;
    std::int64_t CreateTime = 0;  // point in time
    std::int64_t UserTime = 0;    // duration
    std::int64_t KernelTime = 0;  // duration
    TShortString Signer;          // of the executable, as for modules
    TShortString Sha256;
    TVMCounters VMCounters;
    TIOCounters IOCounters;
    TModuleList Modules;
    TThreadList Threads;
    TPrivilegeList Privileges;
    TTokenGroupList Groups;
};
using TProcList = std::vector<TProcessInfo>;

// One loaded kernel module. The collector decides which word of the system's
// module entry each field receives.
struct TDriverInfo {
    TPathString Name;  // full path as the system reports it
    std::uint32_t LoadCount = 0;
    std::uint32_t Flags = 0;
    std::uintptr_t Base = 0;
    std::int64_t Size = 0;
    TShortString Signer;  // of the file, as for modules
    TShortString Sha256;
    friend bool operator==(const TDriverInfo&, const TDriverInfo&) = default;
};
using TDriverList = std::vector<TDriverInfo>;

// One service of the Win32 kinds.
struct TServiceInfo {
    TShortString DependOnService;  // key names separated by single blanks
    TShortString DisplayName;
    TShortString Name;        // key name
    TPathString ImageName;    // command line without double quotes
    TShortString ObjectName;  // account the service runs as
    TShortString Group;       // load-order group
    TShortString Description;
    std::int32_t Startup = 0;  // start type, 0 boot to 4 disabled
    std::int32_t Status = 0;   // current state 1 to 7, -1 when unknown
    std::uint32_t Tag = 0;
    std::uint32_t ErrCtrl = 0;
    std::int32_t Typ = 0;  // service type index 0 to 6
    friend bool operator==(const TServiceInfo&, const TServiceInfo&) = default;
};
using TServiceList = std::vector<TServiceInfo>;

// One open handle of some process.
struct THandleInfo {
    std::uint32_t ProcessID = 0;   // owner of the handle
    std::uintptr_t Handle = 0;     // handle value within the owner
    std::uint16_t ObjectType = 0;  // index into ObjectTypeNames once named
    std::uint32_t GrantedAccess = 0;
    std::uintptr_t ObjectAddress = 0;  // kernel address of the object
    TPathString Name;                  // a file's path, among others
    TShortString TypeName;
    // A file handle whose name was not read because name queries do not
    // return: its own query, or every worker's, is stuck.
    bool NameNotRead = false;
    friend bool operator==(const THandleInfo&, const THandleInfo&) = default;
};
using THandleList = std::vector<THandleInfo>;

}  // namespace orvex
