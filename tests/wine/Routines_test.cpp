#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Orvex_FileIcon.h"
#include "platform/Orvex_Native.h"
#include "platform/Orvex_ProcessRoutines.h"
#include "platform/Orvex_UserNames.h"
#include "platform/Orvex_VersionInfo.h"
#include "platform/Orvex_WindowInfo.h"
#include "tests/wine/support/HelperProcess.h"
#include "tests/wine/support/TestMode.h"

using namespace orvex;

namespace {

std::string HelperExe() { return test::ExeDir() + "orvex_test_helper.exe"; }
std::string SystemFile(const char* name) {
    char dir[MAX_PATH] = {};
    GetSystemDirectoryA(dir, MAX_PATH);
    return std::string(dir) + "\\" + name;
}
// The command line THelperProcess starts the helper with.
std::string HelperCommandLine(const std::string& args) { return "\"" + HelperExe() + "\" " + args; }

bool Contains(const std::vector<std::string>& names, const char* name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

HWND HelperWindow(const test::THelperProcess& h, const char* key) {
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(h.hex(key)));
}

}  // namespace

TEST(RoutinesVersionInfo, HelperVersionResource) {
    TVersionInfo v;
    v.Comments = "stale";
    ASSERT_TRUE(ReadVersionInfo(HelperExe(), v));
    EXPECT_EQ(v.FileName, HelperExe());
    EXPECT_EQ(v.FileVersion, "1.2.3.4-helper");
    EXPECT_EQ(v.ProductName, "Orvex Test Suite");
    EXPECT_EQ(v.CompanyName, "Orvex Test Company");
    EXPECT_EQ(v.Description, "Orvex test helper");
    EXPECT_EQ(v.Comments, "Started by the Wine tests");
    EXPECT_EQ(v.Copyright, "Copyright (C) Orvex Tests");
    EXPECT_EQ(v.InternalName, "orvex_test_helper");
    EXPECT_EQ(v.ProductVersion, "5.6.7.8-suite");
    EXPECT_EQ(v.SpecialBuild, "test build");
    EXPECT_EQ(v.Major, 1u);
    EXPECT_EQ(v.Minor, 2u);
    EXPECT_EQ(v.Release, 3u);
    EXPECT_EQ(v.Build, 4u);
    EXPECT_EQ(v.ProductMajor, 5u);
    EXPECT_EQ(v.ProductMinor, 6u);
    EXPECT_EQ(v.ProductRelease, 7u);
    EXPECT_EQ(v.ProductBuild, 8u);
}

TEST(RoutinesVersionInfo, NoTranslationTableGivesNumbersOnly) {
    const std::string dll = test::ExeDir() + "orvex_test_versiononly.dll";
    TVersionInfo v;
    ASSERT_TRUE(ReadVersionInfo(dll, v));
    EXPECT_EQ(v.Major, 9u);
    EXPECT_EQ(v.Minor, 8u);
    EXPECT_EQ(v.Release, 7u);
    EXPECT_EQ(v.Build, 6u);
    EXPECT_EQ(v.ProductMajor, 4u);
    EXPECT_EQ(v.ProductBuild, 1u);
    // The strings exist under 040904B0 but no translation names that table.
    EXPECT_EQ(v.FileVersion, "");
    EXPECT_EQ(v.ProductName, "");
}

TEST(RoutinesVersionInfo, FileWithoutVersionResource) {
    const std::string exe = test::ExeDir() + "orvex_wine_tests.exe";
    TVersionInfo v;
    v.FileVersion = "stale";
    v.Major = 7;
    EXPECT_FALSE(ReadVersionInfo(exe, v));
    TVersionInfo expected;
    expected.FileName = exe;
    EXPECT_EQ(v, expected);
    EXPECT_FALSE(ReadVersionInfo("C:\\no\\such\\file.exe", v));
    EXPECT_EQ(v.FileName, "C:\\no\\such\\file.exe");
}

TEST(RoutinesVersionInfo, SystemLibrary) {
    TVersionInfo v;
    ASSERT_TRUE(ReadVersionInfo(SystemFile("kernel32.dll"), v));
    EXPECT_FALSE(v.FileVersion.empty());
    EXPECT_GT(v.Major, 0u);
}

TEST(RoutinesUserNames, UserName) {
    char buf[256] = {};
    DWORD size = sizeof buf;
    ASSERT_TRUE(GetUserNameA(buf, &size));
    EXPECT_EQ(ReadUserName(), buf);
    EXPECT_FALSE(ReadUserName().empty());
}

TEST(RoutinesUserNames, AltDefaultUserName) {
    const char* key = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegDeleteValueA(k, "AltDefaultUserName");
    EXPECT_EQ(ReadAltDefaultUserName(), "");
    const char name[] = "OrvexAltUser";
    ASSERT_EQ(RegSetValueExA(k, "AltDefaultUserName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name), sizeof name),
              ERROR_SUCCESS);
    EXPECT_EQ(ReadAltDefaultUserName(), "OrvexAltUser");
    RegDeleteValueA(k, "AltDefaultUserName");
    RegCloseKey(k);
    EXPECT_EQ(ReadAltDefaultUserName(), "");
}

TEST(RoutinesTerminate, HelperThatClosesWhenAsked) {
    test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    ASSERT_TRUE(helper.hasWindow());
    EXPECT_EQ(TerminateProcessGently(helper.pid(), 10000), tpClosed);
    ASSERT_TRUE(helper.waitForExit(5000));
    DWORD code = 99;
    ASSERT_TRUE(GetExitCodeProcess(helper.process(), &code));
    EXPECT_EQ(code, 0u);  // it left its message loop by itself
}

TEST(RoutinesTerminate, HelperThatIgnoresTheRequest) {
    test::THelperProcess helper("--ignore-close");
    ASSERT_TRUE(helper.started());
    ASSERT_TRUE(helper.hasWindow());
    const DWORD start = GetTickCount();
    EXPECT_EQ(TerminateProcessGently(helper.pid(), 700), tpTerminated);
    EXPECT_GE(GetTickCount() - start, 650u);  // it waited for the time-out
    ASSERT_TRUE(helper.waitForExit(5000));
    DWORD code = 99;
    ASSERT_TRUE(GetExitCodeProcess(helper.process(), &code));
    EXPECT_EQ(code, 0u);  // terminated with exit code 0
}

TEST(RoutinesTerminate, NegativeTimeoutTerminatesAtOnce) {
    test::THelperProcess helper("--ignore-close");
    ASSERT_TRUE(helper.started());
    EXPECT_EQ(TerminateProcessGently(helper.pid(), -1), tpTerminated);
    EXPECT_TRUE(helper.waitForExit(5000));
}

TEST(RoutinesTerminate, OwnAndMissingProcesses) {
    EXPECT_EQ(TerminateProcessGently(GetCurrentProcessId(), 0), tpFailed);
    EXPECT_EQ(TerminateProcessGently(GetCurrentProcessId(), -1), tpFailed);
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    const DWORD pid = helper.pid();
    ASSERT_TRUE(TerminateProcess(helper.process(), 3));
    ASSERT_TRUE(helper.waitForExit(5000));
    // The helper's handle keeps the ended process's object: it is found ended at once.
    EXPECT_EQ(TerminateProcessGently(pid, 100), tpClosed);
    EXPECT_EQ(TerminateProcessGently(0xFFFFFFF0u, 100), tpFailed);
}

TEST(RoutinesFileIcon, ExecutableWithIcons) {
    const std::string exe = SystemFile("winecfg.exe");
    ASSERT_GE(reinterpret_cast<UINT_PTR>(ExtractIconA(GetModuleHandleA(nullptr), exe.c_str(), UINT(-1))), 1u);
    TIcon icon = ExtractFileIcon(exe, 0);
    ASSERT_TRUE(icon);
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &ii));
    if (ii.hbmMask) DeleteObject(ii.hbmMask);
    if (ii.hbmColor) DeleteObject(ii.hbmColor);
    EXPECT_TRUE(ii.fIcon);
}

TEST(RoutinesFileIcon, ExecutableWithoutIconsGetsTheShellsIcon) {
    ASSERT_EQ(reinterpret_cast<UINT_PTR>(ExtractIconA(GetModuleHandleA(nullptr), HelperExe().c_str(), UINT(-1))), 0u);
    TIcon icon = ExtractFileIcon(HelperExe(), 0);
    ASSERT_TRUE(icon);
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &ii));
    if (ii.hbmMask) DeleteObject(ii.hbmMask);
    if (ii.hbmColor) DeleteObject(ii.hbmColor);
}

TEST(RoutinesFileIcon, IndexBeyondTheIconsFallsBack) {
    TIcon icon = ExtractFileIcon(SystemFile("notepad.exe"), 500);
    EXPECT_TRUE(icon);
}

TEST(RoutinesCommandLine, HelperCommandLine) {
    ASSERT_TRUE(BindNative());
    const std::string args = "--no-window --name=OrvexCmdLine";
    test::THelperProcess helper(args);
    ASSERT_TRUE(helper.started());
    const std::string expected = HelperCommandLine(args);
    ASSERT_LE(expected.size(), CommandLineMaxChars);
    EXPECT_EQ(ReadProcessCommandLine(helper.pid()), expected);
}

TEST(RoutinesCommandLine, LongCommandLineIsCut) {
    ASSERT_TRUE(BindNative());
    const std::string args = "--no-window --name=" + std::string(200, 'x');
    test::THelperProcess helper(args);
    ASSERT_TRUE(helper.started());
    const std::string full = HelperCommandLine(args);
    ASSERT_GT(full.size(), CommandLineMaxChars);
    EXPECT_EQ(ReadProcessCommandLine(helper.pid()), full.substr(0, CommandLineMaxChars));
}

TEST(RoutinesCommandLine, OwnProcessAndFailures) {
    ASSERT_TRUE(BindNative());
    const std::string own = GetCommandLineA();
    EXPECT_EQ(ReadProcessCommandLine(GetCurrentProcessId()), own.substr(0, CommandLineMaxChars));
    EXPECT_EQ(ReadProcessCommandLine(0xFFFFFFF0u), "");
}

TEST(Win98RoutinesCommandLine, NothingOutsideTheNTFamily) {
    // The native interface is not bound on the 9x family.
    EXPECT_FALSE(BindNative());
    ASSERT_EQ(orvex::NtQueryInformationProcess, nullptr);
    test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    EXPECT_EQ(ReadProcessCommandLine(helper.pid()), "");
    EXPECT_EQ(ReadProcessCommandLine(GetCurrentProcessId()), "");
}

TEST(RoutinesDescribeWindow, HelperMainWindow) {
    test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    ASSERT_TRUE(helper.hasWindow());
    const HWND hwnd = HelperWindow(helper, "hwnd");
    TWindowInfo w;
    ASSERT_TRUE(DescribeWindow(hwnd, w));
    EXPECT_EQ(w.ClassName, "OrvexTestHelperWnd");
    EXPECT_EQ(w.Text, "Orvex Test Helper");
    EXPECT_EQ(w.Handle, reinterpret_cast<std::uintptr_t>(hwnd));
    EXPECT_EQ(w.ProcessID, helper.pid());
    EXPECT_EQ(std::to_string(w.ThreadID), helper.value("tid"));  // the first thread owns the windows
    EXPECT_EQ(w.ParentWindow, 0u);
    EXPECT_NE(w.Instance, 0u);
    EXPECT_EQ(w.Module, w.Instance);  // the class was registered by the same module
    EXPECT_EQ(w.Atom, static_cast<std::uint32_t>(GetClassLongA(hwnd, GCW_ATOM)));
    EXPECT_NE(w.Atom, 0u);
    EXPECT_EQ(w.ClassExtra, 0u);
    EXPECT_EQ(w.WindowExtra, 0u);
    EXPECT_TRUE(w.Visible);

    // WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, shown.
    EXPECT_TRUE(w.Style & WS_CLIPCHILDREN);
    for (const char* name : {"WS_BORDER", "WS_DLGFRAME", "WS_SYSMENU", "WS_THICKFRAME", "WS_MINIMIZEBOX",
                             "WS_MAXIMIZEBOX", "WS_GROUP", "WS_TABSTOP", "WS_CLIPCHILDREN", "WS_VISIBLE"})
        EXPECT_TRUE(Contains(w.StyleNames, name)) << name;
    EXPECT_FALSE(Contains(w.StyleNames, "WS_CHILD"));
    EXPECT_FALSE(Contains(w.StyleNames, "WS_POPUP"));
    EXPECT_TRUE(Contains(w.ExStyleNames, "WS_EX_WINDOWEDGE"));
    EXPECT_TRUE(Contains(w.ExStyleNames, "WS_EX_LEFT"));
    EXPECT_FALSE(Contains(w.ExStyleNames, "WS_EX_CLIENTEDGE"));
    EXPECT_EQ(w.ClassStyle, static_cast<std::uint32_t>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    EXPECT_EQ(w.ClassStyleNames, (TStringList{"CS_VREDRAW", "CS_HREDRAW", "CS_DBLCLKS"}));

    RECT r{};
    ASSERT_TRUE(GetWindowRect(hwnd, &r));
    EXPECT_EQ(w.Rect, (TRect{r.left, r.top, r.right, r.bottom}));
    EXPECT_EQ(w.Rect.Right - w.Rect.Left, 320);
    EXPECT_EQ(w.ClientRect.Left, 0);
    EXPECT_GT(w.ClientRect.Right, 0);
}

TEST(RoutinesDescribeWindow, HelperControls) {
    test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    ASSERT_TRUE(helper.hasWindow());
    const HWND main = HelperWindow(helper, "hwnd");

    TWindowInfo button;
    ASSERT_TRUE(DescribeWindow(HelperWindow(helper, "button"), button));
    EXPECT_EQ(button.ClassName, "Button");
    EXPECT_EQ(button.Text, "Helper Button");
    EXPECT_EQ(button.ID, 101u);
    EXPECT_EQ(button.ParentWindow, reinterpret_cast<std::uintptr_t>(main));
    EXPECT_EQ(button.ProcessID, helper.pid());
    // WS_CHILD | WS_VISIBLE | WS_TABSTOP: the tab-stop bit also names WS_MAXIMIZEBOX.
    EXPECT_EQ(button.StyleNames, (TStringList{"WS_CHILD", "WS_MAXIMIZEBOX", "WS_TABSTOP", "WS_VISIBLE"}));
    EXPECT_TRUE(button.ExStyleNames.empty());  // extended style 0

    TWindowInfo edit;
    ASSERT_TRUE(DescribeWindow(HelperWindow(helper, "edit"), edit));
    EXPECT_EQ(edit.ClassName, "Edit");
    // An edit control keeps its text itself; another process sees no caption.
    EXPECT_EQ(edit.ID, 102u);
    EXPECT_TRUE(Contains(edit.StyleNames, "WS_BORDER"));
    EXPECT_TRUE(Contains(edit.ExStyleNames, "WS_EX_CLIENTEDGE"));
    EXPECT_EQ(edit.ExStyleNames.front(), "WS_EX_CLIENTEDGE");
}

namespace {

LRESULT CALLBACK OwnWndProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

// A window class and window of the test process with known class data.
class TOwnWindow {
public:
    TOwnWindow() {
        WNDCLASSA wc{};
        wc.style = CS_OWNDC | CS_NOCLOSE | CS_SAVEBITS;
        wc.lpfnWndProc = OwnWndProc;
        wc.cbClsExtra = 8;
        wc.cbWndExtra = 16;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "OrvexDescribeWindowTest";
        atom = RegisterClassA(&wc);
        icon = wc.hIcon;
        cursor = wc.hCursor;
        hwnd = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES, wc.lpszClassName, "Own Window",
                               WS_POPUP | WS_DISABLED | WS_VSCROLL, 5, 6, 200, 100, nullptr, nullptr, wc.hInstance,
                               nullptr);
    }
    ~TOwnWindow() {
        if (hwnd) DestroyWindow(hwnd);
        UnregisterClassA("OrvexDescribeWindowTest", GetModuleHandleA(nullptr));
    }
    ATOM atom = 0;
    HWND hwnd = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
};

}  // namespace

TEST(RoutinesDescribeWindow, OwnWindowWithKnownClassData) {
    TOwnWindow own;
    ASSERT_NE(own.hwnd, nullptr);
    SetWindowLongPtrA(own.hwnd, GWLP_USERDATA, 0x12345678);
    TWindowInfo w;
    ASSERT_TRUE(DescribeWindow(own.hwnd, w));
    EXPECT_EQ(w.ClassName, "OrvexDescribeWindowTest");
    EXPECT_EQ(w.Text, "Own Window");
    EXPECT_EQ(w.ProcessID, GetCurrentProcessId());
    EXPECT_EQ(w.ThreadID, GetCurrentThreadId());
    EXPECT_EQ(w.Atom, own.atom);
    EXPECT_EQ(w.ClassExtra, 8u);
    EXPECT_EQ(w.WindowExtra, 16u);
    EXPECT_EQ(w.ClassWndProc, reinterpret_cast<std::uintptr_t>(&OwnWndProc));
    EXPECT_EQ(w.WndProc, reinterpret_cast<std::uintptr_t>(&OwnWndProc));
    EXPECT_EQ(w.Module, reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr)));
    EXPECT_EQ(w.Instance, reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr)));
    EXPECT_EQ(w.Background, static_cast<std::uintptr_t>(COLOR_BTNFACE + 1));
    EXPECT_EQ(w.Cursor, reinterpret_cast<std::uintptr_t>(own.cursor));
    EXPECT_EQ(w.Icon, reinterpret_cast<std::uintptr_t>(own.icon));
    EXPECT_EQ(w.UserData, 0x12345678u);
    EXPECT_EQ(w.ParentWindow, 0u);
    EXPECT_FALSE(w.Visible);
    EXPECT_EQ(w.StyleNames, (TStringList{"WS_CLIPSIBLINGS", "WS_DISABLED", "WS_POPUP", "WS_VSCROLL"}));
    EXPECT_EQ(w.ExStyleNames, (TStringList{"WS_EX_ACCEPTFILES", "WS_EX_TOOLWINDOW", "WS_EX_LEFT", "WS_EX_LTRREADING",
                                           "WS_EX_RIGHTSCROLLBAR"}));
    EXPECT_EQ(w.ClassStyleNames, (TStringList{"CS_OWNDC", "CS_NOCLOSE", "CS_SAVEBITS"}));
    EXPECT_EQ(w.Rect, (TRect{5, 6, 205, 106}));
    EXPECT_EQ(w.ClientRect.Left, 0);
    EXPECT_EQ(w.ClientRect.Top, 0);
    EXPECT_EQ(w.ClientRect.Bottom, 100);
    EXPECT_LT(w.ClientRect.Right, 200);  // the vertical scroll bar takes its part
}

TEST(RoutinesDescribeWindow, NoWindowLeavesInfo) {
    TWindowInfo w;
    w.Text = "keep";
    EXPECT_FALSE(DescribeWindow(nullptr, w));
    test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    const HWND hwnd = HelperWindow(helper, "hwnd");
    TerminateProcess(helper.process(), 0);
    ASSERT_TRUE(helper.waitForExit(5000));
    // Give the window manager a moment to drop the dead process's windows.
    for (int i = 0; i < 50 && IsWindow(hwnd); ++i) Sleep(50);
    EXPECT_FALSE(DescribeWindow(hwnd, w));
    EXPECT_EQ(w.Text, "keep");
}
