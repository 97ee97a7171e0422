// The native system services of NTDLL.DLL, bound by name at run time.
//
// BindNative binds the library and the sixteen slots below, on the NT family
// only; elsewhere every slot stays null. The slots carry the services' own
// signatures. They live in namespace orvex and share their names with the
// SDK's declarations of the same services, so a caller outside the namespace
// always qualifies them:
//
//     ULONG needed = 0;
//     NTSTATUS status = orvex::NtQuerySystemInformation(orvex::InfoClassProcesses, buffer, size, &needed);
//
// Code inside namespace orvex finds the slot first with an unqualified call;
// it never combines `using namespace orvex` with the SDK declarations.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Orvex_LibraryBinding.h"
#include "platform/pure/Orvex_NameTables.h"  // WaitReasonNames, ThreadStateNames, ObjectTypeNames
#include "platform/pure/Orvex_NtLayouts.h"

namespace orvex {

// Second argument of NtMapViewOfSection.
enum TSectionInherit : int { ViewShare = 1, ViewUnmap = 2 };

using TNtQueryInformationToken = NTSTATUS(NTAPI*)(HANDLE TokenHandle, TOKEN_INFORMATION_CLASS TokenInformationClass,
                                                  PVOID TokenInformation, ULONG TokenInformationLength,
                                                  PULONG ReturnLength);
using TNtOpenProcessToken = NTSTATUS(NTAPI*)(HANDLE ProcessHandle, ACCESS_MASK DesiredAccess, PHANDLE TokenHandle);
using TNtOpenSection = NTSTATUS(NTAPI*)(PHANDLE SectionHandle, ACCESS_MASK DesiredAccess,
                                        POBJECT_ATTRIBUTES ObjectAttributes);
using TNtClose = decltype(&::NtClose);
using TNtOpenProcess = NTSTATUS(NTAPI*)(PHANDLE ProcessHandle, ACCESS_MASK DesiredAccess,
                                        POBJECT_ATTRIBUTES ObjectAttributes, PCLIENT_ID ClientId);
using TNtQuerySystemInformation = decltype(&::NtQuerySystemInformation);
using TNtCreateSection = NTSTATUS(NTAPI*)(PHANDLE SectionHandle, ACCESS_MASK DesiredAccess,
                                          POBJECT_ATTRIBUTES ObjectAttributes, PLARGE_INTEGER MaximumSize,
                                          ULONG SectionPageProtection, ULONG AllocationAttributes, HANDLE FileHandle);
using TNtMapViewOfSection = NTSTATUS(NTAPI*)(HANDLE SectionHandle, HANDLE ProcessHandle, PVOID* BaseAddress,
                                             ULONG_PTR ZeroBits, SIZE_T CommitSize, PLARGE_INTEGER SectionOffset,
                                             PSIZE_T ViewSize, TSectionInherit InheritDisposition, ULONG AllocationType,
                                             ULONG Win32Protect);
using TNtUnmapViewOfSection = NTSTATUS(NTAPI*)(HANDLE ProcessHandle, PVOID BaseAddress);
using TNtOpenFile = decltype(&::NtOpenFile);
using TNtCreateFile = decltype(&::NtCreateFile);
using TNtQueryObject = decltype(&::NtQueryObject);
using TNtQueryInformationProcess = decltype(&::NtQueryInformationProcess);
using TNtQueryInformationThread = decltype(&::NtQueryInformationThread);
using TNtQueryInformationFile = decltype(&::NtQueryInformationFile);
using TNtDuplicateObject = NTSTATUS(NTAPI*)(HANDLE SourceProcessHandle, HANDLE SourceHandle, HANDLE TargetProcessHandle,
                                            PHANDLE TargetHandle, ACCESS_MASK DesiredAccess, ULONG HandleAttributes,
                                            ULONG Options);

// The slots, in binding order; null until bound and when the name is absent.
extern TNtQueryInformationToken NtQueryInformationToken;
extern TNtOpenProcessToken NtOpenProcessToken;
extern TNtOpenSection NtOpenSection;
extern TNtClose NtClose;
extern TNtOpenProcess NtOpenProcess;
extern TNtQuerySystemInformation NtQuerySystemInformation;
extern TNtCreateSection NtCreateSection;
extern TNtMapViewOfSection NtMapViewOfSection;
extern TNtUnmapViewOfSection NtUnmapViewOfSection;
extern TNtOpenFile NtOpenFile;
extern TNtCreateFile NtCreateFile;
extern TNtQueryObject NtQueryObject;
extern TNtQueryInformationProcess NtQueryInformationProcess;
extern TNtQueryInformationThread NtQueryInformationThread;
extern TNtQueryInformationFile NtQueryInformationFile;
extern TNtDuplicateObject NtDuplicateObject;

// Status values of the queries. A caller that gets one of the two "too small"
// values grows its buffer and asks again.
inline constexpr NTSTATUS StatusSuccess = 0;
inline constexpr NTSTATUS StatusInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004u);
inline constexpr NTSTATUS StatusBufferOverflow = static_cast<NTSTATUS>(0x80000005u);
constexpr bool NeedsLargerBuffer(NTSTATUS status) noexcept {
    return status == StatusInfoLengthMismatch || status == StatusBufferOverflow;
}

// The information classes the program asks for.
inline constexpr SYSTEM_INFORMATION_CLASS InfoClassProcesses = static_cast<SYSTEM_INFORMATION_CLASS>(5);
inline constexpr SYSTEM_INFORMATION_CLASS InfoClassKernelModules = static_cast<SYSTEM_INFORMATION_CLASS>(11);
inline constexpr SYSTEM_INFORMATION_CLASS InfoClassHandles = static_cast<SYSTEM_INFORMATION_CLASS>(16);
inline constexpr PROCESSINFOCLASS ProcessInfoBasic = static_cast<PROCESSINFOCLASS>(0);
inline constexpr PROCESSINFOCLASS ProcessInfoIoCounters = static_cast<PROCESSINFOCLASS>(2);
inline constexpr PROCESSINFOCLASS ProcessInfoVmCounters = static_cast<PROCESSINFOCLASS>(3);
inline constexpr PROCESSINFOCLASS ProcessInfoTimes = static_cast<PROCESSINFOCLASS>(4);
inline constexpr PROCESSINFOCLASS ProcessInfoHandleCount = static_cast<PROCESSINFOCLASS>(20);
inline constexpr PROCESSINFOCLASS ProcessInfoWow64 = static_cast<PROCESSINFOCLASS>(nt::ProcessClassWow64);
inline constexpr THREADINFOCLASS ThreadInfoBasic = static_cast<THREADINFOCLASS>(0);

// The answer of one fixed-size process or thread query, aligned as the
// system requires.
struct alignas(8) TNativeBlock {
    std::uint8_t Bytes[nt::MaxQueryLength] = {};
    std::size_t Size = 0;  // the length asked for and filled
};

// Asks the process (or thread) query of infoClass for its answer with exactly
// the length its structure has in this build's layout (see
// nt::ProcessQueryLength): the system rejects any other length. False, with
// block untouched, for a class of no known length, an unbound slot or a
// failed query.
bool QueryProcessBlock(HANDLE process, PROCESSINFOCLASS infoClass, TNativeBlock& block) noexcept;
bool QueryThreadBlock(HANDLE thread, THREADINFOCLASS infoClass, TNativeBlock& block) noexcept;

// Reads size bytes at address in another process (opened with read access)
// into data. False, with data untouched, when the address lies beyond this
// program's reach or the read fails or falls short.
bool ReadProcessBytes(HANDLE process, std::uint64_t address, std::size_t size, std::vector<std::uint8_t>& data);

// Binds "NTDLL.DLL" and all slots when the platform is of the NT family.
// True when the library is bound and NtQueryObject was found. Elsewhere no
// library is touched and the result is false.
bool BindNative() noexcept;
// Frees the library when this unit loaded it (it never does on NT, where the
// library is always mapped). Throws EUnloadError when freeing fails.
void ReleaseNative();
// The binding state: handle, owned flag and the slot table.
const TLibraryBinding& NativeLibrary() noexcept;

}  // namespace orvex
