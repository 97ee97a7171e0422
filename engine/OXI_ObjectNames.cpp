#include "engine/OXI_ObjectNames.h"

#include <cstdint>
#include <vector>

#include "platform/Orvex_Native.h"
#include "platform/pure/Orvex_NtLayouts.h"

namespace orvex {

namespace {

constexpr FILE_INFORMATION_CLASS FileModeInformation = static_cast<FILE_INFORMATION_CLASS>(16);
constexpr ULONG SynchronousIoAlert = 0x10;
constexpr ULONG SynchronousIoNonAlert = 0x20;
constexpr OBJECT_INFORMATION_CLASS ObjectNameInformation = static_cast<OBJECT_INFORMATION_CLASS>(1);

// True when the file object was opened for synchronous I/O; false also when
// that cannot be told.
bool SynchronousMode(HANDLE object) {
    const TNtQueryInformationFile query = NtQueryInformationFile;
    if (!query) return false;
    IO_STATUS_BLOCK status{};
    ULONG mode = 0;
    if (query(object, &status, &mode, sizeof mode, FileModeInformation) != StatusSuccess) return false;
    return (mode & (SynchronousIoAlert | SynchronousIoNonAlert)) != 0;
}

}  // namespace

bool AskFileObjectName(HANDLE object, std::wstring& name) {
    const TNtQueryObject query = NtQueryObject;
    if (!query) return false;
    if (::GetFileType(object) == FILE_TYPE_PIPE && SynchronousMode(object)) return false;
    alignas(8) std::uint8_t fixed[1024];
    std::vector<std::uint8_t> grown;
    std::uint8_t* buffer = fixed;
    ULONG size = sizeof fixed;
    for (int attempt = 0; attempt < 3; ++attempt) {
        ULONG needed = 0;
        const NTSTATUS status = query(object, ObjectNameInformation, buffer, size, &needed);
        if (status == StatusSuccess) {
            const std::u16string text = nt::ParseObjectInfoName(nt::NativeWidth, buffer, size, nt::AddressOf(buffer));
            if (text.empty()) return false;
            name.assign(text.begin(), text.end());
            return true;
        }
        if (needed <= size || needed > (1u << 16)) return false;
        grown.resize(needed + 8);
        buffer = grown.data();
        size = needed;
    }
    return false;
}

TDosNames ReadDosDevices() {
    TDosNames names;
    const DWORD drives = ::GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i))) continue;
        const char drive[3] = {static_cast<char>('A' + i), ':', '\0'};
        char device[1024] = {};
        // The first of the device names the drive stands for.
        if (::QueryDosDeviceA(drive, device, sizeof device) > 0) names.Add(drive, device);
    }
    return names;
}

}  // namespace orvex
