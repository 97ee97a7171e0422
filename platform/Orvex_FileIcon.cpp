#include "platform/Orvex_FileIcon.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "platform/Orvex_Shell32.h"
#include "platform/Orvex_Wow64.h"

namespace orvex {

namespace {
// ExtractIconA answers 1 for a file that is no executable, library or icon file.
bool IsIcon(HICON h) { return h != nullptr && h != reinterpret_cast<HICON>(1); }
}  // namespace

TIcon ExtractFileIcon(const std::string& shownName, std::uint16_t index) {
    // System32's own file for a 32-bit program on 64-bit Windows.
    const std::string fileName = UnredirectedPath(shownName);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const auto count = reinterpret_cast<UINT_PTR>(
        orvex::ExtractIconA(instance, fileName.c_str(), static_cast<UINT>(-1)));
    if (count >= 1) {
        HICON icon = orvex::ExtractIconA(instance, fileName.c_str(), index);
        if (IsIcon(icon)) return TIcon(icon);
    }
    // The shell may write the path of the icon's file into the name.
    std::vector<char> path(fileName.size() + MAX_PATH + 1, '\0');
    fileName.copy(path.data(), fileName.size());
    WORD iconIndex = index;
    HICON icon = orvex::ExtractAssociatedIconA(instance, path.data(), &iconIndex);
    if (IsIcon(icon)) return TIcon(icon);
    // Some shells find no associated icon for an executable without icons
    // and load a generic one from the caller's own resources; the shell's
    // file information gives the generic icon itself.
    SHFILEINFOA sfi{};
    if (orvex::SHGetFileInfoA(fileName.c_str(), 0, &sfi, sizeof sfi, SHGFI_ICON | SHGFI_LARGEICON) && IsIcon(sfi.hIcon))
        return TIcon(sfi.hIcon);
    return TIcon();
}

}  // namespace orvex
