#include "platform/Orvex_Kernel32.h"

#include "platform/Orvex_LibraryBinding.h"

namespace orvex {

// Each function of the library once.
#define ORVEX_KERNEL32_FUNCTIONS(F, G) \
    F(CreateToolhelp32Snapshot)        \
    F(Process32First)                  \
    F(Process32Next)                   \
    F(Thread32First)                   \
    F(Thread32Next)                    \
    F(Module32First)                   \
    F(Module32Next)                    \
    F(Module32FirstW)                  \
    F(Module32NextW)                   \
    F(AddVectoredExceptionHandler)     \
    F(RemoveVectoredExceptionHandler)  \
    F(IsWow64Process)                  \
    F(QueryFullProcessImageNameA)      \
    F(GetModuleFileNameW)              \
    F(GetCommandLineW)                 \
    F(CreateProcessW)                  \
    F(SetHandleInformation)            \
    F(WriteConsoleW)                   \
    F(SetDefaultDllDirectories)        \
    F(SetDllDirectoryA)                \
    F(ReplaceFileA)

ORVEX_KERNEL32_FUNCTIONS(ORVEX_DEFINE_SLOT, ORVEX_DEFINE_SLOT_AS)

namespace {

// The ANSI walkers carry the plain names.
constexpr TSlotBinding Kernel32Slots[] = {ORVEX_KERNEL32_FUNCTIONS(ORVEX_SLOT_ENTRY, ORVEX_SLOT_ENTRY_AS)};

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
