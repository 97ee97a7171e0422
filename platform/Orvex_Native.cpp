#include "platform/Orvex_Native.h"

#include <utility>

namespace orvex {

// Each function of the library once.
#define ORVEX_NTDLL_FUNCTIONS(F, G) \
    F(NtQueryInformationToken)      \
    F(NtOpenProcessToken)           \
    F(NtOpenSection)                \
    F(NtClose)                      \
    F(NtOpenProcess)                \
    F(NtQuerySystemInformation)     \
    F(NtCreateSection)              \
    F(NtMapViewOfSection)           \
    F(NtUnmapViewOfSection)         \
    F(NtOpenFile)                   \
    F(NtCreateFile)                 \
    F(NtQueryObject)                \
    F(NtQueryInformationProcess)    \
    F(NtQueryInformationThread)     \
    F(NtQueryInformationFile)       \
    F(NtDuplicateObject)

ORVEX_NTDLL_FUNCTIONS(ORVEX_DEFINE_SLOT, ORVEX_DEFINE_SLOT_AS)

namespace {

constexpr TSlotBinding NativeSlots[] = {ORVEX_NTDLL_FUNCTIONS(ORVEX_SLOT_ENTRY, ORVEX_SLOT_ENTRY_AS)};

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

namespace {

// Asks Query for the block of InfoClass with exactly Length bytes (0: a
// class without a known length, never asked); Block changes only on success.
template <typename TQuery, typename TClass>
bool QueryBlock(TQuery query, HANDLE object, TClass infoClass, std::size_t length, TNativeBlock& block) noexcept {
    if (!query || length == 0) return false;
    TNativeBlock answer;
    ULONG returned = 0;
    if (query(object, infoClass, answer.Bytes, static_cast<ULONG>(length), &returned) != StatusSuccess) return false;
    answer.Size = length;
    block = answer;
    return true;
}

}  // namespace

bool QueryProcessBlock(HANDLE process, PROCESSINFOCLASS infoClass, TNativeBlock& block) noexcept {
    return QueryBlock(NtQueryInformationProcess, process, infoClass,
                      nt::ProcessQueryLength(nt::NativeWidth, static_cast<std::uint32_t>(infoClass)), block);
}

bool QueryThreadBlock(HANDLE thread, THREADINFOCLASS infoClass, TNativeBlock& block) noexcept {
    return QueryBlock(NtQueryInformationThread, thread, infoClass,
                      nt::ThreadQueryLength(nt::NativeWidth, static_cast<std::uint32_t>(infoClass)), block);
}

bool ReadProcessBytes(HANDLE process, std::uint64_t address, std::size_t size, std::vector<std::uint8_t>& data) {
    if (address == 0 || address > static_cast<std::uint64_t>(UINTPTR_MAX)) return false;
    std::vector<std::uint8_t> buf(size);
    SIZE_T got = 0;
    if (!::ReadProcessMemory(process, reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(address)), buf.data(), size,
                             &got) ||
        got != size)
        return false;
    data = std::move(buf);
    return true;
}

}  // namespace orvex
