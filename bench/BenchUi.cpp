#include "bench/BenchUi.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Main.h"
#include "app/PrcDetails.h"

namespace orvex::bench {

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// The dialog being timed: its owner, and the time it was first idle.
HWND g_owner = nullptr;
Clock::time_point g_shown;
bool g_seen = false;

BOOL CALLBACK FindOwned(HWND h, LPARAM lp) {
    if (::GetWindow(h, GW_OWNER) == g_owner && ::IsWindowVisible(h)) {
        *reinterpret_cast<HWND*>(lp) = h;
        return FALSE;
    }
    return TRUE;
}

// Runs at the first idle moment of the dialog's message loop: the dialog
// is created, filled and shown. Ends it through its Close button.
void CALLBACK DialogIdle(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindOwned, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    ::KillTimer(nullptr, id);
    if (!g_seen) g_shown = Clock::now();
    g_seen = true;
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

// A process holding many handles: the test helper started with that many
// extra handles, running until the object ends.
class THandleHolder {
public:
    THandleHolder(const std::string& helperExe, int handles) {
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
        HANDLE read = nullptr, write = nullptr;
        if (!::CreatePipe(&read, &write, &sa, 0)) return;
        ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = write;
        si.hStdError = write;
        si.hStdInput = nullptr;
        std::string command = "\"" + helperExe + "\" --no-window --handles=" + std::to_string(handles);
        PROCESS_INFORMATION pi{};
        const BOOL started = ::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                                              &pi);
        ::CloseHandle(write);
        if (started) {
            ::CloseHandle(pi.hThread);
            process_ = pi.hProcess;
            pid_ = pi.dwProcessId;
            // Until "ready" (or the helper's end closes the pipe).
            std::string seen;
            char chunk[512];
            DWORD got = 0;
            while (seen.find("ready=") == std::string::npos && ::ReadFile(read, chunk, sizeof chunk, &got, nullptr) &&
                   got > 0)
                seen.append(chunk, got);
            ready_ = seen.find("ready=") != std::string::npos;
        }
        ::CloseHandle(read);
    }
    ~THandleHolder() {
        if (process_) {
            ::TerminateProcess(process_, 0);
            ::WaitForSingleObject(process_, 10000);
            ::CloseHandle(process_);
        }
    }
    THandleHolder(const THandleHolder&) = delete;
    THandleHolder& operator=(const THandleHolder&) = delete;
    bool Ready() const noexcept { return ready_; }
    std::uint32_t Pid() const noexcept { return pid_; }

private:
    HANDLE process_ = nullptr;
    std::uint32_t pid_ = 0;
    bool ready_ = false;
};

}  // namespace

TUiTimings TimeMainWindow(const std::string& helperExe, int rounds, FILE* out) {
    TUiTimings t;
    app::Twnd_Main window(nullptr, false);
    window.Show(SW_SHOWNOACTIVATE);
    Pump();
    std::vector<double> f5;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        // What the F5 accelerator sends.
        ::SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(app::cmRefreshId, 1), 0);
        const int rows = static_cast<int>(::SendMessageA(window.PrcList(), LVM_GETITEMCOUNT, 0, 0));
        f5.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        t.ListRows = rows;
        t.ListFilled = rows == window.ProcList.ProcessCount() && rows > 0;
        Pump();
    }
    t.F5Ms = Median(f5);
    t.Processes = window.ProcList.ProcessCount();
    t.Handles = window.ProcList.HandleCount();

    const THandleHolder holder(helperExe, DetailsHandles);
    if (!holder.Ready() && out) std::fprintf(out, "the helper holding %d handles did not start\n", DetailsHandles);
    const std::uint32_t detailsPid = holder.Pid();
    ::SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(app::cmRefreshId, 1), 0);
    Pump();
    const int index = holder.Ready() ? window.ProcList.FindProcess(detailsPid) : -1;
    if (index >= 0) {
        TProcessInfo p;
        window.ProcList.GetProcess(static_cast<std::uint32_t>(index), p);
        for (int i = 0; i < window.ProcList.HandleCount(); ++i) {
            THandleInfo h;
            window.ProcList.GetHandle(static_cast<std::uint32_t>(i), h);
            if (h.ProcessID == detailsPid) ++t.DetailsHandles;
        }
        std::vector<double> open;
        for (int i = 0; i < rounds; ++i) {
            g_owner = window.Handle();
            g_seen = false;
            ::SetTimer(nullptr, 0, 0, DialogIdle);
            const auto start = Clock::now();
            ShowProcessDetails(window.Handle(), window.ProcList, index);
            if (g_seen) open.push_back(std::chrono::duration<double, std::milli>(g_shown - start).count());
            Pump();
        }
        t.DetailsMs = Median(open);
        t.DetailsOpened = !open.empty();
    } else if (out) {
        std::fprintf(out, "process %u not in the list: no details timing\n", static_cast<unsigned>(detailsPid));
    }
    return t;
}

}  // namespace orvex::bench
