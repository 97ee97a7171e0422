#include "platform/Orvex_Native.h"

namespace orvex {

TNtQueryInformationToken NtQueryInformationToken = nullptr;
TNtOpenProcessToken NtOpenProcessToken = nullptr;
TNtOpenSection NtOpenSection = nullptr;
TNtClose NtClose = nullptr;
TNtOpenProcess NtOpenProcess = nullptr;
TNtQuerySystemInformation NtQuerySystemInformation = nullptr;
TNtCreateSection NtCreateSection = nullptr;
TNtMapViewOfSection NtMapViewOfSection = nullptr;
TNtUnmapViewOfSection NtUnmapViewOfSection = nullptr;
TNtOpenFile NtOpenFile = nullptr;
TNtCreateFile NtCreateFile = nullptr;
TNtQueryObject NtQueryObject = nullptr;
TNtQueryInformationProcess NtQueryInformationProcess = nullptr;
TNtQueryInformationThread NtQueryInformationThread = nullptr;
TNtQueryInformationFile NtQueryInformationFile = nullptr;
TNtDuplicateObject NtDuplicateObject = nullptr;

namespace {

constexpr TSlotBinding NativeSlots[] = {
    BindSlot<NtQueryInformationToken>("NtQueryInformationToken"),
    BindSlot<NtOpenProcessToken>("NtOpenProcessToken"),
    BindSlot<NtOpenSection>("NtOpenSection"),
    BindSlot<NtClose>("NtClose"),
    BindSlot<NtOpenProcess>("NtOpenProcess"),
    BindSlot<NtQuerySystemInformation>("NtQuerySystemInformation"),
    BindSlot<NtCreateSection>("NtCreateSection"),
    BindSlot<NtMapViewOfSection>("NtMapViewOfSection"),
    BindSlot<NtUnmapViewOfSection>("NtUnmapViewOfSection"),
    BindSlot<NtOpenFile>("NtOpenFile"),
    BindSlot<NtCreateFile>("NtCreateFile"),
    BindSlot<NtQueryObject>("NtQueryObject"),
    BindSlot<NtQueryInformationProcess>("NtQueryInformationProcess"),
    BindSlot<NtQueryInformationThread>("NtQueryInformationThread"),
    BindSlot<NtQueryInformationFile>("NtQueryInformationFile"),
    BindSlot<NtDuplicateObject>("NtDuplicateObject"),
};

constinit TLibraryBinding Native("NTDLL.DLL", NativeSlots);

bool IsNtPlatform() noexcept {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    return ::GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

bool BindNative() noexcept {
    if (!IsNtPlatform()) return false;
    return Native.Bind() && NtQueryObject != nullptr;
}

void ReleaseNative() { Native.Release(); }

const TLibraryBinding& NativeLibrary() noexcept { return Native; }

bool QueryProcessBlock(HANDLE process, PROCESSINFOCLASS infoClass, TNativeBlock& block) noexcept {
    const std::size_t length = nt::ProcessQueryLength(nt::NativeWidth, static_cast<std::uint32_t>(infoClass));
    if (!NtQueryInformationProcess || length == 0) return false;
    TNativeBlock answer;
    ULONG returned = 0;
    if (NtQueryInformationProcess(process, infoClass, answer.Bytes, static_cast<ULONG>(length), &returned) !=
        StatusSuccess)
        return false;
    answer.Size = length;
    block = answer;
    return true;
}

bool QueryThreadBlock(HANDLE thread, THREADINFOCLASS infoClass, TNativeBlock& block) noexcept {
    const std::size_t length = nt::ThreadQueryLength(nt::NativeWidth, static_cast<std::uint32_t>(infoClass));
    if (!NtQueryInformationThread || length == 0) return false;
    TNativeBlock answer;
    ULONG returned = 0;
    if (NtQueryInformationThread(thread, infoClass, answer.Bytes, static_cast<ULONG>(length), &returned) !=
        StatusSuccess)
        return false;
    answer.Size = length;
    block = answer;
    return true;
}

}  // namespace orvex
