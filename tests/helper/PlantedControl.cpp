// The control of the planting test: a program that imports from exactly the
// libraries the viewer and the console tool may import (kernel, user, GDI,
// advapi, the C run-time). Whatever planted library it loads beyond its probe
// is loaded by the system's own libraries (under Wine, by Wine's own
// builtins: its user32 imports the version library where Windows' does not),
// not by the programs under test.
//
// It loads the probe, ODBC's library, which neither program uses, by name:
// plain, the planted copy must be loaded (the proof that planting works in
// the system at hand); with the argument "restricted" it first restricts the
// search as both programs do at their start, and the system's copy must be
// loaded where the system can restrict it. It prints the probe's path.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/Orvex_DllSearch.h"

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "restricted") == 0) {
        const orvex::TDllSearch search = orvex::RestrictDllSearch();
        std::printf("restricted %d %d\n", search.SystemOnly, search.WorkingFolderRemoved);
    }
    char user[256];
    DWORD size = sizeof user;
    const BOOL named = GetUserNameA(user, &size);
    std::printf("%d %lu %p\n", named, static_cast<unsigned long>(GetSysColor(COLOR_WINDOW)),
                static_cast<void*>(GetStockObject(WHITE_BRUSH)));
    const HMODULE probe = LoadLibraryA("odbc32.dll");
    char path[MAX_PATH] = {};
    if (probe) GetModuleFileNameA(probe, path, MAX_PATH);
    std::printf("probe %s\n", path);
    return 0;
}
