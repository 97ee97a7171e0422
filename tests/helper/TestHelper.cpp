// A process with known contents for the live tests: two waiting worker
// threads, a named mutex, an unnamed event, an open file, a handle to its own
// process and a window tree (a top-level window with two child controls).
// It writes what it owns to standard output as "key=value" lines, ending with
// "ready", then runs its message loop.
//
//   orvex_test_helper.exe [--ignore-close] [--no-window] [--churn] [--name=<mutex name>]
//                         [--stuck-query] [--pipe-waiter]
//
// It also holds a named pipe opened for synchronous I/O, a named pipe opened
// for overlapped I/O, and the test library orvex_test_module.dll. With
// --pipe-waiter a further thread waits on the synchronous pipe for a client
// (which makes the pipe the kind of handle whose name query blocks).
//
// With --stuck-query it gives MaxStuckWorkers + 1 queries that never return
// to a TBoundedQuery, reports each result ("stuck=<result>"), and ends with
// exit code 7 right after "ready" while the given-up workers still wait.
// With --ignore-close the main window refuses WM_CLOSE. With --churn it
// creates and destroys windows (top-level ones with a child each) without
// pause for a minute after "ready", so that another process walking the
// window tree meets windows that vanish under it.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/Orvex_BoundedQuery.h"

namespace {

bool g_ignoreClose = false;
HANDLE g_stop = nullptr;

void Report(const char* key, const std::string& value) {
    std::string line = std::string(key) + "=" + value + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::string Hex(ULONG_PTR v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%llx", static_cast<unsigned long long>(v));
    return buf;
}

DWORD WINAPI Worker(LPVOID) {
    WaitForSingleObject(g_stop, INFINITE);
    return 0;
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE:
        if (g_ignoreClose) return 0;
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

HWND CreateWindows(HINSTANCE inst) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "OrvexTestHelperWnd";
    if (!RegisterClassA(&wc)) return nullptr;
    HWND main = CreateWindowExA(WS_EX_WINDOWEDGE, wc.lpszClassName, "Orvex Test Helper",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 10, 10, 320, 200, nullptr, nullptr, inst,
                                nullptr);
    if (!main) return nullptr;
    HWND button = CreateWindowExA(0, "BUTTON", "Helper Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                  10, 10, 120, 24, main, reinterpret_cast<HMENU>(101), inst, nullptr);
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "Helper Edit", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 40,
                                120, 24, main, reinterpret_cast<HMENU>(102), inst, nullptr);
    ShowWindow(main, SW_SHOWNOACTIVATE);
    Report("hwnd", Hex(reinterpret_cast<ULONG_PTR>(main)));
    Report("button", Hex(reinterpret_cast<ULONG_PTR>(button)));
    Report("edit", Hex(reinterpret_cast<ULONG_PTR>(edit)));
    return main;
}

// Windows that live for a moment only, batch after batch, until the time is up.
void ChurnWindows(HINSTANCE inst) {
    constexpr int Batch = 24;
    constexpr ULONGLONG ChurnMs = 60000;
    const ULONGLONG end = GetTickCount64() + ChurnMs;
    while (GetTickCount64() < end) {
        HWND made[Batch] = {};
        for (HWND& h : made) {
            h = CreateWindowExA(0, "STATIC", "Orvex churn", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, inst, nullptr);
            if (h) CreateWindowExA(0, "STATIC", "child", WS_CHILD, 0, 0, 5, 5, h, nullptr, inst, nullptr);
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        for (HWND h : made)
            if (h) DestroyWindow(h);
    }
}

DWORD WINAPI WaitForClient(LPVOID pipe) {
    ConnectNamedPipe(pipe, nullptr);
    return 0;
}

// Never signalled: the query below waits for ever.
HANDLE g_never = nullptr;

bool NeverReturns(HANDLE, std::wstring&) {
    WaitForSingleObject(g_never, INFINITE);
    return false;
}

void GiveStuckQueries(HANDLE object) {
    g_never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    orvex::TBoundedQuery query(NeverReturns);
    for (int i = 0; i <= orvex::TBoundedQuery::MaxStuckWorkers; ++i) {
        std::wstring name;
        const auto result = query.Ask(object, name);
        Report("stuck", result == orvex::TBoundedQuery::TResult::TimedOut      ? "timedout"
                        : result == orvex::TBoundedQuery::TResult::Unavailable ? "unavailable"
                                                                               : "other");
    }
    Report("stuckworkers", std::to_string(orvex::TBoundedQuery::StuckWorkers()));
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR cmd, int) {
    std::string args = cmd ? cmd : "";
    g_ignoreClose = args.find("--ignore-close") != std::string::npos;
    bool noWindow = args.find("--no-window") != std::string::npos;
    const bool churn = args.find("--churn") != std::string::npos;
    std::string mutexName = "OrvexTestMutex_" + std::to_string(GetCurrentProcessId());
    if (auto p = args.find("--name="); p != std::string::npos) mutexName = args.substr(p + 7, args.find(' ', p) - p - 7);

    Report("pid", std::to_string(GetCurrentProcessId()));
    Report("tid", std::to_string(GetCurrentThreadId()));
    g_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);  // the unnamed event
    Report("event", Hex(reinterpret_cast<ULONG_PTR>(g_stop)));
    for (int i = 0; i < 2; ++i) {
        DWORD tid = 0;
        HANDLE t = CreateThread(nullptr, 0, Worker, nullptr, 0, &tid);
        Report("tid", std::to_string(tid));
        Report("thread", Hex(reinterpret_cast<ULONG_PTR>(t)));
    }
    HANDLE mutex = CreateMutexA(nullptr, FALSE, mutexName.c_str());
    Report("mutex", Hex(reinterpret_cast<ULONG_PTR>(mutex)));
    Report("mutexname", mutexName);
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    Report("exe", exe);
    HANDLE file = CreateFileA(exe, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    Report("file", Hex(reinterpret_cast<ULONG_PTR>(file)));
    HANDLE self = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, GetCurrentProcessId());
    Report("process", Hex(reinterpret_cast<ULONG_PTR>(self)));

    if (args.find("--stuck-query") != std::string::npos) {
        GiveStuckQueries(file);
        Report("ready", "stuck");
        return 7;
    }

    const std::string pipeName = "\\\\.\\pipe\\OrvexTestPipe_" + std::to_string(GetCurrentProcessId());
    HANDLE syncPipe = CreateNamedPipeA((pipeName + "_sync").c_str(), PIPE_ACCESS_DUPLEX,
                                       PIPE_TYPE_BYTE | PIPE_WAIT, 1, 512, 512, 0, nullptr);
    HANDLE overlappedPipe = CreateNamedPipeA((pipeName + "_overlapped").c_str(),
                                             PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                             512, 512, 0, nullptr);
    Report("syncpipe", Hex(reinterpret_cast<ULONG_PTR>(syncPipe)));
    Report("overlappedpipe", Hex(reinterpret_cast<ULONG_PTR>(overlappedPipe)));
    Report("pipename", pipeName.substr(9));
    if (syncPipe != INVALID_HANDLE_VALUE && args.find("--pipe-waiter") != std::string::npos) {
        DWORD tid = 0;
        HANDLE waiter = CreateThread(nullptr, 0, WaitForClient, syncPipe, 0, &tid);
        if (waiter) CloseHandle(waiter);
        Report("pipewaiter", std::to_string(tid));
    }
    const std::string exeDir(exe, std::strrchr(exe, '\\') ? std::strrchr(exe, '\\') + 1 : exe);
    HMODULE module = LoadLibraryA((exeDir + "orvex_test_module.dll").c_str());
    GetModuleFileNameA(module, exe, MAX_PATH);
    Report("module", module ? exe : "");

    HWND main = noWindow ? nullptr : CreateWindows(inst);
    Report("ready", main ? "window" : "nowindow");

    if (churn) ChurnWindows(inst);
    if (main) {
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    } else {
        Sleep(INFINITE);
    }
    SetEvent(g_stop);
    return 0;
}
