#include "platform/Orvex_VersionInfo.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/Orvex_LibraryBinding.h"
#include "platform/Orvex_Wow64.h"

namespace orvex {

// Each function of the library once.
#define ORVEX_VERSION_FUNCTIONS(F) \
    F(GetFileVersionInfoSizeA)     \
    F(GetFileVersionInfoA)         \
    F(VerQueryValueA)

namespace {

// The version library is no library the system keeps to its own directory
// (Windows 7 and later load an imported one from next to the program), so it
// is bound at run time from the system directory, never imported.

ORVEX_VERSION_FUNCTIONS(ORVEX_DEFINE_SDK_SLOT)

constexpr TSlotBinding VersionSlots[] = {ORVEX_VERSION_FUNCTIONS(ORVEX_SDK_SLOT_ENTRY)};
constinit TLibraryBinding Version("VERSION.DLL", VersionSlots);

// A value of the version block; false when absent.
bool QueryValue(const std::vector<char>& block, const std::string& path, const void*& data, UINT& length) {
    void* p = nullptr;
    UINT len = 0;
    if (!CallBound<Version, VerQueryValueASlot>(FALSE, block.data(), path.c_str(), &p, &len) || !p) return false;
    // The value must lie inside the block.
    const auto begin = reinterpret_cast<std::uintptr_t>(block.data());
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    if (at < begin || at > begin + block.size()) return false;
    const std::size_t room = begin + block.size() - at;
    data = p;
    length = len < room ? len : static_cast<UINT>(room);
    return true;
}

}  // namespace

bool ReadVersionInfo(const std::string& fileName, TVersionInfo& info) {
    info = TVersionInfo{};
    info.FileName = fileName;

    // A 32-bit program on 64-bit Windows reads System32's own files, not
    // the 32-bit ones that its redirected view shows there.
    const std::string readFrom = UnredirectedPath(fileName);
    DWORD ignored = 0;
    const DWORD size = CallBound<Version, GetFileVersionInfoSizeASlot>(DWORD{0}, readFrom.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<char> block(size);
    if (!CallBound<Version, GetFileVersionInfoASlot>(FALSE, readFrom.c_str(), DWORD{0}, size,
                                                     static_cast<void*>(block.data())))
        return false;

    const void* data = nullptr;
    UINT length = 0;
    if (!QueryValue(block, "\\", data, length) || length < sizeof(VS_FIXEDFILEINFO)) return false;
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, data, sizeof fixed);
    SetFixedVersions(info, fixed.dwFileVersionMS, fixed.dwFileVersionLS, fixed.dwProductVersionMS,
                     fixed.dwProductVersionLS);

    std::string key;
    if (QueryValue(block, "\\VarFileInfo\\Translation", data, length) && length >= 4) {
        std::uint32_t translation = 0;
        std::memcpy(&translation, data, sizeof translation);
        key = TranslationKey(translation);
    }
    for (const TVersionString& s : VersionStrings) {
        if (!QueryValue(block, VersionStringPath(key, s.ValueName), data, length)) continue;
        // The length counts characters and may include the closing zero.
        const char* text = static_cast<const char*>(data);
        std::size_t n = 0;
        while (n < length && text[n] != '\0') ++n;
        info.*s.Field = std::string(text, n);
    }
    return true;
}

}  // namespace orvex
