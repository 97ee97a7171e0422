/* A library planted next to a program under the name of a system library.
   When anything loads it, it appends one line to the file that the
   environment variable ORVEX_MARKER_LOG names: its own file name and the
   name of the program it was loaded into. Imports only from the kernel, so
   that it loads in any process. */
#include <windows.h>

static void AppendLine(const char* text, DWORD length) {
    char logName[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("ORVEX_MARKER_LOG", logName, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    const HANDLE log = CreateFileA(logName, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, NULL);
    if (log == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(log, text, length, &written, NULL);
    CloseHandle(log);
}

BOOL WINAPI PlantedMarkerEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        char line[2 * MAX_PATH + 2];
        DWORD length = GetModuleFileNameA(instance, line, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return TRUE;
        line[length++] = '\t';
        const DWORD program = GetModuleFileNameA(NULL, line + length, MAX_PATH);
        if (program == 0 || program >= MAX_PATH) return TRUE;
        length += program;
        line[length++] = '\n';
        AppendLine(line, length);
    }
    return TRUE;
}
