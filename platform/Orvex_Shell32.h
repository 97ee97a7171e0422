// The shell functions the program uses, bound at run time from the system
// (platform/Orvex_LibraryBinding.h), never imported. Where the library cannot
// be bound each answers as for a file without an icon, or FALSE.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace orvex {

HICON ExtractIconA(HINSTANCE instance, const char* fileName, UINT index) noexcept;
HICON ExtractAssociatedIconA(HINSTANCE instance, char* path, WORD* index) noexcept;
DWORD_PTR SHGetFileInfoA(const char* path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags) noexcept;
BOOL ShellAboutA(HWND owner, const char* application, const char* otherText, HICON icon) noexcept;
BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) noexcept;

}  // namespace orvex
