#include "platform/Orvex_Kernel32.h"

#include "platform/Orvex_LibraryBinding.h"

namespace orvex {

TCreateToolhelp32Snapshot CreateToolhelp32Snapshot = nullptr;
TProcess32Walk Process32First = nullptr;
TProcess32Walk Process32Next = nullptr;
TThread32Walk Thread32First = nullptr;
TThread32Walk Thread32Next = nullptr;
TModule32Walk Module32First = nullptr;
TModule32Walk Module32Next = nullptr;
TModule32WalkW Module32FirstW = nullptr;
TModule32WalkW Module32NextW = nullptr;
TAddVectoredExceptionHandler AddVectoredExceptionHandler = nullptr;
TRemoveVectoredExceptionHandler RemoveVectoredExceptionHandler = nullptr;
TIsWow64Process IsWow64Process = nullptr;
TQueryFullProcessImageNameA QueryFullProcessImageNameA = nullptr;
TGetModuleFileNameW GetModuleFileNameW = nullptr;
TGetCommandLineW GetCommandLineW = nullptr;
TCreateProcessW CreateProcessW = nullptr;
TSetHandleInformation SetHandleInformation = nullptr;
TWriteConsoleW WriteConsoleW = nullptr;
TSetDefaultDllDirectories SetDefaultDllDirectories = nullptr;
TSetDllDirectoryA SetDllDirectoryA = nullptr;
TReplaceFileA ReplaceFileA = nullptr;

namespace {

// The ANSI walkers carry the plain names.
constexpr TSlotBinding Kernel32Slots[] = {
    BindSlot<CreateToolhelp32Snapshot>("CreateToolhelp32Snapshot"),
    BindSlot<Process32First>("Process32First"),
    BindSlot<Process32Next>("Process32Next"),
    BindSlot<Thread32First>("Thread32First"),
    BindSlot<Thread32Next>("Thread32Next"),
    BindSlot<Module32First>("Module32First"),
    BindSlot<Module32Next>("Module32Next"),
    BindSlot<Module32FirstW>("Module32FirstW"),
    BindSlot<Module32NextW>("Module32NextW"),
    BindSlot<AddVectoredExceptionHandler>("AddVectoredExceptionHandler"),
    BindSlot<RemoveVectoredExceptionHandler>("RemoveVectoredExceptionHandler"),
    BindSlot<IsWow64Process>("IsWow64Process"),
    BindSlot<QueryFullProcessImageNameA>("QueryFullProcessImageNameA"),
    BindSlot<GetModuleFileNameW>("GetModuleFileNameW"),
    BindSlot<GetCommandLineW>("GetCommandLineW"),
    BindSlot<CreateProcessW>("CreateProcessW"),
    BindSlot<SetHandleInformation>("SetHandleInformation"),
    BindSlot<WriteConsoleW>("WriteConsoleW"),
    BindSlot<SetDefaultDllDirectories>("SetDefaultDllDirectories"),
    BindSlot<SetDllDirectoryA>("SetDllDirectoryA"),
    BindSlot<ReplaceFileA>("ReplaceFileA"),
};

constinit TLibraryBinding Kernel32("KERNEL32.DLL", Kernel32Slots);

}  // namespace

// Binds on first use; the kernel library is always mapped.
void BindKernel32() noexcept {
    static const bool bound = Kernel32.Bind();
    (void)bound;
}

bool ToolHelpBound() noexcept {
    BindKernel32();
    return CreateToolhelp32Snapshot && Process32First && Process32Next && Thread32First && Thread32Next &&
           Module32First && Module32Next;
}

bool VectoredHandlersBound() noexcept {
    BindKernel32();
    return AddVectoredExceptionHandler && RemoveVectoredExceptionHandler;
}

}  // namespace orvex
