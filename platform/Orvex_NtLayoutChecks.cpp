// The layout table of the native buffers (nt::LayoutSizes) against the SDK's
// own declarations of the same structures, for the width of this build; the
// structures the SDK does not declare are written out here as the platform
// documents them. Nothing in this file runs: a table entry that differs from
// the platform's structure stops the build.
#include <windows.h>
#include <winternl.h>

#include <cstddef>

#include "platform/pure/Orvex_NtLayouts.h"

namespace orvex::nt {
namespace {

constexpr TLayoutSizes Sizes = LayoutSizes(NativeWidth);

// Thread query class 0.
struct TThreadBasicInformation {
    NTSTATUS ExitStatus;
    PVOID TebBaseAddress;
    CLIENT_ID ClientId;
    KAFFINITY AffinityMask;
    KPRIORITY Priority;
    KPRIORITY BasePriority;
};

// System information class 11: a count, then the entries.
struct TKernelModule {
    HANDLE Section;
    PVOID MappedBase;
    PVOID ImageBase;
    ULONG ImageSize;
    ULONG Flags;
    USHORT LoadOrderIndex;
    USHORT InitOrderIndex;
    USHORT LoadCount;
    USHORT OffsetToFileName;
    UCHAR FullPathName[256];
};
struct TKernelModules {
    ULONG NumberOfModules;
    TKernelModule Modules[1];
};

// System information class 64: a count and a reserved word, then the entries.
struct TExtHandleEntry {
    PVOID Object;
    ULONG_PTR UniqueProcessId;
    ULONG_PTR HandleValue;
    ULONG GrantedAccess;
    USHORT CreatorBackTraceIndex;
    USHORT ObjectTypeIndex;
    ULONG HandleAttributes;
    ULONG Reserved;
};
struct TExtHandleTable {
    ULONG_PTR NumberOfHandles;
    ULONG_PTR Reserved;
    TExtHandleEntry Handles[1];
};

// The answers of the process and thread queries.
static_assert(Sizes.ProcessBasicInfo == sizeof(PROCESS_BASIC_INFORMATION));
static_assert(Sizes.IOCounters == sizeof(IO_COUNTERS));
static_assert(Sizes.VMCounters == sizeof(VM_COUNTERS));
static_assert(Sizes.KernelUserTimes == sizeof(KERNEL_USER_TIMES));
static_assert(Sizes.HandleCount == sizeof(ULONG));
static_assert(Sizes.ThreadBasicInfo == sizeof(TThreadBasicInformation));
static_assert(ProcessQueryLength(NativeWidth, ProcessClassBasic) == sizeof(PROCESS_BASIC_INFORMATION));
static_assert(ProcessQueryLength(NativeWidth, ProcessClassIoCounters) == sizeof(IO_COUNTERS));
static_assert(ProcessQueryLength(NativeWidth, ProcessClassVmCounters) == sizeof(VM_COUNTERS));
static_assert(ProcessQueryLength(NativeWidth, ProcessClassTimes) == sizeof(KERNEL_USER_TIMES));
static_assert(ProcessQueryLength(NativeWidth, ProcessClassHandleCount) == sizeof(ULONG));
static_assert(ProcessQueryLength(NativeWidth, ProcessClassWow64) == sizeof(ULONG_PTR));
static_assert(ThreadQueryLength(NativeWidth, ThreadClassBasic) == sizeof(TThreadBasicInformation));
static_assert(MaxQueryLength >= sizeof(PROCESS_BASIC_INFORMATION) && MaxQueryLength >= sizeof(VM_COUNTERS) &&
              MaxQueryLength >= sizeof(IO_COUNTERS) && MaxQueryLength >= sizeof(KERNEL_USER_TIMES) &&
              MaxQueryLength >= sizeof(TThreadBasicInformation));

// The process and thread list.
static_assert(Sizes.ProcessBlock == sizeof(SYSTEM_PROCESS_INFORMATION));
static_assert(Sizes.ThreadBlock == sizeof(SYSTEM_THREAD_INFORMATION));
static_assert(Sizes.ThreadBlock == sizeof(SYSTEM_THREADS));
static_assert(Sizes.CountedString == sizeof(UNICODE_STRING));

// The kernel module table and the two handle tables.
static_assert(Sizes.KernelModuleEntry == sizeof(TKernelModule));
static_assert(Sizes.KernelModuleHeader == offsetof(TKernelModules, Modules));
static_assert(Sizes.HandleEntry == sizeof(SYSTEM_HANDLE_ENTRY));
static_assert(Sizes.HandleHeader == offsetof(SYSTEM_HANDLE_INFORMATION, Handle));
static_assert(Sizes.ExtHandleEntry == sizeof(TExtHandleEntry));
static_assert(Sizes.ExtHandleHeader == offsetof(TExtHandleTable, Handles));

// The environment block and its parameters.
static_assert(Sizes.PebProcessParameters == offsetof(PEB, ProcessParameters));
static_assert(Sizes.ParamsImagePathName == offsetof(RTL_USER_PROCESS_PARAMETERS, ImagePathName));
static_assert(Sizes.ParamsCommandLine == offsetof(RTL_USER_PROCESS_PARAMETERS, CommandLine));

// The loader data and its load-order entries: the SDK declares the list head
// and the entry's first links as reserved fields before the ones it names.
constexpr TLoaderLayout Loader = LoaderLayout(NativeWidth);
static_assert(Loader.PebLoaderData == offsetof(PEB, Ldr));
static_assert(Loader.PebLoaderData < Sizes.PebProcessParameters);  // within the PEB prefix read
static_assert(Loader.LoadOrderHead == offsetof(PEB_LDR_DATA, Reserved2) + sizeof(PVOID));
static_assert(Loader.LoadOrderHead + sizeof(LIST_ENTRY) == offsetof(PEB_LDR_DATA, InMemoryOrderModuleList));
static_assert(offsetof(LDR_DATA_TABLE_ENTRY, Reserved1) == 0 && sizeof(LIST_ENTRY) == 2 * sizeof(PVOID));
static_assert(Loader.EntryDllBase == offsetof(LDR_DATA_TABLE_ENTRY, DllBase));
static_assert(Loader.EntryPoint == offsetof(LDR_DATA_TABLE_ENTRY, Reserved3));
static_assert(Loader.EntrySizeOfImage == offsetof(LDR_DATA_TABLE_ENTRY, Reserved3) + sizeof(PVOID));
static_assert(Loader.EntryFullName == offsetof(LDR_DATA_TABLE_ENTRY, FullDllName));

// The object type table: the entry as the SDK declares it (the byte after
// MaintainHandleCount, padding there, is the type number on newer systems).
constexpr TObjectTypeLayout TypeLayout = ObjectTypeLayout(NativeWidth);
static_assert(TypeLayout.Entry == sizeof(OBJECT_TYPE_INFORMATION));
static_assert(TypeLayout.Entry == sizeof(PUBLIC_OBJECT_TYPE_INFORMATION));
static_assert(TypeLayout.TypeIndex == offsetof(OBJECT_TYPE_INFORMATION, MaintainHandleCount) + 1);
static_assert(TypeLayout.Header == offsetof(OBJECT_ALL_INFORMATION, ObjectTypeInformation));

}  // namespace
}  // namespace orvex::nt
