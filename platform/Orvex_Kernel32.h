// Kernel functions that the oldest systems the program runs on do not export,
// bound at run time so that the program still loads there.
//
// The tool-help snapshot functions are absent on NT 4 (which lists processes
// through the native process block instead); the vectored exception handlers
// arrived with XP; the WoW64 query with XP SP2, the full image name query
// with Vista. The wide program-start functions serve the 64-bit twin, which
// only the NT family runs (the 9x family has them as stubs at most), and so
// does WriteConsoleW, with which the console collector writes text to an NT
// console (Windows 95 exports only a stub of it). Every slot is null where the system lacks the
// function. The slots share their names with the SDK's declarations; inside namespace orvex an unqualified call finds
// the slot.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

namespace orvex {

using TCreateToolhelp32Snapshot = HANDLE(WINAPI*)(DWORD flags, DWORD processId);
using TProcess32Walk = BOOL(WINAPI*)(HANDLE snapshot, PROCESSENTRY32* entry);
using TThread32Walk = BOOL(WINAPI*)(HANDLE snapshot, THREADENTRY32* entry);
using TModule32Walk = BOOL(WINAPI*)(HANDLE snapshot, MODULEENTRY32* entry);
using TModule32WalkW = BOOL(WINAPI*)(HANDLE snapshot, MODULEENTRY32W* entry);
using TAddVectoredExceptionHandler = PVOID(WINAPI*)(ULONG first, PVECTORED_EXCEPTION_HANDLER handler);
using TRemoveVectoredExceptionHandler = ULONG(WINAPI*)(PVOID handler);
using TIsWow64Process = BOOL(WINAPI*)(HANDLE process, PBOOL wow64);
using TQueryFullProcessImageNameA = BOOL(WINAPI*)(HANDLE process, DWORD flags, LPSTR name, PDWORD size);
using TGetModuleFileNameW = DWORD(WINAPI*)(HMODULE module, LPWSTR name, DWORD size);
using TGetCommandLineW = LPWSTR(WINAPI*)();
using TCreateProcessW = BOOL(WINAPI*)(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES process,
                                      LPSECURITY_ATTRIBUTES thread, BOOL inherit, DWORD flags, LPVOID environment,
                                      LPCWSTR folder, LPSTARTUPINFOW startup, LPPROCESS_INFORMATION info);
using TSetHandleInformation = BOOL(WINAPI*)(HANDLE object, DWORD mask, DWORD flags);
using TSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD directoryFlags);
using TSetDllDirectoryA = BOOL(WINAPI*)(LPCSTR pathName);
using TReplaceFileA = BOOL(WINAPI*)(LPCSTR replaced, LPCSTR replacement, LPCSTR backup, DWORD flags, LPVOID exclude,
                                    LPVOID reserved);
using TWriteConsoleW = BOOL(WINAPI*)(HANDLE output, const void* text, DWORD length, LPDWORD written, LPVOID reserved);

extern TCreateToolhelp32Snapshot CreateToolhelp32Snapshot;
extern TProcess32Walk Process32First;
extern TProcess32Walk Process32Next;
extern TThread32Walk Thread32First;
extern TThread32Walk Thread32Next;
extern TModule32Walk Module32First;
extern TModule32Walk Module32Next;
// The wide walkers (Windows 2000 and later): module paths that the ANSI
// entry's MAX_PATH bytes cannot hold in a UTF-8 or double-byte code page.
extern TModule32WalkW Module32FirstW;
extern TModule32WalkW Module32NextW;
extern TAddVectoredExceptionHandler AddVectoredExceptionHandler;
extern TRemoveVectoredExceptionHandler RemoveVectoredExceptionHandler;
extern TIsWow64Process IsWow64Process;
extern TQueryFullProcessImageNameA QueryFullProcessImageNameA;
extern TGetModuleFileNameW GetModuleFileNameW;
extern TGetCommandLineW GetCommandLineW;
extern TCreateProcessW CreateProcessW;
extern TSetHandleInformation SetHandleInformation;
extern TWriteConsoleW WriteConsoleW;
// Windows 8 (7 and Vista with update 2533623) and XP SP1.
extern TSetDefaultDllDirectories SetDefaultDllDirectories;
extern TSetDllDirectoryA SetDllDirectoryA;
// Windows 2000.
extern TReplaceFileA ReplaceFileA;

// Whether the snapshot function and all six walkers are bound (the first
// call of either function below binds the slots).
bool ToolHelpBound() noexcept;
// Whether both vectored-handler functions are bound.
bool VectoredHandlersBound() noexcept;
// Binds the slots above (every routine that uses a slot without one of the
// two calls above calls this first).
void BindKernel32() noexcept;

}  // namespace orvex
