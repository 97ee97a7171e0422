// Readers of the buffers that the native system services fill: the process
// and thread list, the kernel module table, the two handle tables, the
// process and thread basic information, the counter blocks, counted UTF-16
// strings and the process environment block with its parameters.
//
// Every reader knows both the 32-bit and the 64-bit layout and takes the
// buffer as bytes. Every offset and count read from a buffer is checked
// against its size: an entry that does not fit ends the walk, a field that
// does not fit is not read. Pointer-width values are returned as 64-bit
// numbers whatever the layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/pure/Orvex_IOCounters.h"

namespace orvex::nt {

enum class TWidth { Bits32, Bits64 };
inline constexpr TWidth NativeWidth = sizeof(void*) == 8 ? TWidth::Bits64 : TWidth::Bits32;

// Information classes and process/thread query classes in use.
inline constexpr std::uint32_t SystemProcessInformation = 5;
inline constexpr std::uint32_t SystemModuleInformation = 11;
inline constexpr std::uint32_t SystemHandleInformation = 16;
inline constexpr std::uint32_t SystemExtendedHandleInformation = 64;
inline constexpr std::uint32_t StatusSuccess = 0;
inline constexpr std::uint32_t StatusBufferOverflow = 0x80000005;
inline constexpr std::uint32_t StatusInfoLengthMismatch = 0xC0000004;

// The address the buffer has in the address space that filled it; strings
// inside a buffer are given by absolute addresses.
inline std::uint64_t AddressOf(const void* p) noexcept {
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
}

// Sizes and offsets of the fixed blocks, per layout. The sizes of the blocks
// that a process or thread query fills are the exact lengths the system
// demands of the query's buffer: a query with any other length fails there.
struct TLayoutSizes {
    std::size_t ProcessBlock;        // header of one process entry
    std::size_t ThreadBlock;         // one thread entry after it
    std::size_t KernelModuleHeader;  // count (and padding) before the entries
    std::size_t KernelModuleEntry;
    std::size_t HandleHeader;  // class 16
    std::size_t HandleEntry;
    std::size_t ExtHandleHeader;  // class 64
    std::size_t ExtHandleEntry;
    std::size_t VMCounters;            // process query class 3
    std::size_t IOCounters;            // process query class 2
    std::size_t KernelUserTimes;       // process query class 4
    std::size_t ProcessBasicInfo;      // process query class 0
    std::size_t ThreadBasicInfo;       // thread query class 0
    std::size_t CountedString;         // length, maximum length, characters' address
    std::size_t PebProcessParameters;  // offset of the parameters' address in the PEB
    std::size_t ParamsImagePathName;   // offsets of counted strings in the parameters
    std::size_t ParamsCommandLine;
    std::size_t HandleCount;  // process query class 20: one 32-bit count
};
constexpr TLayoutSizes LayoutSizes(TWidth width) noexcept {
    if (width == TWidth::Bits64) return {256, 80, 8, 296, 8, 24, 16, 40, 88, 48, 32, 48, 48, 16, 0x20, 0x60, 0x70, 4};
    return {184, 64, 4, 284, 4, 16, 8, 28, 44, 48, 32, 24, 28, 8, 0x10, 0x38, 0x40, 4};
}

// Process and thread query classes with a fixed-size answer.
inline constexpr std::uint32_t ProcessClassBasic = 0;
inline constexpr std::uint32_t ProcessClassIoCounters = 2;
inline constexpr std::uint32_t ProcessClassVmCounters = 3;
inline constexpr std::uint32_t ProcessClassTimes = 4;
inline constexpr std::uint32_t ProcessClassHandleCount = 20;
// The address of a 32-bit process's own (32-bit) PEB on 64-bit Windows, 0
// for a process of the system's width: one pointer.
inline constexpr std::uint32_t ProcessClassWow64 = 26;
inline constexpr std::uint32_t ThreadClassBasic = 0;

// The buffer length a process or thread query of infoClass must be given;
// 0 for a class without a fixed-size answer known here.
constexpr std::size_t ProcessQueryLength(TWidth width, std::uint32_t infoClass) noexcept {
    const TLayoutSizes s = LayoutSizes(width);
    switch (infoClass) {
    case ProcessClassBasic:
        return s.ProcessBasicInfo;
    case ProcessClassIoCounters:
        return s.IOCounters;
    case ProcessClassVmCounters:
        return s.VMCounters;
    case ProcessClassTimes:
        return s.KernelUserTimes;
    case ProcessClassHandleCount:
        return s.HandleCount;
    case ProcessClassWow64:
        return width == TWidth::Bits64 ? 8 : 4;
    default:
        return 0;
    }
}
constexpr std::size_t ThreadQueryLength(TWidth width, std::uint32_t infoClass) noexcept {
    return infoClass == ThreadClassBasic ? LayoutSizes(width).ThreadBasicInfo : 0;
}
// Room for the largest of these answers in either layout.
inline constexpr std::size_t MaxQueryLength = 96;

// The size of a PEB or parameters prefix that holds the fields above.
std::size_t PebReadSize(TWidth width) noexcept;
std::size_t ParamsReadSize(TWidth width) noexcept;

struct TVMCountersBlock {
    std::uint64_t PeakVirtualSize = 0;
    std::uint64_t VirtualSize = 0;
    std::uint32_t PageFaultCount = 0;
    std::uint64_t PeakWorkingSetSize = 0;
    std::uint64_t WorkingSetSize = 0;
    std::uint64_t QuotaPeakPagedPoolUsage = 0;
    std::uint64_t QuotaPagedPoolUsage = 0;
    std::uint64_t QuotaPeakNonPagedPoolUsage = 0;
    std::uint64_t QuotaNonPagedPoolUsage = 0;
    std::uint64_t PagefileUsage = 0;
    std::uint64_t PeakPagefileUsage = 0;
    friend bool operator==(const TVMCountersBlock&, const TVMCountersBlock&) = default;
};

// The I/O counter block has the same six 64-bit counts in both layouts, and
// the record keeps them as they are.
using TIOCountersBlock = TIOCounters;

struct TThreadBlock {
    std::int64_t KernelTime = 0;
    std::int64_t UserTime = 0;
    std::int64_t CreateTime = 0;
    std::uint32_t WaitTime = 0;
    std::uint64_t StartAddress = 0;
    std::uint64_t ProcessId = 0;
    std::uint64_t ThreadId = 0;
    std::int32_t Priority = 0;
    std::int32_t BasePriority = 0;
    std::uint32_t ContextSwitches = 0;
    std::uint32_t ThreadState = 0;
    std::uint32_t WaitReason = 0;
};

struct TProcessBlock {
    std::uint32_t ThreadCount = 0;  // as the entry reports it
    std::int64_t CreateTime = 0;
    std::int64_t UserTime = 0;
    std::int64_t KernelTime = 0;
    std::u16string ImageName;  // empty when absent or not inside the buffer
    std::int32_t BasePriority = 0;
    std::uint64_t ProcessId = 0;
    std::uint64_t ParentProcessId = 0;
    std::uint32_t HandleCount = 0;
    std::uint32_t SessionId = 0;
    TVMCountersBlock VMCounters;
    TIOCountersBlock IOCounters;
    std::vector<TThreadBlock> Threads;  // the thread entries that lie inside the entry
};

struct TKernelModuleEntry {
    std::uint64_t Section = 0;
    std::uint64_t MappedBase = 0;
    std::uint64_t ImageBase = 0;
    std::uint32_t ImageSize = 0;
    std::uint32_t Flags = 0;
    std::uint16_t LoadOrderIndex = 0;
    std::uint16_t InitOrderIndex = 0;
    std::uint16_t LoadCount = 0;
    std::uint16_t FileNameOffset = 0;  // where the file name starts in FullPath
    std::string FullPath;              // up to the first zero byte of the 256-byte field
};

// An entry of either handle table. Class 16 gives a byte of type number and
// a byte of flags, class 64 a 16-bit type index and 32-bit attributes.
struct THandleEntry {
    std::uint64_t ProcessId = 0;
    std::uint64_t HandleValue = 0;
    std::uint64_t Object = 0;
    std::uint32_t GrantedAccess = 0;
    std::uint16_t ObjectTypeIndex = 0;
    std::uint32_t HandleAttributes = 0;
};

struct TKernelUserTimes {
    std::int64_t CreateTime = 0;
    std::int64_t ExitTime = 0;
    std::int64_t KernelTime = 0;
    std::int64_t UserTime = 0;
};

struct TProcessBasicInfo {
    std::uint32_t ExitStatus = 0;
    std::uint64_t PebBaseAddress = 0;
    std::uint64_t AffinityMask = 0;
    std::int32_t BasePriority = 0;
    std::uint64_t ProcessId = 0;
    std::uint64_t ParentProcessId = 0;
};

struct TThreadBasicInfo {
    std::uint32_t ExitStatus = 0;
    std::uint64_t TebBaseAddress = 0;
    std::uint64_t ProcessId = 0;
    std::uint64_t ThreadId = 0;
    std::uint64_t AffinityMask = 0;
    std::int32_t Priority = 0;
    std::int32_t BasePriority = 0;
};

struct TCountedString {
    std::uint16_t Length = 0;         // in bytes
    std::uint16_t MaximumLength = 0;  // in bytes
    std::uint64_t Buffer = 0;         // address of the characters
};

// Process and thread list (class 5): the chain of process entries, each with
// its thread entries. The walk ends at the entry whose next offset is 0, or
// at the first entry that does not fit in the buffer. bufferAddress is the
// address of data in the filling address space (for the image names).
std::vector<TProcessBlock> ParseSystemProcesses(TWidth width, const std::uint8_t* data, std::size_t size,
                                                std::uint64_t bufferAddress);
// The same for a buffer this process filled itself.
std::vector<TProcessBlock> ParseSystemProcesses(const std::uint8_t* data, std::size_t size);

// Kernel module table (class 11): as many entries as the count says and the
// buffer holds.
std::vector<TKernelModuleEntry> ParseKernelModules(TWidth width, const std::uint8_t* data, std::size_t size);

// Handle tables (class 16 and class 64): as many entries as the count says
// and the buffer holds.
std::vector<THandleEntry> ParseHandleTable(TWidth width, const std::uint8_t* data, std::size_t size);
std::vector<THandleEntry> ParseExtendedHandleTable(TWidth width, const std::uint8_t* data, std::size_t size);

// Object type table (object query class 3, asked without a handle): a count
// padded to the pointer width, then one entry per type, each followed by its
// name's characters and the next entry aligned to the pointer width.
inline constexpr std::uint32_t ObjectTypesInformation = 3;
struct TObjectTypeLayout {
    std::size_t Header;     // the count and its padding
    std::size_t Entry;      // one entry without its name's characters
    std::size_t TypeIndex;  // the byte the system fills with the type number (8.1 and later)
};
constexpr TObjectTypeLayout ObjectTypeLayout(TWidth width) noexcept {
    if (width == TWidth::Bits64) return {8, 104, 90};
    return {4, 96, 82};
}
struct TObjectTypeEntry {
    std::u16string Name;
    std::uint8_t TypeIndex = 0;  // 0 where the system leaves it unfilled
};
// As many entries as the count says and the buffer holds; an entry whose
// name lies outside the buffer has an empty name.
std::vector<TObjectTypeEntry> ParseObjectTypes(TWidth width, const std::uint8_t* data, std::size_t size,
                                               std::uint64_t bufferAddress);
// The first type number, told by one handle whose type number and type name
// are known: that number less the name's position in the table; empty when
// the name is not in the table (compared without regard to ASCII case) or
// its position lies above the number.
struct TKnownObjectType {
    std::uint16_t Number = 0;
    std::u16string Name;
};
std::optional<std::uint16_t> FirstObjectTypeNumber(const std::vector<TObjectTypeEntry>& types,
                                                   const TKnownObjectType& known);
// The type number each entry stands for in the handle tables: its TypeIndex
// when the system filled them and they agree with the known handle's type
// (when one is given); otherwise its position plus the first number that the
// known handle tells, or plus guessedFirst when none tells it.
std::vector<std::uint16_t> ObjectTypeNumbers(const std::vector<TObjectTypeEntry>& types, std::uint16_t guessedFirst,
                                             const std::optional<TKnownObjectType>& known = std::nullopt);

// Fixed blocks; empty when the buffer is shorter than the block.
std::optional<TVMCountersBlock> ParseVMCounters(TWidth width, const std::uint8_t* data, std::size_t size);
std::optional<TIOCountersBlock> ParseIOCounters(const std::uint8_t* data, std::size_t size);
std::optional<TKernelUserTimes> ParseKernelUserTimes(const std::uint8_t* data, std::size_t size);
std::optional<TProcessBasicInfo> ParseProcessBasicInfo(TWidth width, const std::uint8_t* data, std::size_t size);
std::optional<TThreadBasicInfo> ParseThreadBasicInfo(TWidth width, const std::uint8_t* data, std::size_t size);

// A counted string header at offset.
std::optional<TCountedString> ParseCountedString(TWidth width, const std::uint8_t* data, std::size_t size,
                                                 std::size_t offset);
// The characters of a counted string that lie in the buffer at bufferAddress;
// empty when they are absent or not wholly inside it. An odd byte length
// drops its last byte.
std::u16string CountedStringText(const TCountedString& s, const std::uint8_t* data, std::size_t size,
                                 std::uint64_t bufferAddress);
// The object name or type information of the object query: a counted string
// at the start of the buffer with its characters inside the buffer.
std::u16string ParseObjectInfoName(TWidth width, const std::uint8_t* data, std::size_t size,
                                   std::uint64_t bufferAddress);

// The process environment block prefix: the address of the parameters block.
std::optional<std::uint64_t> ParsePebProcessParameters(TWidth width, const std::uint8_t* data, std::size_t size);
// The parameters block prefix: the command line and the image path strings.
std::optional<TCountedString> ParseParamsCommandLine(TWidth width, const std::uint8_t* data, std::size_t size);
std::optional<TCountedString> ParseParamsImagePath(TWidth width, const std::uint8_t* data, std::size_t size);

// The loader data of a process: the PEB holds its address; its load-order
// list of modules is a ring of entries linked through their first field,
// whose head lies in the loader data itself.
struct TLoaderLayout {
    std::size_t PebLoaderData;  // offset of the loader data's address in the PEB
    std::size_t LoadOrderHead;  // offset of the list head in the loader data
    std::size_t EntryDllBase;   // offsets in one entry
    std::size_t EntryPoint;
    std::size_t EntrySizeOfImage;
    std::size_t EntryFullName;  // a counted string
};
constexpr TLoaderLayout LoaderLayout(TWidth width) noexcept {
    if (width == TWidth::Bits64) return {0x18, 0x10, 0x30, 0x38, 0x40, 0x48};
    return {0x0C, 0x0C, 0x18, 0x1C, 0x20, 0x24};
}
// One entry of the load-order list, as far as it is read.
struct TLoaderEntry {
    std::uint64_t Next = 0;  // the next entry's address (the head's after the last)
    std::uint64_t DllBase = 0;
    std::uint64_t EntryPoint = 0;
    std::uint32_t SizeOfImage = 0;
    TCountedString FullName;
};
// The bytes of an entry that hold the fields above.
std::size_t LoaderEntryReadSize(TWidth width) noexcept;
// The PEB prefix (PebReadSize bytes): the address of the loader data.
std::optional<std::uint64_t> ParsePebLoaderData(TWidth width, const std::uint8_t* data, std::size_t size);
std::optional<TLoaderEntry> ParseLoaderEntry(TWidth width, const std::uint8_t* data, std::size_t size);

// UTF-16 characters of a raw buffer up to the first zero character or the
// end of the buffer (an odd last byte is dropped).
std::u16string Utf16UpToZero(const std::uint8_t* data, std::size_t size);

}  // namespace orvex::nt
