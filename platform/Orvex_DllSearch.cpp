#include "platform/Orvex_DllSearch.h"

#include <windows.h>

#include "platform/Orvex_Kernel32.h"

namespace orvex {

TDllSearch RestrictDllSearch() noexcept {
    BindKernel32();
    TDllSearch search;
    // The value of LOAD_LIBRARY_SEARCH_SYSTEM32; SDKs before Windows 8 lack the name.
    constexpr DWORD SearchSystem32 = 0x00000800;
    if (SetDefaultDllDirectories) search.SystemOnly = SetDefaultDllDirectories(SearchSystem32) != FALSE;
    if (SetDllDirectoryA) search.WorkingFolderRemoved = SetDllDirectoryA("") != FALSE;
    return search;
}

}  // namespace orvex
