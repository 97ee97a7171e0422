#include "platform/Orvex_Shell32.h"

#include "platform/Orvex_LibraryBinding.h"

namespace orvex {

namespace {

decltype(&::ExtractIconA) ExtractSlot = nullptr;
decltype(&::ExtractAssociatedIconA) AssociatedSlot = nullptr;
decltype(&::SHGetFileInfoA) FileInfoSlot = nullptr;
decltype(&::ShellAboutA) AboutSlot = nullptr;
decltype(&::ShellExecuteExA) ExecuteSlot = nullptr;

constexpr TSlotBinding Shell32Slots[] = {
    BindSlot<ExtractSlot>("ExtractIconA"),    BindSlot<AssociatedSlot>("ExtractAssociatedIconA"),
    BindSlot<FileInfoSlot>("SHGetFileInfoA"), BindSlot<AboutSlot>("ShellAboutA"),
    BindSlot<ExecuteSlot>("ShellExecuteExA"),
};
constinit TLibraryBinding Shell32("SHELL32.DLL", Shell32Slots);

}  // namespace

HICON ExtractIconA(HINSTANCE instance, const char* fileName, UINT index) noexcept {
    return CallBound<Shell32, ExtractSlot>(HICON{}, instance, fileName, index);
}

HICON ExtractAssociatedIconA(HINSTANCE instance, char* path, WORD* index) noexcept {
    return CallBound<Shell32, AssociatedSlot>(HICON{}, instance, path, index);
}

DWORD_PTR SHGetFileInfoA(const char* path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags) noexcept {
    return CallBound<Shell32, FileInfoSlot>(DWORD_PTR{0}, path, attributes, info, size, flags);
}

BOOL ShellAboutA(HWND owner, const char* application, const char* otherText, HICON icon) noexcept {
    return CallBound<Shell32, AboutSlot>(FALSE, owner, application, otherText, icon);
}

BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) noexcept { return CallBound<Shell32, ExecuteSlot>(FALSE, info); }

}  // namespace orvex
