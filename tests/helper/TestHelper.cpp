// A process with known contents for the live tests: two waiting worker
// threads, a named mutex, an unnamed event, an open file, a handle to its own
// process and a window tree (a top-level window with two child controls).
// It writes what it owns to standard output as "key=value" lines, ending with
// "ready", then runs its message loop.
//
//   orvex_test_helper.exe [--ignore-close] [--no-window] [--churn] [--name=<mutex name>]
//                         [--handles=<n>] [--windows=<n>]
//
// With --ignore-close the main window refuses WM_CLOSE. With --churn it
// creates and destroys windows (top-level ones with a child each) without
// pause for a minute after "ready", so that another process walking the
// window tree meets windows that vanish under it. --handles=n holds n more
// unnamed events and --windows=n puts n more static controls into the main
// window (for the benchmark's systems of many handles and windows).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool g_ignoreClose = false;
HANDLE g_stop = nullptr;

void Report(const char* key, const std::string& value) {
    std::string line = std::string(key) + "=" + value + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// The number after "--<key>=" in the command line, 0 when absent.
unsigned long Count(const std::string& args, const char* key) {
    const std::string option = std::string("--") + key + "=";
    const auto p = args.find(option);
    return p == std::string::npos ? 0 : std::strtoul(args.c_str() + p + option.size(), nullptr, 10);
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

HWND CreateWindows(HINSTANCE inst, unsigned long extraWindows) {
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
    for (unsigned long i = 0; i < extraWindows; ++i)
        CreateWindowExA(0, "STATIC", "Helper Static", WS_CHILD | WS_VISIBLE, 140, 10 + static_cast<int>(i % 8) * 4, 40,
                        4, main, nullptr, inst, nullptr);
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

    // The extra handles stay open for the life of the process.
    const unsigned long extraHandles = Count(args, "handles");
    unsigned long held = 0;
    for (; held < extraHandles; ++held)
        if (!CreateEventA(nullptr, TRUE, FALSE, nullptr)) break;
    if (extraHandles) Report("handles", std::to_string(held));

    HWND main = noWindow ? nullptr : CreateWindows(inst, Count(args, "windows"));
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
