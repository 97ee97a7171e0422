/* A library with no code but its entry point and no imports, small enough to
   be copied and loaded by the hundred when a test needs a process with very
   many modules. */
#include <windows.h>

BOOL WINAPI TestModuleEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
