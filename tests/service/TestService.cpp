// orvex_test_service.exe: a Win32 service of its own process for the tests.
//
// Command line (the service's binary path): --report=<file>. The service
// appends one line per event to that file:
//   "args=<n>"       the number of start arguments after the service name,
//   "arg=<text>"     each of them, in order,
//   "running", "paused", "pause-pending", "continued", "stopped".
// Start-up goes through start-pending with rising check-points before the
// service reports running; a stop goes through stop-pending.
// A start argument "--stuck-pause" makes a pause request leave the service
// pause-pending for good, with a check-point that never moves and no wait hint.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string g_report;
SERVICE_STATUS_HANDLE g_statusHandle = nullptr;
SERVICE_STATUS g_status{};
HANDLE g_stopEvent = nullptr;
bool g_stuckPause = false;
CRITICAL_SECTION g_statusLock;  // the handler and the service thread both report

void AppendLine(const std::string& line) {
    if (g_report.empty()) return;
    if (std::FILE* file = std::fopen(g_report.c_str(), "ab")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

void Report(DWORD state, DWORD checkPoint = 0, DWORD waitHint = 0) {
    EnterCriticalSection(&g_statusLock);
    g_status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    g_status.dwCurrentState = state;
    g_status.dwControlsAccepted = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING
                                      ? 0
                                      : SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE;
    g_status.dwWin32ExitCode = NO_ERROR;
    g_status.dwCheckPoint = checkPoint;
    g_status.dwWaitHint = waitHint;
    SetServiceStatus(g_statusHandle, &g_status);
    LeaveCriticalSection(&g_statusLock);
}

VOID WINAPI Handler(DWORD control) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
        Report(SERVICE_STOP_PENDING, 1, 300);
        SetEvent(g_stopEvent);
        break;
    case SERVICE_CONTROL_PAUSE:
        if (g_stuckPause) {
            Report(SERVICE_PAUSE_PENDING, 1, 0);
            AppendLine("pause-pending");
        } else {
            Report(SERVICE_PAUSED);
            AppendLine("paused");
        }
        break;
    case SERVICE_CONTROL_CONTINUE:
        Report(SERVICE_RUNNING);
        AppendLine("continued");
        break;
    default:
        EnterCriticalSection(&g_statusLock);
        SetServiceStatus(g_statusHandle, &g_status);
        LeaveCriticalSection(&g_statusLock);
        break;
    }
}

VOID WINAPI ServiceMain(DWORD argc, LPSTR* argv) {
    g_statusHandle = RegisterServiceCtrlHandlerA(argc > 0 ? argv[0] : "", Handler);
    if (!g_statusHandle) return;
    g_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    for (DWORD checkPoint = 1; checkPoint <= 3; ++checkPoint) {
        Report(SERVICE_START_PENDING, checkPoint, 400);
        Sleep(150);
    }
    AppendLine("args=" + std::to_string(argc > 0 ? argc - 1 : 0));
    for (DWORD i = 1; i < argc; ++i) {
        AppendLine(std::string("arg=") + argv[i]);
        if (std::strcmp(argv[i], "--stuck-pause") == 0) g_stuckPause = true;
    }
    AppendLine("running");
    Report(SERVICE_RUNNING);
    WaitForSingleObject(g_stopEvent, INFINITE);
    Sleep(200);
    AppendLine("stopped");
    CloseHandle(g_stopEvent);
    Report(SERVICE_STOPPED);
}

}  // namespace

int main(int argc, char** argv) {
    const char prefix[] = "--report=";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], prefix, sizeof prefix - 1) == 0) g_report = argv[i] + sizeof prefix - 1;
    InitializeCriticalSection(&g_statusLock);
    char name[] = "";
    SERVICE_TABLE_ENTRYA table[] = {{name, ServiceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
