// A process with known contents for the live tests: two waiting worker
// threads, a named mutex, an unnamed event, an open file, a handle to its own
// process and a window tree (a top-level window with two child controls).
// It writes what it owns to standard output as "key=value" lines, ending with
// "ready", then runs its message loop.
//
//   orvex_test_helper.exe [--ignore-close] [--no-window] [--churn] [--spawn=<count>]
//                         [--handle-churn] [--hang] [--name=<mutex name>]
//                         [--handles=<n>] [--windows=<n>] [--stuck-query] [--pipe-waiter]
//                         [--wide-module]
//   orvex_test_helper.exe --short-lived=<ms>
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
// window tree meets windows that vanish under it. With --spawn it starts
// that many short-lived copies of itself, a few at a time, and ends once the
// event named by "stop=" is set (after its copies have ended); with
// --handle-churn it opens and closes handles without pause for a minute: the
// process list and the handle table change under whoever reads them. With
// --hang the thread that owns the windows stops answering messages after
// "ready" until the event named by "resume=" is set (two minutes at most).
//
// --short-lived=<ms> is the form the spawned copies run in: a thread, an
// event and a window with a child, kept for that long; no output. With
// --chain=<n> the helper starts a copy that starts a copy, n links in all
// (the first one's id reported as "child="), each living for twenty seconds.
//
// With --wide-module it also loads a copy of that library named
// orvex_wide_module.dll from a folder of the temporary directory whose name
// is in Georgian letters, which no ANSI code page of Windows holds: the ANSI
// path of the module has "?" in their place ("widemodule=" reports it, and
// "widefolder=" the folder's full path in UTF-8, for its removal).
//
// --handles=n holds n more unnamed events and --windows=n puts n more static
// controls into the main window (for the benchmark's systems of many handles
// and windows).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Orvex_BoundedQuery.h"

namespace {

// How long the churn options keep changing things.
constexpr ULONGLONG ChurnMs = 60000;

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
    HWND button = CreateWindowExA(0, "BUTTON", "Helper Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 10,
                                  10, 120, 24, main, reinterpret_cast<HMENU>(101), inst, nullptr);
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "Helper Edit", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 40, 120,
                                24, main, reinterpret_cast<HMENU>(102), inst, nullptr);
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

std::string OwnPath() {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    return exe;
}

// Starts one copy in --short-lived form for lifeMs that starts the next
// link of a chain of Links more; its process id, 0 when it did not start.
DWORD StartChainLink(DWORD lifeMs, unsigned long links) {
    std::string cmd = "\"" + OwnPath() + "\" --short-lived=" + std::to_string(lifeMs) +
                      " --chain=" + std::to_string(links) + " --parent=" + std::to_string(GetCurrentProcessId());
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;  // none: the copies write nothing
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return pi.dwProcessId;
}

// The life of one spawned copy.
int ShortLived(HINSTANCE inst, DWORD lifeMs, unsigned long chain, unsigned long parentPid) {
    // A link of a chain ends with the process that started it, so that no
    // link outlives the test that started the chain.
    HANDLE parent = parentPid ? OpenProcess(SYNCHRONIZE, FALSE, parentPid) : nullptr;
    if (chain > 0) StartChainLink(lifeMs, chain - 1);
    g_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE worker = CreateThread(nullptr, 0, Worker, nullptr, 0, nullptr);
    HWND top = CreateWindowExA(0, "STATIC", "Orvex short-lived", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, inst,
                               nullptr);
    if (top) CreateWindowExA(0, "STATIC", "child", WS_CHILD, 0, 0, 5, 5, top, nullptr, inst, nullptr);
    if (parent) {
        WaitForSingleObject(parent, lifeMs);
        CloseHandle(parent);
    } else {
        Sleep(lifeMs);
    }
    if (top) DestroyWindow(top);
    SetEvent(g_stop);
    if (worker) {
        WaitForSingleObject(worker, 5000);
        CloseHandle(worker);
    }
    return 0;
}

HANDLE g_spawnStop = nullptr;
int g_spawnCount = 0;

// Starts Count copies in --short-lived form, at most Running at a time, each
// living between 0 and 60 ms, until the count is reached or the event named
// by "stop=" is set. Then it waits for the copies still running and ends the
// whole process: a process ended from outside while it starts a copy can
// leave that copy half started.
DWORD WINAPI SpawnChildren(LPVOID) {
    constexpr DWORD Running = 6;
    const std::string exe = OwnPath();
    HANDLE alive[Running] = {};
    DWORD running = 0;
    for (int i = 0; i < g_spawnCount && WaitForSingleObject(g_spawnStop, 0) == WAIT_TIMEOUT; ++i) {
        if (running == Running) {
            const DWORD done = WaitForMultipleObjects(running, alive, FALSE, 10000);
            const DWORD slot = done < WAIT_OBJECT_0 + running ? done - WAIT_OBJECT_0 : 0;
            CloseHandle(alive[slot]);
            alive[slot] = alive[--running];
        }
        std::string cmd = "\"" + exe + "\" --short-lived=" + std::to_string(i % 7 * 10);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;  // none: the copies write nothing
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) continue;
        CloseHandle(pi.hThread);
        alive[running++] = pi.hProcess;
    }
    if (running) WaitForMultipleObjects(running, alive, TRUE, 10000);
    for (DWORD i = 0; i < running; ++i) CloseHandle(alive[i]);
    WaitForSingleObject(g_spawnStop, 120000);
    ExitProcess(0);
}

// Handles of several types opened and closed again, batch after batch.
DWORD WINAPI ChurnHandles(LPVOID) {
    constexpr int Batch = 16;
    const std::string exe = OwnPath();
    const ULONGLONG end = GetTickCount64() + ChurnMs;
    while (GetTickCount64() < end) {
        HANDLE made[Batch] = {};
        for (int i = 0; i < Batch; ++i) {
            switch (i % 4) {
            case 0:
                made[i] = CreateEventA(nullptr, FALSE, FALSE, nullptr);
                break;
            case 1:
                made[i] = CreateMutexA(nullptr, FALSE, nullptr);
                break;
            case 2:
                made[i] = CreateFileA(exe.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
                if (made[i] == INVALID_HANDLE_VALUE) made[i] = nullptr;
                break;
            default:
                made[i] = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, GetCurrentProcessId());
                break;
            }
        }
        for (HANDLE h : made)
            if (h) CloseHandle(h);
    }
    return 0;
}

// The window thread stops answering until the test lets it go on.
void Hang(HANDLE resume) { WaitForSingleObject(resume, 120000); }

// The copy of the test library in a folder that the ANSI code page cannot
// name; its ANSI path, or "" when it could not be loaded.
std::string LoadWideModule() {
    const std::wstring folderName = L"\u10DD\u10E0\u10D5\u10D4\u10E5\u10E1\u10D8_" +
                                    std::to_wstring(GetCurrentProcessId());
    wchar_t temp[MAX_PATH] = {};
    wchar_t exe[MAX_PATH] = {};
    if (!GetTempPathW(MAX_PATH, temp) || !GetModuleFileNameW(nullptr, exe, MAX_PATH)) return "";
    std::wstring source(exe);
    source = source.substr(0, source.find_last_of(L'\\') + 1) + L"orvex_test_module.dll";
    const std::wstring folder = std::wstring(temp) + folderName;
    const std::wstring copy = folder + L"\\orvex_wide_module.dll";
    CreateDirectoryW(folder.c_str(), nullptr);
    if (!CopyFileW(source.c_str(), copy.c_str(), FALSE)) return "";
    HMODULE module = LoadLibraryW(copy.c_str());
    if (!module) return "";
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    char name[4 * MAX_PATH] = {};
    WideCharToMultiByte(CP_UTF8, 0, folder.c_str(), -1, name, sizeof name, nullptr, nullptr);
    Report("widefolder", name);
    return path;
}

int IntArgument(const std::string& args, const char* name) {
    const auto p = args.find(name);
    return p == std::string::npos ? -1 : std::atoi(args.c_str() + p + std::strlen(name));
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR cmd, int) {
    std::string args = cmd ? cmd : "";
    if (const int life = IntArgument(args, "--short-lived="); life >= 0)
        return ShortLived(inst, static_cast<DWORD>(life), Count(args, "chain"), Count(args, "parent"));
    g_ignoreClose = args.find("--ignore-close") != std::string::npos;
    bool noWindow = args.find("--no-window") != std::string::npos;
    const bool churn = args.find("--churn") != std::string::npos;
    const bool hang = args.find("--hang") != std::string::npos;
    const bool handleChurn = args.find("--handle-churn") != std::string::npos;
    const int spawn = IntArgument(args, "--spawn=");
    std::string mutexName = "OrvexTestMutex_" + std::to_string(GetCurrentProcessId());
    if (auto p = args.find("--name="); p != std::string::npos)
        mutexName = args.substr(p + 7, args.find(' ', p) - p - 7);

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
    HANDLE syncPipe = CreateNamedPipeA((pipeName + "_sync").c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                       512, 512, 0, nullptr);
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
    if (args.find("--wide-module") != std::string::npos) Report("widemodule", LoadWideModule());

    // The extra handles stay open for the life of the process.
    const unsigned long extraHandles = Count(args, "handles");
    unsigned long held = 0;
    for (; held < extraHandles; ++held)
        if (!CreateEventA(nullptr, TRUE, FALSE, nullptr)) break;
    if (extraHandles) Report("handles", std::to_string(held));

    HWND main = noWindow ? nullptr : CreateWindows(inst, Count(args, "windows"));
    HANDLE resume = nullptr;
    if (hang) {
        const std::string name = "OrvexTestHelperResume_" + std::to_string(GetCurrentProcessId());
        resume = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
        Report("resume", name);
    }
    if (spawn > 0) {
        const std::string name = "OrvexTestHelperStop_" + std::to_string(GetCurrentProcessId());
        g_spawnStop = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
        g_spawnCount = spawn;
        Report("stop", name);
        CreateThread(nullptr, 0, SpawnChildren, nullptr, 0, nullptr);
    }
    if (handleChurn) CreateThread(nullptr, 0, ChurnHandles, nullptr, 0, nullptr);
    // A child that starts a grandchild, and so on: the chain's links live
    // for a minute (or end with the prefix).
    if (const unsigned long chain = Count(args, "chain"); chain > 0)
        Report("child", std::to_string(StartChainLink(20000, chain - 1)));
    Report("ready", main ? "window" : "nowindow");

    if (hang) Hang(resume);
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
