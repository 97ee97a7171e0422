#include "platform/Orvex_Shell32.h"

#include "platform/Orvex_LibraryBinding.h"

namespace orvex {

// Each function of the library once.
#define ORVEX_SHELL32_FUNCTIONS(F) \
    F(ExtractIconA)                \
    F(ExtractAssociatedIconA)      \
    F(SHGetFileInfoA)              \
    F(ShellAboutA)                 \
    F(ShellExecuteExA)

namespace {

ORVEX_SHELL32_FUNCTIONS(ORVEX_DEFINE_SDK_SLOT)

constexpr TSlotBinding Shell32Slots[] = {ORVEX_SHELL32_FUNCTIONS(ORVEX_SDK_SLOT_ENTRY)};
constinit TLibraryBinding Shell32("SHELL32.DLL", Shell32Slots);

}  // namespace

HICON ExtractIconA(HINSTANCE instance, const char* fileName, UINT index) noexcept {
    return CallBound<Shell32, ExtractIconASlot>(HICON{}, instance, fileName, index);
}

HICON ExtractAssociatedIconA(HINSTANCE instance, char* path, WORD* index) noexcept {
    return CallBound<Shell32, ExtractAssociatedIconASlot>(HICON{}, instance, path, index);
}

DWORD_PTR SHGetFileInfoA(const char* path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags) noexcept {
    return CallBound<Shell32, SHGetFileInfoASlot>(DWORD_PTR{0}, path, attributes, info, size, flags);
}

BOOL ShellAboutA(HWND owner, const char* application, const char* otherText, HICON icon) noexcept {
    return CallBound<Shell32, ShellAboutASlot>(FALSE, owner, application, otherText, icon);
}

BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) noexcept { return CallBound<Shell32, ShellExecuteExASlot>(FALSE, info); }

}  // namespace orvex
