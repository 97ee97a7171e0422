// The 32-bit programs on 64-bit Windows: this 32-bit test program runs in a
// 64-bit prefix ("wow64" mode). The programs of build/dist/ start their
// 64-bit twins; a lone 32-bit program says what its view lacks and still
// works; the 32-bit view itself reads System32's own files and keeps the
// paths of processes whose modules it cannot read.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>

#include "app/Main.h"
#include "engine/OXI_Collectors.h"
#include "engine/OXI_ImagePath.h"
#include "engine/OXI_Processes.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_VersionInfo.h"
#include "platform/Orvex_Wow64.h"
#include "platform/pure/Orvex_TextCase.h"
#include "tests/JsonReader.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/TestMode.h"
#include "tests/wine/support/ToolRun.h"

using namespace orvex;
using namespace orvex::test;

namespace {

// build/dist/ as this program sees it (Wine's drive Z: is the Unix root).
std::string DistDir() {
    std::string path = "Z:" + std::string(ORVEX_DIST_DIR) + "\\";
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string DistProgram(const char* name) {
    const std::string path = DistDir() + name;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        ADD_FAILURE() << path << " is missing: build both trees and tools/dist.sh first";
    return path;
}

bool Is64BitProcess(DWORD pid) {
    const THandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
    BOOL wow64 = TRUE;
    return process && ::IsWow64Process(process.get(), &wow64) && !wow64;
}

// The processes of a collect --json: pid -> the process object.
std::map<std::string, TJson> ProcessesByPid(const TJson& doc) {
    std::map<std::string, TJson> byPid;
    for (const TJson& p : doc["processes"].Items) byPid.emplace(p["pid"].Text, p);
    return byPid;
}

// A program started without waiting; ended when the object goes.
class TStartedProgram {
public:
    explicit TStartedProgram(const std::string& exe) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string line = Quoted(exe);
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
        process_.reset(pi.hProcess);
        THandle thread(pi.hThread);
        pid_ = pi.dwProcessId;
    }
    ~TStartedProgram() {
        if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.get(), 9);
    }
    TStartedProgram(const TStartedProgram&) = delete;
    TStartedProgram& operator=(const TStartedProgram&) = delete;

    bool started() const { return static_cast<bool>(process_); }
    DWORD pid() const { return pid_; }
    HANDLE process() const { return process_.get(); }

private:
    THandle process_;
    DWORD pid_ = 0;
};

// The main window of the viewer, found among the top-level windows within
// a minute; null when none came.
HWND WaitForMainWindow() {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            found = FindWindowA(app::MainClassName, nullptr);
            return found != nullptr && IsWindowVisible(found);
        },
        60'000);
    return found;
}

// The main window that a started viewer shows, and the process it belongs
// to.
void ShowViewer(const TStartedProgram& viewer, HWND& window, DWORD& owner) {
    ASSERT_TRUE(viewer.started());
    window = WaitForMainWindow();
    ASSERT_NE(window, nullptr) << "no main window within a minute";
    GetWindowThreadProcessId(window, &owner);
}

// Closes a viewer's main window and waits (bounded) for its process to end.
void CloseViewer(HWND window, DWORD pid) {
    const THandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (process && WaitForSingleObject(process.get(), 30'000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the viewer (pid " << pid << ") did not end on WM_CLOSE";
        TerminateProcess(process.get(), 9);
    }
}

}  // namespace

TEST(Wow64View, ThisProgramRunsInWow64) { EXPECT_TRUE(IsWow64Program()) << "the wow64 mode runs in a 64-bit prefix"; }

// Version data and image paths of System32 are those of the real folder, not
// of the 32-bit SysWOW64 that a 32-bit program's view shows there: a file
// that exists only in the real System32 is found and read.
TEST(Wow64View, System32FilesAreReadUnredirected) {
    char system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    const std::string name = "orvex_wow64_probe.dll";
    const std::string inSystem = std::string(system) + "\\" + name;
    const std::string source = ExeDir() + "orvex_test_versiononly.dll";
    PVOID redirection = nullptr;
    ASSERT_TRUE(Wow64DisableWow64FsRedirection(&redirection));
    const bool copied = CopyFileA(source.c_str(), inSystem.c_str(), FALSE) != 0;
    Wow64RevertWow64FsRedirection(redirection);
    ASSERT_TRUE(copied) << "cannot place the probe in the real System32: " << GetLastError();
    struct TRemove {
        std::string Path;
        ~TRemove() {
            PVOID r = nullptr;
            Wow64DisableWow64FsRedirection(&r);
            DeleteFileA(Path.c_str());
            Wow64RevertWow64FsRedirection(r);
        }
    } remove{inSystem};
    ASSERT_EQ(GetFileAttributesA(inSystem.c_str()), INVALID_FILE_ATTRIBUTES) << "the probe shows in SysWOW64 too";

    TVersionInfo expected, info;
    ASSERT_TRUE(ReadVersionInfo(source, expected));
    ASSERT_TRUE(ReadVersionInfo(inSystem, info)) << inSystem;
    EXPECT_EQ(info.FileName, inSystem);
    EXPECT_EQ(info.FileVersion, expected.FileVersion);
    EXPECT_EQ(info.ProductName, expected.ProductName);
    EXPECT_TRUE(SameText(ResolveImagePath(name), inSystem)) << ResolveImagePath(name);
    // Paths outside System32 are taken as they are.
    EXPECT_EQ(UnredirectedPath(source), source);
}

// Processes whose modules a 32-bit program cannot read (the 64-bit ones)
// keep the path the system records for them.
TEST(Wow64View, ProcessesWhoseModulesCannotBeReadKeepTheirPath) {
    TOrvex_ProcessList component;
    component.DetectionRange = TDetectionRange{dtProcesses};
    component.RefreshData();
    int wide = 0;
    for (int i = 0; i < component.ProcessCount(); ++i) {
        TProcessInfo p;
        component.GetProcess(static_cast<std::uint32_t>(i), p);
        if (p.PID == 0 || !Is64BitProcess(p.PID)) continue;
        ++wide;
        EXPECT_FALSE(p.ImageName.str().empty()) << p.Name.str() << " (pid " << p.PID << ")";
        EXPECT_TRUE(SameText(ExecutableFileName(p.ImageName.str()), p.Name.str()))
            << p.ImageName.str() << " for " << p.Name.str();
    }
    EXPECT_GE(wide, 2) << "the 64-bit prefix runs 64-bit system processes";
}

// The main window of a 32-bit viewer that runs in WoW64 without its twin
// says so in a panel after the live ones.
TEST(Wow64View, MainWindowSaysWhatTheViewLacks) {
    app::Twnd_Main window(nullptr, false);
    const std::vector<std::string> texts = StatusTexts(window.sb());
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0].rfind("Threads: ", 0), 0u) << texts[0];
    EXPECT_EQ(texts[4], Wow64ViewNotice);
}

// The 32-bit console tool of build/dist/ hands its work to the 64-bit one:
// every process the 64-bit tool lists with a path and modules, it lists with
// them too.
TEST(Wow64Twin, ConsoleToolListsWhatThe64BitBuildLists) {
    const TToolRun wide = RunProgram(DistProgram("orvexinv64.exe"), "collect --json");
    const TToolRun run = RunProgram(DistProgram("orvexinv.exe"), "collect --json");
    ASSERT_EQ(wide.ExitCode, 0u) << wide.Err;
    ASSERT_EQ(run.ExitCode, 0u) << run.Err;
    EXPECT_TRUE(run.Err.empty()) << run.Err;
    const TJson wideDoc = ParseJson(wide.Out);
    const TJson doc = ParseJson(run.Out);
    EXPECT_EQ(doc["header"]["viewLimit"].Text, "");
    const auto listed = ProcessesByPid(doc);
    int compared = 0;
    for (const TJson& p : wideDoc["processes"].Items) {
        if (p["imageName"].Text.empty() || p["modules"].Items.empty()) continue;
        const auto same = listed.find(p["pid"].Text);
        if (same == listed.end()) continue;  // ended between the two runs
        if (same->second["createTimeRaw"].Text != p["createTimeRaw"].Text) continue;
        ++compared;
        EXPECT_EQ(same->second["imageName"].Text, p["imageName"].Text) << "pid " << p["pid"].Text;
        EXPECT_FALSE(same->second["modules"].Items.empty()) << p["imageName"].Text;
    }
    EXPECT_GE(compared, 3) << "the system processes of the prefix";
    // The collector was the twin: it lists itself and the 32-bit tool that
    // waits for it.
    bool twin = false, launcher = false;
    for (const auto& [pid, p] : listed) {
        twin = twin || SameText(p["name"].Text, "orvexinv64.exe");
        launcher = launcher || (pid == std::to_string(run.Pid) && SameText(p["name"].Text, "orvexinv.exe"));
    }
    EXPECT_TRUE(twin);
    EXPECT_TRUE(launcher) << "pid " << run.Pid;
}

// Arguments as given (a quoted path with blanks), standard output and error,
// and every exit code pass through the 32-bit tool unchanged.
TEST(Wow64Twin, ConsoleToolPassesArgumentsOutputAndExitCodes) {
    const std::string tool = DistProgram("orvexinv.exe");
    const std::string wideTool = DistProgram("orvexinv64.exe");
    TTempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const std::string first = folder.path() + "first report.ivs";
    const std::string second = folder.path() + "second report.ivs";
    const TToolRun save1 = RunProgram(tool, "save " + Quoted(first));
    const TToolRun save2 = RunProgram(tool, "save " + Quoted(second));
    ASSERT_EQ(save1.ExitCode, 0u) << save1.Err;
    ASSERT_EQ(save2.ExitCode, 0u) << save2.Err;
    EXPECT_EQ(FolderEntries(folder.path()), (std::vector<std::string>{"first report.ivs", "second report.ivs"}));

    const TToolRun shown = RunProgram(tool, "show " + Quoted(first) + " --json");
    const TToolRun wideShown = RunProgram(wideTool, "show " + Quoted(first) + " --json");
    EXPECT_EQ(shown.ExitCode, 0u) << shown.Err;
    EXPECT_FALSE(shown.Out.empty());
    EXPECT_EQ(shown.Out, wideShown.Out);

    // The two saves differ at least in the tools' own processes: exit code 1.
    const TToolRun diff = RunProgram(tool, "diff " + Quoted(first) + " " + Quoted(second));
    EXPECT_EQ(diff.ExitCode, 1u) << diff.Err;
    EXPECT_EQ(diff.Out, RunProgram(wideTool, "diff " + Quoted(first) + " " + Quoted(second)).Out);

    const TToolRun usage = RunProgram(tool, "frobnicate");
    const TToolRun wideUsage = RunProgram(wideTool, "frobnicate");
    EXPECT_EQ(usage.ExitCode, 2u);
    EXPECT_TRUE(usage.Out.empty()) << usage.Out;
    EXPECT_EQ(usage.Err, wideUsage.Err);
    EXPECT_EQ(usage.Err.rfind("orvexinv: ", 0), 0u) << usage.Err;
}

// Without its twin the 32-bit tool works by itself, says so once on
// standard error and in the JSON header, and keeps the 64-bit processes'
// paths.
TEST(Wow64Twin, ConsoleToolWithoutItsTwinSaysSoAndWorks) {
    TTempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const std::string lone = folder.path() + "orvexinv.exe";
    ASSERT_TRUE(CopyFileA(DistProgram("orvexinv.exe").c_str(), lone.c_str(), FALSE));
    const TToolRun run = RunProgram(lone, "collect --json");
    ASSERT_EQ(run.ExitCode, 0u) << run.Err;
    EXPECT_EQ(run.Err, std::string("orvexinv: ") + Wow64ViewNotice + "\r\n");
    const TJson doc = ParseJson(run.Out);
    EXPECT_EQ(doc["header"]["viewLimit"].Text, Wow64ViewNotice);
    const auto listed = ProcessesByPid(doc);
    const auto self = listed.find(std::to_string(run.Pid));
    ASSERT_NE(self, listed.end()) << "the lone tool collected itself";
    EXPECT_TRUE(SameText(self->second["imageName"].Text, lone)) << self->second["imageName"].Text;
    EXPECT_FALSE(self->second["modules"].Items.empty());
    int wide = 0;
    for (const auto& [pid, p] : listed) {
        if (pid == "0" || !Is64BitProcess(static_cast<DWORD>(std::stoul(pid)))) continue;
        ++wide;
        EXPECT_FALSE(p["imageName"].Text.empty()) << p["name"].Text;
    }
    EXPECT_GE(wide, 2);
}

// A system that is never 64-bit never looks for the twin: the tool as
// Windows NT 4 (Wine reports NT 4 to "orvexinv_nt40.exe") works by itself
// even with a twin beside it, and says nothing of a 32-bit view.
TEST(Wow64Twin, SystemsThatAreNever64BitNeverStartTheTwin) {
    TTempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const std::string nt4 = folder.path() + "orvexinv_nt40.exe";
    const std::string twin = folder.path() + "orvexinv_nt4064.exe";
    ASSERT_TRUE(CopyFileA(DistProgram("orvexinv.exe").c_str(), nt4.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(DistProgram("orvexinv64.exe").c_str(), twin.c_str(), FALSE));
    const TToolRun run = RunProgram(nt4, "collect --json");
    ASSERT_EQ(run.ExitCode, 0u) << run.Err;
    EXPECT_TRUE(run.Err.empty()) << run.Err;
    const TJson doc = ParseJson(run.Out);
    EXPECT_EQ(doc["header"]["majorVersion"].Text, "4") << doc["header"]["osName"].Text;
    EXPECT_EQ(doc["header"]["viewLimit"].Text, "");
    const auto listed = ProcessesByPid(doc);
    EXPECT_NE(listed.find(std::to_string(run.Pid)), listed.end()) << "the tool collected by itself";
    for (const auto& [pid, p] : listed) EXPECT_FALSE(SameText(p["name"].Text, "orvexinv_nt4064.exe")) << pid;
}

// The 32-bit viewer of build/dist/ starts its twin and ends: the main window
// that shows belongs to a 64-bit process.
TEST(Wow64Twin, ViewerWindowBelongsToThe64BitTwin) {
    TStartedProgram viewer(DistProgram("orvexpv.exe"));
    HWND window = nullptr;
    DWORD owner = 0;
    ASSERT_NO_FATAL_FAILURE(ShowViewer(viewer, window, owner));
    EXPECT_NE(owner, viewer.pid());
    EXPECT_TRUE(Is64BitProcess(owner)) << "pid " << owner;
    EXPECT_EQ(WaitForSingleObject(viewer.process(), 30'000), WAIT_OBJECT_0) << "the 32-bit viewer did not end";
    DWORD code = 99;
    GetExitCodeProcess(viewer.process(), &code);
    EXPECT_EQ(code, 0u);
    CloseViewer(window, owner);
}

// Without its twin the 32-bit viewer shows its own main window.
TEST(Wow64Twin, ViewerWithoutItsTwinShowsItsOwnWindow) {
    TTempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const std::string lone = folder.path() + "orvexpv.exe";
    ASSERT_TRUE(CopyFileA(DistProgram("orvexpv.exe").c_str(), lone.c_str(), FALSE));
    TStartedProgram viewer(lone);
    HWND window = nullptr;
    DWORD owner = 0;
    ASSERT_NO_FATAL_FAILURE(ShowViewer(viewer, window, owner));
    EXPECT_EQ(owner, viewer.pid());
    EXPECT_EQ(WindowText(window), "Orvex Process Viewer");
    CloseViewer(window, owner);
}
