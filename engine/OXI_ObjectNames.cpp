#include "engine/OXI_ObjectNames.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Orvex_Native.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_WideText.h"
#include "platform/pure/Orvex_NtLayouts.h"

namespace orvex {

namespace {

constexpr FILE_INFORMATION_CLASS FileModeInformation = static_cast<FILE_INFORMATION_CLASS>(16);
constexpr ULONG SynchronousIoAlert = 0x10;
constexpr ULONG SynchronousIoNonAlert = 0x20;
constexpr OBJECT_INFORMATION_CLASS ObjectNameInformation = static_cast<OBJECT_INFORMATION_CLASS>(1);
constexpr OBJECT_INFORMATION_CLASS ObjectTypeInformation = static_cast<OBJECT_INFORMATION_CLASS>(2);

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

bool QueryObjectText(HANDLE object, OBJECT_INFORMATION_CLASS infoClass, std::vector<std::uint8_t>& work,
                     std::size_t maxSize, std::u16string& text) {
    const TNtQueryObject query = NtQueryObject;
    if (!query) return false;
    for (int attempt = 0; attempt < 3; ++attempt) {
        ULONG needed = 0;
        const NTSTATUS status = query(object, infoClass, work.data(), static_cast<ULONG>(work.size()), &needed);
        if (status == StatusSuccess) {
            text = nt::ParseObjectInfoName(nt::NativeWidth, work.data(), work.size(), nt::AddressOf(work.data()));
            return true;
        }
        if (needed <= work.size() || needed > maxSize) return false;
        work.resize(needed);
    }
    return false;
}

bool AskFileObjectName(HANDLE object, std::wstring& name) {
    if (!NtQueryObject) return false;
    if (::GetFileType(object) == FILE_TYPE_PIPE && SynchronousMode(object)) return false;
    std::vector<std::uint8_t> work(1024);
    std::u16string text;
    if (!QueryObjectText(object, ObjectNameInformation, work, 1u << 16, text) || text.empty()) return false;
    name.assign(text.begin(), text.end());
    return true;
}

namespace {

// The number and type name of one of this process's handles.
std::optional<nt::TKnownObjectType> KnownType(const std::vector<nt::THandleEntry>& handles) {
    const DWORD self = ::GetCurrentProcessId();
    std::vector<std::uint8_t> buffer(1024);
    int asked = 0;
    for (const nt::THandleEntry& e : handles) {
        if (e.ProcessId != self || e.HandleValue == 0) continue;
        if (++asked > 8) break;
        HANDLE h = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(e.HandleValue));
        std::u16string name;
        if (QueryObjectText(h, ObjectTypeInformation, buffer, buffer.size(), name) && !name.empty())
            return nt::TKnownObjectType{e.ObjectTypeIndex, name};
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::pair<std::uint16_t, std::string>> ReadObjectTypeTable(const std::vector<nt::THandleEntry>& handles) {
    std::vector<std::pair<std::uint16_t, std::string>> table;
    if (!NtQueryObject) return table;
    std::vector<std::uint8_t> buffer(16384);
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        const NTSTATUS status = NtQueryObject(nullptr,
                                              static_cast<OBJECT_INFORMATION_CLASS>(nt::ObjectTypesInformation),
                                              buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == StatusSuccess) {
            const auto types = nt::ParseObjectTypes(nt::NativeWidth, buffer.data(), buffer.size(),
                                                    nt::AddressOf(buffer.data()));
            const bool win7 = OSMajorVersion() > 6 || (OSMajorVersion() == 6 && OSMinorVersion() >= 1);
            const auto numbers = nt::ObjectTypeNumbers(types, win7 ? 2 : 1, KnownType(handles));
            for (std::size_t i = 0; i < types.size(); ++i)
                if (!types[i].Name.empty()) table.emplace_back(numbers[i], WideToAnsi(types[i].Name));
            return table;
        }
        if (!NeedsLargerBuffer(status) || buffer.size() >= (1u << 22)) return table;
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed));
    }
    return table;
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
