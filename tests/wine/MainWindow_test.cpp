// The main window, created in the test process and driven by messages: its
// pages, captions, rows, status bar, refresh, sorting, menus and commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>

#include "app/Main.h"
#include "app/Startup.h"
#include "app/pure/MainRows.h"
#include "platform/Orvex_OSInfo.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/HelperProcess.h"
#include "tests/wine/support/LiveStatus.h"
#include "tests/wine/support/ReportSamples.h"
#include "tests/wine/support/TestMode.h"
#include "tests/wine/support/TestService.h"
#include "tests/wine/support/ToolRun.h"
#include "ui/Orvex_Dialogs.h"

namespace {

using namespace orvex::app;
using orvex::test::ListColumn;
using orvex::test::ListHeaders;
using orvex::test::ListRow;
using orvex::test::Press;
using orvex::test::TDialogAnswerer;
using orvex::test::TypeAndPress;
using Strings = std::vector<std::string>;

std::string OwnExeName() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return orvex::app::PathFileName(path);
}

bool StyleVisible(HWND hwnd) { return (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

class MainWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        orvex::ResetSortState();
        window_ = new Twnd_Main(nullptr, false);
    }
    static void TearDownTestSuite() {
        delete window_;
        window_ = nullptr;
        orvex::ResetSortState();
    }
    static Twnd_Main& W() { return *window_; }
    static inline Twnd_Main* window_ = nullptr;
};

TEST_F(MainWindow, TabCaptionsCountTheComponentsRecords) {
    const Strings captions = orvex::test::TabCaptions(W().pc());
    ASSERT_EQ(captions.size(), 3u);
    EXPECT_EQ(captions[0], " Processes (" + std::to_string(W().ProcList.ProcessCount()) + ")");
    EXPECT_EQ(captions[1], " Drivers (" + std::to_string(W().ProcList.DriverCount()) + ")");
    EXPECT_EQ(captions[2], " Services (" + std::to_string(W().ProcList.ServiceCount()) + ")");
    EXPECT_GT(W().ProcList.ProcessCount(), 1);
    EXPECT_GT(W().ProcList.ServiceCount(), 0);
}

TEST_F(MainWindow, ColumnHeaders) {
    EXPECT_EQ(ListHeaders(W().PrcList()), (Strings{"Name", "PID", "CPU Time", "Mem Usage"}));
    EXPECT_EQ(ListHeaders(W().DrvList()), (Strings{"Name", "Base Address", "Load Cnt", "Location"}));
    EXPECT_EQ(ListHeaders(W().SvcList()), (Strings{"Display Name", "Status", "Startup Type"}));
}

TEST_F(MainWindow, RowsFollowTheComponentsRecordsInOrder) {
    ASSERT_EQ(ListView_GetItemCount(W().PrcList()), W().ProcList.ProcessCount());
    orvex::TProcessInfo p;
    for (int i = 0; i < W().ProcList.ProcessCount(); ++i) {
        W().ProcList.GetProcess(static_cast<std::uint32_t>(i), p);
        const Strings row = ListRow(W().PrcList(), i);
        EXPECT_EQ(row[0], p.Name.str());
        EXPECT_EQ(row[1], std::to_string(p.PID));
    }
    ASSERT_EQ(ListView_GetItemCount(W().DrvList()), W().ProcList.DriverCount());
    orvex::TDriverInfo d;
    for (int i = 0; i < W().ProcList.DriverCount(); ++i) {
        W().ProcList.GetDriver(static_cast<std::uint32_t>(i), d);
        EXPECT_EQ(ListRow(W().DrvList(), i)[3], d.Name.str());
        EXPECT_EQ(ListRow(W().DrvList(), i)[2], std::to_string(d.LoadCount));
    }
    ASSERT_EQ(ListView_GetItemCount(W().SvcList()), W().ProcList.ServiceCount());
    orvex::TServiceInfo s;
    W().ProcList.GetService(0, s);
    EXPECT_EQ(ListRow(W().SvcList(), 0)[0], s.DisplayName.str());
}

TEST_F(MainWindow, OwnProcessRow) {
    const int row = orvex::test::FindListRow(W().PrcList(), 1, std::to_string(GetCurrentProcessId()));
    ASSERT_GE(row, 0);
    const Strings cells = ListRow(W().PrcList(), row);
    EXPECT_EQ(cells[0], OwnExeName());
    EXPECT_TRUE(std::regex_match(cells[2], std::regex("\\d\\d:\\d\\d:\\d\\d"))) << cells[2];
    EXPECT_TRUE(std::regex_match(cells[3], std::regex("[1-9]\\d* KB"))) << cells[3];
}

TEST_F(MainWindow, RunningServiceRow) {
    const int index = W().ProcList.FindService("PlugPlay");
    ASSERT_GE(index, 0);
    orvex::TServiceInfo s;
    W().ProcList.GetService(static_cast<std::uint32_t>(index), s);
    const int row = orvex::test::FindListRow(W().SvcList(), 0, s.DisplayName.str());
    ASSERT_GE(row, 0) << s.DisplayName.str();
    EXPECT_EQ(ListRow(W().SvcList(), row)[1], "Running");
}

TEST_F(MainWindow, DriverRowsShowTheFileNameOfTheirPath) {
    ASSERT_GT(ListView_GetItemCount(W().DrvList()), 0);
    for (const Strings& row : orvex::test::ListRows(W().DrvList())) {
        EXPECT_EQ(row[0], PathFileName(row[3]));
        EXPECT_EQ(row[1].rfind("0x", 0), 0u) << row[1];
    }
}

TEST_F(MainWindow, StatusBarCounts) {
    orvex::test::ExpectLiveStatus(W());
    EXPECT_GT(W().ProcList.HandleCount(), 0);
    EXPECT_GT(W().ProcList.WindowCount(), 0);
}

TEST_F(MainWindow, MenusFollowThePage) {
    const HWND hwnd = W().Handle();
    EXPECT_EQ(W().ActivePage(), pgProcesses);
    EXPECT_EQ(orvex::test::MenuBarCaptions(hwnd), (Strings{"File", "Process", "View", "About"}));
    EXPECT_EQ(orvex::test::MenuItemCaptions(hwnd, "File"),
              (Strings{"Refresh	F5", "Open report...	Ctrl+O", "", "Find handle or DLL...	Ctrl+F", "",
                       "Save to storage...", "Compare with report...", "Export list...", "", "Exit"}));
    EXPECT_EQ(orvex::test::MenuItemCaptions(hwnd, "Process"), (Strings{"Properties...", "Details...", "", "Kill"}));
    orvex::test::ClickTab(W().pc(), 1);
    EXPECT_EQ(W().ActivePage(), pgDrivers);
    EXPECT_EQ(orvex::test::MenuBarCaptions(hwnd), (Strings{"File", "Driver", "View", "About"}));
    EXPECT_TRUE(StyleVisible(W().DrvList()));
    EXPECT_FALSE(StyleVisible(W().PrcList()));
    orvex::test::ClickTab(W().pc(), 2);
    EXPECT_EQ(orvex::test::MenuBarCaptions(hwnd), (Strings{"File", "Service", "View", "About"}));
    EXPECT_EQ(orvex::test::MenuItemCaptions(hwnd, "Service"),
              (Strings{"Properties...", "Details...", "", "Start", "Stop", "Pause", "Resume"}));
    EXPECT_TRUE(StyleVisible(W().SvcList()));
    EXPECT_FALSE(StyleVisible(W().DrvList()));
    orvex::test::ClickTab(W().pc(), 0);
    EXPECT_EQ(orvex::test::MenuBarCaptions(hwnd), (Strings{"File", "Process", "View", "About"}));
    EXPECT_TRUE(StyleVisible(W().PrcList()));
}

RECT ChildRect(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_F(MainWindow, ClientSizeAndControlsFollowTheWindowSize) {
    const HWND hwnd = W().Handle();
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, MainClientWidth);
    EXPECT_EQ(client.bottom, MainClientHeight);
    const RECT tab = ChildRect(hwnd, W().pc());
    EXPECT_EQ(tab.left, 11);
    EXPECT_EQ(tab.top, 13);
    EXPECT_EQ(tab.right - tab.left, 426);
    const RECT list = ChildRect(hwnd, W().PrcList());
    const RECT button = ChildRect(hwnd, GetDlgItem(hwnd, cmPrcPropsId));
    EXPECT_EQ(list.right - list.left, 402);
    EXPECT_EQ(list.bottom - list.top, 379);
    EXPECT_EQ(button.right - button.left, 75);
    EXPECT_EQ(button.left - list.left, 252 - 6);
    RECT outer{};
    GetWindowRect(hwnd, &outer);
    SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left + 100, outer.bottom - outer.top + 60,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT bigList = ChildRect(hwnd, W().PrcList());
    const RECT movedButton = ChildRect(hwnd, GetDlgItem(hwnd, cmPrcPropsId));
    const RECT bigTab = ChildRect(hwnd, W().pc());
    SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(bigTab.right - bigTab.left, 526);
    EXPECT_EQ(bigList.right - bigList.left, 502);
    EXPECT_EQ(bigList.bottom - bigList.top, 439);
    EXPECT_EQ(movedButton.left, button.left + 100);
    EXPECT_EQ(movedButton.top, button.top + 60);
    EXPECT_EQ(ChildRect(hwnd, W().PrcList()).right, list.right);
}

TEST_F(MainWindow, HandCursorOverTabsAndButtons) {
    const HWND hwnd = W().Handle();
    const HWND tab = W().pc();
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    const auto cursorOver = [&](HWND control) {
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), overClient);
        return GetCursor();
    };
    const HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
    RECT item{};
    TabCtrl_GetItemRect(tab, 1, &item);
    POINT onTab{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(tab, &onTab);
    ASSERT_TRUE(SetCursorPos(onTab.x, onTab.y));
    EXPECT_EQ(cursorOver(tab), hand);
    POINT onPage{200, 300};
    ClientToScreen(tab, &onPage);
    ASSERT_TRUE(SetCursorPos(onPage.x, onPage.y));
    EXPECT_NE(cursorOver(tab), hand);
    EXPECT_EQ(cursorOver(GetDlgItem(hwnd, cmSvcPropsId)), hand);
    EXPECT_NE(cursorOver(W().PrcList()), hand);
}

std::vector<long long> Numbers(const Strings& cells) {
    std::vector<long long> v;
    for (const auto& c : cells) v.push_back(std::stoll(c));
    return v;
}

TEST_F(MainWindow, PidColumnSortsNumericallyThenReverses) {
    orvex::test::ClickColumnHeader(W().PrcList(), 1);
    const auto up = Numbers(ListColumn(W().PrcList(), 1));
    EXPECT_TRUE(std::is_sorted(up.begin(), up.end()));
    orvex::test::ClickColumnHeader(W().PrcList(), 1);
    const auto down = Numbers(ListColumn(W().PrcList(), 1));
    EXPECT_TRUE(std::is_sorted(down.rbegin(), down.rend()));
    EXPECT_EQ(orvex::SortColumn, 1);
    EXPECT_TRUE(orvex::SortDescending);
    // Another column: ascending again; the choice is shared with the other lists.
    orvex::test::ClickColumnHeader(W().PrcList(), 3);
    EXPECT_FALSE(orvex::SortDescending);
    Strings mem = ListColumn(W().PrcList(), 3);
    std::vector<long long> kb;
    for (auto& m : mem) kb.push_back(std::stoll(m.substr(0, m.find(' '))));
    EXPECT_TRUE(std::is_sorted(kb.begin(), kb.end()));
}

TEST_F(MainWindow, DriverLoadCountsSortNumerically) {
    orvex::test::ClickColumnHeader(W().DrvList(), 2);
    const auto counts = Numbers(ListColumn(W().DrvList(), 2));
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
}

// Windows that change the system or refresh get a window of their own.
class MainWindowCommands : public ::testing::Test {
protected:
    void SetUp() override { window_ = std::make_unique<Twnd_Main>(nullptr, false); }
    Twnd_Main& W() { return *window_; }
    int ProcessRow(DWORD pid) { return orvex::test::FindListRow(W().PrcList(), 1, std::to_string(pid)); }
    int ServiceRow(const std::string& display) { return orvex::test::FindListRow(W().SvcList(), 0, display); }
    std::unique_ptr<Twnd_Main> window_;
};

TEST_F(MainWindowCommands, F5RefreshesAllLists) {
    orvex::test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    EXPECT_LT(ProcessRow(helper.pid()), 0);
    const int before = W().ProcList.ProcessCount();
    orvex::test::ClickTab(W().pc(), 2);  // with the Services page active
    orvex::test::PostKey(W().SvcList(), VK_F5);
    EXPECT_TRUE(orvex::test::PumpUntil([&] { return ProcessRow(helper.pid()) >= 0; }, 10000));
    EXPECT_EQ(W().ProcList.ProcessCount(), before + 1);
    EXPECT_EQ(orvex::test::TabCaptions(W().pc())[0], " Processes (" + std::to_string(before + 1) + ")");
    EXPECT_EQ(W().ActivePage(), pgServices);
}

TEST_F(MainWindowCommands, RefreshShowsTheSplashWhileItRuns) {
    Twnd_Splash splash;
    Twnd_Main window(&splash, false);
    EXPECT_FALSE(splash.Showing());
    std::atomic<bool> seen{false}, stop{false};
    orvex::test::TTestThread watcher([&] {
        while (!stop && !seen) seen = IsWindowVisible(splash.Handle()) != FALSE;
    });
    orvex::test::SendCommand(window.Handle(), cmRefreshId);
    stop = true;
    watcher.join();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(splash.Showing());
}

TEST_F(MainWindowCommands, KillAHelperThroughTheWarning) {
    orvex::test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    W().RefreshView(false);
    const int row = ProcessRow(helper.pid());
    ASSERT_GE(row, 0);
    orvex::test::SelectListRow(W().PrcList(), row);
    TDialogAnswerer driver({Press(IDYES)});
    orvex::test::SendCommand(W().Handle(), cmPrcKillId);
    ASSERT_TRUE(driver.Finish());
    const auto seen = driver.Seen().at(0);
    EXPECT_EQ(seen.Title, "Warning");
    EXPECT_EQ(seen.Text, KillWarningText);
    EXPECT_TRUE(helper.waitForExit(5000));
    // Refreshed: the process is gone from the data; its row stays for this
    // one refresh, marked as ended, and is gone after the next.
    EXPECT_LT(W().ProcList.FindProcess(helper.pid()), 0);
    const int ended = ProcessRow(helper.pid());
    ASSERT_GE(ended, 0);
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = ended;
    ListView_GetItem(W().PrcList(), &item);
    EXPECT_EQ(W().RowChange(pgProcesses, item.lParam), TLiveChange::Removed);
    W().RefreshView(false);
    EXPECT_LT(ProcessRow(helper.pid()), 0);
}

TEST_F(MainWindowCommands, KillAnsweredNoLeavesTheProcess) {
    orvex::test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    W().RefreshView(false);
    orvex::test::SelectListRow(W().PrcList(), ProcessRow(helper.pid()));
    TDialogAnswerer driver({Press(IDNO)});
    orvex::test::SendCommand(W().Handle(), cmPrcKillId);
    ASSERT_TRUE(driver.Finish());
    EXPECT_FALSE(helper.waitForExit(300));
    EXPECT_GE(ProcessRow(helper.pid()), 0);
}

TEST_F(MainWindowCommands, KillOfTheProgramItselfIsRefused) {
    orvex::test::SelectListRow(W().PrcList(), ProcessRow(GetCurrentProcessId()));
    TDialogAnswerer driver({Press(IDYES), Press(IDOK)});
    orvex::test::SendCommand(W().Handle(), cmPrcKillId);
    ASSERT_TRUE(driver.Finish());
    const auto seen = driver.Seen().at(1);
    EXPECT_EQ(seen.Title, "Warning");
    EXPECT_EQ(seen.Text, KillFailedText);
    EXPECT_EQ(seen.ButtonIds, std::vector<int>{IDOK});
}

TEST_F(MainWindowCommands, NoSelectionNoCommand) {
    ListView_SetItemState(W().PrcList(), -1, 0, LVIS_SELECTED);
    TDialogAnswerer driver({Press(IDNO)}, GetCurrentThreadId(), 700);
    orvex::test::SendCommand(W().Handle(), cmPrcKillId);
    EXPECT_FALSE(driver.Finish());
    EXPECT_TRUE(driver.Seen().empty());
}

TEST_F(MainWindowCommands, AboutBoxNamesTheProgramAndVersion) {
    TDialogAnswerer driver({Press(IDOK)});
    orvex::test::SendCommand(W().Handle(), cmAboutId);
    ASSERT_TRUE(driver.Finish());
    const auto seen = driver.Seen().at(0);
    EXPECT_NE(seen.Title.find("Orvex Process Viewer"), std::string::npos) << seen.Title;
    EXPECT_NE(seen.Text.find("Orvex Process Viewer 10.2.0"), std::string::npos) << seen.Text;
}

TEST_F(MainWindowCommands, ExitClosesTheWindow) {
    const HWND hwnd = W().Handle();
    orvex::test::SendCommand(hwnd, cmExitId);
    EXPECT_FALSE(IsWindow(hwnd));
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class MainWindowServices : public MainWindowCommands {
protected:
    static void SetUpTestSuite() { service_ = new orvex::test::TInstalledTestService("_ui"); }
    static void TearDownTestSuite() {
        delete service_;
        service_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(service_->installed()) << service_->error();
        MainWindowCommands::SetUp();
        orvex::test::ClickTab(W().pc(), 2);
        Select();
    }
    void Select() {
        const int row = ServiceRow(service_->display());
        ASSERT_GE(row, 0);
        orvex::test::SelectListRow(W().SvcList(), row);
    }
    std::string Status() { return ListRow(W().SvcList(), ServiceRow(service_->display()))[1]; }
    void Run(int command, std::vector<orvex::test::TDialogAnswer> answers) {
        TDialogAnswerer driver(std::move(answers));
        orvex::test::SendCommand(W().Handle(), command);
        driver.Finish();
        seen_ = driver.Seen();
        Select();
    }
    static inline orvex::test::TInstalledTestService* service_ = nullptr;
    std::vector<orvex::test::TSeenDialog> seen_;
};

TEST_F(MainWindowServices, StartWithParametersPauseResumeStop) {
    ASSERT_EQ(Status(), "Stopped");
    Run(cmSvcStartId, {Press(IDYES), TypeAndPress("alpha beta", IDOK, orvex::InputQueryEditId)});
    ASSERT_EQ(seen_.size(), 2u);
    EXPECT_EQ(seen_[0].Title, "Confirmation");
    EXPECT_EQ(seen_[0].Text, "Start " + service_->display() + " service?");
    EXPECT_EQ(seen_[1].Title, service_->display());
    EXPECT_EQ(seen_[1].Text, "Parameters");
    EXPECT_EQ(Status(), "Running");
    EXPECT_NE(ReadWholeFile(service_->report()).find("arg=alpha beta"), std::string::npos);

    // Start on a running service does nothing and shows nothing.
    {
        TDialogAnswerer driver({Press(IDNO)}, GetCurrentThreadId(), 700);
        orvex::test::SendCommand(W().Handle(), cmSvcStartId);
        EXPECT_FALSE(driver.Finish());
    }

    Run(cmSvcPauseId, {Press(IDYES)});
    EXPECT_EQ(seen_.at(0).Text, "Pause " + service_->display() + " service?");
    EXPECT_EQ(Status(), "Paused");
    Run(cmSvcResumeId, {Press(IDYES)});
    EXPECT_EQ(seen_.at(0).Text, "Resume " + service_->display() + " service?");
    EXPECT_EQ(Status(), "Running");
    Run(cmSvcPauseId, {Press(IDYES)});
    ASSERT_EQ(Status(), "Paused");
    // Stop on a paused service asks and stops it.
    Run(cmSvcStopId, {Press(IDYES)});
    EXPECT_EQ(seen_.at(0).Text, "Stop " + service_->display() + " service?");
    EXPECT_EQ(Status(), "Stopped");
}

TEST_F(MainWindowServices, RowShowsStateAndStartType) {
    const Strings cells = ListRow(W().SvcList(), ServiceRow(service_->display()));
    EXPECT_EQ(cells, (Strings{service_->display(), "Stopped", "Manual"}));
}

TEST_F(MainWindowServices, CancelledParametersLeaveTheServiceStopped) {
    ASSERT_EQ(Status(), "Stopped");
    TDialogAnswerer driver({Press(IDYES), Press(IDCANCEL), Press(IDOK)}, GetCurrentThreadId(), 1500);
    orvex::test::SendCommand(W().Handle(), cmSvcStartId);
    EXPECT_FALSE(driver.Finish());  // no third box: no warning
    EXPECT_EQ(driver.Seen().size(), 2u);
    W().RefreshView(false);
    EXPECT_EQ(Status(), "Stopped");
}

TEST_F(MainWindowServices, ConfirmationAnsweredNoChangesNothing) {
    Run(cmSvcStartId, {Press(IDNO)});
    EXPECT_EQ(seen_.size(), 1u);
    W().RefreshView(false);
    EXPECT_EQ(Status(), "Stopped");
}

TEST_F(MainWindowServices, StopOnAStoppedServiceDoesNothing) {
    TDialogAnswerer driver({Press(IDNO)}, GetCurrentThreadId(), 700);
    orvex::test::SendCommand(W().Handle(), cmSvcStopId);
    EXPECT_FALSE(driver.Finish());
    EXPECT_TRUE(driver.Seen().empty());
}

// What the screen shows of the pages: the buttons of the page shown are
// painted at first, and still painted after a refresh redrew the tab control
// and the lists around them.
class MainWindowPaint : public MainWindowCommands {
protected:
    void SetUp() override {
        MainWindowCommands::SetUp();
        SetCursorPos(0, 0);  // no button under the mouse
        SetWindowPos(W().Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        orvex::test::PaintNow(W().Handle());
    }

    using Pixels = std::vector<std::uint32_t>;

    static int Differing(const Pixels& a, const Pixels& b) {
        if (a.size() != b.size()) return -1;
        int n = 0;
        for (std::size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
        return n;
    }

    // Presses F5 and waits until the refresh has written the status bar anew.
    void PressF5() {
        SendMessageA(W().sb(), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
        orvex::test::PostKey(Item(MainPages()[W().ActivePage()].ListId), VK_F5);
        ASSERT_TRUE(orvex::test::PumpUntil([&] { return !orvex::test::StatusTexts(W().sb())[0].empty(); }, 20000));
        orvex::test::PaintNow(W().Handle());
    }

    HWND Item(int id) { return GetDlgItem(W().Handle(), id); }

    // The page's two buttons show the same pixels after F5 as before, and
    // those pixels are not the bare page beside them.
    void ExpectButtonsPaintedAcrossRefresh(TMainPage page) {
        if (W().ActivePage() != page) {
            orvex::test::ClickTab(W().pc(), page);
            orvex::test::PaintNow(W().Handle());
        }
        ASSERT_EQ(W().ActivePage(), page);
        const auto& controls = MainPages()[page].Controls;
        const int ids[2] = {controls[1].Id, controls[2].Id};
        RECT bare = orvex::test::ScreenRect(Item(ids[0]));
        OffsetRect(&bare, -(bare.right - bare.left) - 8, 0);  // below the list, left of the buttons
        const Pixels page0 = orvex::test::ScreenPixels(bare);
        Pixels before[2];
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(IsWindowVisible(Item(ids[i])));
            before[i] = orvex::test::ScreenPixels(orvex::test::ScreenRect(Item(ids[i])));
            ASSERT_FALSE(before[i].empty());
            ASSERT_GT(Differing(before[i], page0), 0) << "no button on the screen at first: " << ids[i];
        }
        PressF5();
        for (int i = 0; i < 2; ++i) {
            const Pixels after = orvex::test::ScreenPixels(orvex::test::ScreenRect(Item(ids[i])));
            EXPECT_EQ(Differing(after, before[i]), 0) << "button " << ids[i] << " after F5";
            EXPECT_GT(Differing(after, page0), 0) << "bare page where button " << ids[i] << " lies";
        }
    }
};

TEST_F(MainWindowPaint, PageButtonsStayPaintedAfterF5) {
    ExpectButtonsPaintedAcrossRefresh(pgProcesses);
    ExpectButtonsPaintedAcrossRefresh(pgServices);
}

class Nt40MainWindowPaint : public MainWindowPaint {};

TEST_F(Nt40MainWindowPaint, PageButtonsStayPaintedAfterF5) {
    ASSERT_TRUE(orvex::IsNT4());
    ExpectButtonsPaintedAcrossRefresh(pgProcesses);
    ExpectButtonsPaintedAcrossRefresh(pgDrivers);
}

// The 9x family: processes only, hexadecimal identifiers.
class Win98MainWindow : public MainWindowCommands {};

TEST_F(Win98MainWindow, OnlyTheProcessesPage) {
    ASSERT_FALSE(orvex::IsNT());
    const Strings captions = orvex::test::TabCaptions(W().pc());
    ASSERT_EQ(captions.size(), 1u);
    EXPECT_EQ(captions[0], " Processes (" + std::to_string(W().ProcList.ProcessCount()) + ")");
    EXPECT_FALSE(W().PageVisible(pgDrivers));
    EXPECT_FALSE(W().PageVisible(pgServices));
    EXPECT_EQ(orvex::test::MenuBarCaptions(W().Handle()), (Strings{"File", "Process", "View", "About"}));
    EXPECT_EQ(orvex::test::StatusTexts(W().sb())[1], "Handles: 0");
}

TEST_F(Win98MainWindow, ThreadsAndUsageColumnsAndHexadecimalPids) {
    EXPECT_EQ(ListHeaders(W().PrcList()), (Strings{"Name", "PID", "Threads", "Usage"}));
    char hex[16];
    snprintf(hex, sizeof hex, "%lX", GetCurrentProcessId());
    const int row = orvex::test::FindListRow(W().PrcList(), 1, hex);
    ASSERT_GE(row, 0) << hex;
    orvex::TProcessInfo p;
    W().ProcList.GetProcess(static_cast<std::uint32_t>(W().ProcList.FindProcess(GetCurrentProcessId())), p);
    EXPECT_EQ(ListRow(W().PrcList(), row)[2], std::to_string(p.ThreadCount));
    EXPECT_GT(p.ThreadCount, 0u);
}

TEST_F(Win98MainWindow, KillFindsTheProcessByItsHexadecimalPid) {
    orvex::test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    W().RefreshView(false);
    char hex[16];
    snprintf(hex, sizeof hex, "%lX", helper.pid());
    const int row = orvex::test::FindListRow(W().PrcList(), 1, hex);
    ASSERT_GE(row, 0);
    orvex::test::SelectListRow(W().PrcList(), row);
    TDialogAnswerer driver({Press(IDYES)});
    orvex::test::SendCommand(W().Handle(), cmPrcKillId);
    ASSERT_TRUE(driver.Finish());
    EXPECT_TRUE(helper.waitForExit(5000));
}

}  // namespace

namespace {

// Saves into the temporary directory.
class MainWindowSave : public MainWindowCommands {
protected:
    void SetUp() override {
        MainWindowCommands::SetUp();
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        name_ = std::string(temp) + "orvex_report_" + std::to_string(GetCurrentProcessId());
        DeleteFileA(name_.c_str());
        DeleteFileA((name_ + ".ivs").c_str());
    }
    void TearDown() override {
        DeleteFileA(name_.c_str());
        DeleteFileA((name_ + ".ivs").c_str());
    }
    std::string name_;
};

constexpr int FileNameCombo = 0x47C;  // cmb13 of the common file dialogs

TEST_F(MainWindowSave, NameWithoutExtensionIsUsedAsTyped) {
    const std::string name = name_;
    TDialogAnswerer driver({TypeAndPress(name, IDOK, FileNameCombo)});
    orvex::test::SendCommand(W().Handle(), cmSaveReportId);
    ASSERT_TRUE(driver.Finish());
    const auto seen = driver.Seen().at(0);
    EXPECT_NE(std::find(seen.ComboItems.begin(), seen.ComboItems.end(), "Orvex Inventory Storage files"),
              seen.ComboItems.end());
    EXPECT_NE(std::find(seen.ComboItems.begin(), seen.ComboItems.end(), "All files"), seen.ComboItems.end());
    // The report is written under the name as typed, no extension added.
    EXPECT_EQ(GetFileAttributesA((name + ".ivs").c_str()), INVALID_FILE_ATTRIBUTES);
    orvex::TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(name));
    EXPECT_EQ(loaded.ProcessCount(), W().ProcList.ProcessCount());
}

// A save that cannot replace the report (another program holds it open)
// says so and leaves the old report byte for byte, with no temporary file.
TEST_F(MainWindowSave, AFailedSaveOverAReportKeepsItAsItWas) {
    const orvex::test::TTempFolder folder;
    const std::string name = folder.path() + "held.ivs";
    {
        orvex::TOrvex_ProcessList old;
        old.SaveToStorage(name);
    }
    const std::string before = orvex::test::ReadWholeFile(name);
    ASSERT_FALSE(before.empty());
    {
        const orvex::THandle holder(
            CreateFileA(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        // The name, the question whether to replace it, and the failure.
        TDialogAnswerer driver({TypeAndPress(name, IDOK, FileNameCombo), Press(IDYES), Press(IDOK)});
        orvex::test::SendCommand(W().Handle(), cmSaveReportId);
        ASSERT_TRUE(driver.Finish());
        ASSERT_EQ(driver.Seen().size(), 3u);
        EXPECT_NE(driver.Seen()[2].Text.find("(0x80070020)"), std::string::npos)
            << "a sharing violation: " << driver.Seen()[2].Text;
    }
    EXPECT_TRUE(orvex::test::ReadWholeFile(name) == before);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"held.ivs"});
}

TEST_F(MainWindowSave, CancelSavesNothing) {
    TDialogAnswerer driver({Press(IDCANCEL)});
    orvex::test::SendCommand(W().Handle(), cmSaveReportId);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(GetFileAttributesA(name_.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
