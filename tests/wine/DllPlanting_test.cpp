// Libraries planted next to the programs under the names of the system
// libraries they bind: neither program loads one, and a binding never takes a
// library of its name that something else mapped from another folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>

#include "app/Main.h"
#include "app/MainLayout.h"
#include "platform/Orvex_LibraryBinding.h"
#include "platform/Orvex_Resources.h"
#include "platform/pure/Orvex_ScopeExit.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/TestMode.h"
#include "tests/wine/support/ToolRun.h"

namespace {

using orvex::test::TTempFolder;

// The libraries the programs bind at run time, and the probe that only the
// control program loads. The libraries they import (kernel, user, GDI,
// advapi, the C run-time) are the system's own on Windows, which loads them
// from its directory whatever lies next to a program; Wine told to prefer a
// native copy loads a planted one for any program, so they are not planted
// (tools/static-dlls.allow and its check keep the imports to them).
const char* const PlantedNames[] = {"version", "comctl32", "comdlg32", "shell32",
                                    "ole32",   "oleaut32", "psapi",    "odbc32"};

std::string MarkerDll() { return orvex::test::ExeDir() + "orvex_test_marker.dll"; }

// Sets an environment variable for the children started while it lives.
class TChildEnvironment {
public:
    TChildEnvironment(const char* name, const std::string& value) : name_(name) {
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~TChildEnvironment() { SetEnvironmentVariableA(name_, nullptr); }
    TChildEnvironment(const TChildEnvironment&) = delete;
    TChildEnvironment& operator=(const TChildEnvironment&) = delete;

private:
    const char* name_;
};

// Tells Wine to prefer a native copy of each planted library in the program
// named Program while it lives (Wine takes the per-program overrides from
// the registry; the environment's WINEDLLOVERRIDES of a Windows parent does
// not reach its children).
class TPreferNative {
public:
    explicit TPreferNative(const std::string& program)
        : key_("Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides") {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        const orvex::TRegKey owner(key);
        static const char order[] = "native,builtin";
        set_ = std::all_of(std::begin(PlantedNames), std::end(PlantedNames), [&](const char* name) {
            return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order) ==
                   ERROR_SUCCESS;
        });
    }
    ~TPreferNative() { RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }
    TPreferNative(const TPreferNative&) = delete;
    TPreferNative& operator=(const TPreferNative&) = delete;

    bool set() const { return set_; }

private:
    std::string key_;
    bool set_ = false;
};

// The planted names that the markers' log says were loaded into Program
// (the log's lines: the marker's path, a tab, the program's path).
std::set<std::string> LoadedInto(const std::string& log, const std::string& program) {
    std::set<std::string> names;
    std::ifstream in(log);
    std::string line;
    while (std::getline(in, line)) {
        const auto tab = line.find('\t');
        if (tab == std::string::npos) continue;
        std::string marker = line.substr(0, tab);
        const std::string loader = line.substr(tab + 1);
        if (loader.size() < program.size() ||
            lstrcmpiA(loader.substr(loader.size() - program.size()).c_str(), program.c_str()) != 0)
            continue;
        marker = marker.substr(marker.find_last_of('\\') + 1);
        std::transform(marker.begin(), marker.end(), marker.begin(),
                       [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
        names.insert(marker.substr(0, marker.find('.')));
    }
    return names;
}

std::string Listed(const std::set<std::string>& names) {
    std::string text;
    for (const std::string& n : names) text += n + " ";
    return text.empty() ? "(none)" : text;
}

// Starts the viewer, waits for its first refresh to show the main window,
// refreshes once more and closes it; whether it ended by itself.
bool RunViewerOnce(const std::string& exe) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    orvex::THandle process(pi.hProcess), thread(pi.hThread);
    const HWND main = orvex::test::AwaitVisibleWindow(pi.dwProcessId, orvex::app::MainClassName);
    if (main) {
        SendMessageA(main, WM_COMMAND, orvex::app::cmRefreshId, 0);
        PostMessageA(main, WM_CLOSE, 0, 0);
    }
    const bool ended = WaitForSingleObject(process.get(), main ? 15000 : 0) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.get(), 1);
    return main && ended;
}

TEST(DllPlanting, NeitherProgramLoadsALibraryPlantedNextToIt) {
    const TTempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const std::string built = orvex::test::ExeDir();
    const struct {
        const char* from;
        const char* name;
    } programs[] = {
        {"orvex_test_planted_control.exe", "control.exe"},
        {"..\\..\\app\\orvexpv.exe", "orvexpv.exe"},
        {"..\\..\\console\\orvexinv.exe", "orvexinv.exe"},
    };
    for (const auto& p : programs)
        ASSERT_TRUE(CopyFileA((built + p.from).c_str(), (folder.path() + p.name).c_str(), FALSE)) << p.from;
    for (const char* name : PlantedNames)
        ASSERT_TRUE(CopyFileA(MarkerDll().c_str(), (folder.path() + name + ".dll").c_str(), FALSE)) << name;
    const TPreferNative controlNative("control.exe"), viewerNative("orvexpv.exe"), toolNative("orvexinv.exe");
    ASSERT_TRUE(controlNative.set() && viewerNative.set() && toolNative.set());
    const std::string log = folder.path() + "markers.log";
    const TChildEnvironment logName("ORVEX_MARKER_LOG", log);

    const auto control = orvex::test::RunProgram(folder.path() + "control.exe", "");
    ASSERT_TRUE(control.Finished && control.ExitCode == 0) << control.Err;
    EXPECT_NE(control.Out.find("probe " + folder.path() + "odbc32.dll"), std::string::npos) << control.Out;
    const auto collect = orvex::test::RunProgram(folder.path() + "orvexinv.exe", "collect --json");
    ASSERT_TRUE(collect.Finished) << collect.Err;
    EXPECT_EQ(collect.ExitCode, 0u) << collect.Err;
    EXPECT_NE(collect.Out.find("\"processes\""), std::string::npos);
    EXPECT_TRUE(RunViewerOnce(folder.path() + "orvexpv.exe"));

    // What the system's own libraries load (under Wine, its user32 imports
    // the version library) the control loads as well; the programs may load
    // nothing beyond it.
    const std::set<std::string> bySystem = LoadedInto(log, "control.exe");
    ASSERT_EQ(bySystem.count("odbc32"), 1u) << "the planted probe was not loaded: " << Listed(bySystem);
    for (const char* program : {"orvexpv.exe", "orvexinv.exe"}) {
        std::set<std::string> extra;
        for (const std::string& name : LoadedInto(log, program))
            if (!bySystem.count(name)) extra.insert(name);
        EXPECT_TRUE(extra.empty()) << program << " loaded planted " << Listed(extra);
    }
}

// The search restriction both programs set at their start keeps a library
// asked for by name to the system directory: the control, restricted, loads
// the system's probe, not the one planted next to it.
TEST(DllPlanting, TheRestrictedSearchSkipsTheProgramsFolder) {
    const TTempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    ASSERT_TRUE(CopyFileA((orvex::test::ExeDir() + "orvex_test_planted_control.exe").c_str(),
                          (folder.path() + "control.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(MarkerDll().c_str(), (folder.path() + "odbc32.dll").c_str(), FALSE));
    const TPreferNative controlNative("control.exe");
    ASSERT_TRUE(controlNative.set());
    const auto plain = orvex::test::RunProgram(folder.path() + "control.exe", "");
    ASSERT_TRUE(plain.Finished && plain.ExitCode == 0) << plain.Err;
    EXPECT_NE(plain.Out.find("probe " + folder.path() + "odbc32.dll"), std::string::npos) << plain.Out;
    const auto restricted = orvex::test::RunProgram(folder.path() + "control.exe", "restricted");
    ASSERT_TRUE(restricted.Finished && restricted.ExitCode == 0) << restricted.Err;
    // Wine has both calls, as Windows 8 and later do.
    EXPECT_NE(restricted.Out.find("restricted 1 1"), std::string::npos) << restricted.Out;
    char system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    const auto at = restricted.Out.find("probe ");
    ASSERT_NE(at, std::string::npos) << restricted.Out;
    const std::string probe = restricted.Out.substr(at + 6, restricted.Out.find_first_of("\r\n", at) - at - 6);
    EXPECT_EQ(lstrcmpiA(probe.c_str(), (std::string(system) + "\\odbc32.dll").c_str()), 0) << probe;
}

// A library of the binding's name mapped from another folder (as Wine's own
// user32 maps a planted version library) is never taken: the binding maps
// the system directory's copy or nothing.
TEST(DllPlanting, ABindingTakesOnlyTheSystemDirectorysCopy) {
    const TTempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const std::string planted = folder.path() + "orvexplant.dll";
    ASSERT_TRUE(CopyFileA(MarkerDll().c_str(), planted.c_str(), FALSE));
    const orvex::TModule plantedModule(LoadLibraryA(planted.c_str()));
    ASSERT_TRUE(plantedModule);

    orvex::TLibraryBinding absent("ORVEXPLANT.DLL", {});
    EXPECT_FALSE(absent.Bind()) << "took the copy mapped from " << planted;

    char system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    ASSERT_GT(length, 0u);
    const std::string systemCopy = std::string(system) + "\\orvexplant.dll";
    ASSERT_TRUE(CopyFileA(MarkerDll().c_str(), systemCopy.c_str(), FALSE)) << GetLastError();
    const orvex::TScopeExit removeCopy([&] { DeleteFileA(systemCopy.c_str()); });
    orvex::TLibraryBinding present("ORVEXPLANT.DLL", {});
    ASSERT_TRUE(present.Bind());
    EXPECT_NE(present.handle(), plantedModule.get());
    char mapped[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(present.handle(), mapped, MAX_PATH), 0u);
    EXPECT_EQ(lstrcmpiA(mapped, systemCopy.c_str()), 0) << mapped;
    present.Release();
}

}  // namespace
