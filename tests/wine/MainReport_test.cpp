// Reports opened in the main window: the report's rows, caption and status
// texts, the commands that act on the running system disabled, the details
// dialogs showing only what the report holds, F5 back to live data, and
// files that cannot be shown leaving the window as it was.
#include <gtest/gtest.h>

#include <windows.h>
#include <propidl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/DrvDetailsLayout.h"
#include "app/Main.h"
#include "app/PrcDetailsLayout.h"
#include "app/SvcDetailsLayout.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_ProcessRoutines.h"
#include "platform/Orvex_VersionInfo.h"
#include "storage/Orvex_SS.h"
#include "tests/wine/DetailsProbe.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/HelperProcess.h"
#include "tests/wine/support/LiveStatus.h"
#include "tests/wine/support/ReportFileTest.h"
#include "tests/wine/support/ReportSamples.h"
#include "tests/wine/support/TestMode.h"

namespace {

using namespace orvex::app;
using orvex::test::ListHeaders;
using orvex::test::ListRows;
using orvex::test::Press;
using orvex::test::TDialogAnswerer;
using orvex::test::TDialogProbe;
using orvex::test::TypeAndPress;
using orvex::test::WindowText;
using Strings = std::vector<std::string>;
using Rows = std::vector<Strings>;

constexpr int FileNameCombo = 0x47C;  // cmb13 of the common file dialogs

// A file name in the temporary directory with the report extension; the
// file is deleted when the object goes.
class TReportName {
public:
    explicit TReportName(const std::string& stem) {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        static int serial = 0;
        base_ = stem + "_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial) + ".ivs";
        name_ = std::string(temp) + base_;
        DeleteFileA(name_.c_str());
    }
    ~TReportName() { DeleteFileA(name_.c_str()); }
    TReportName(const TReportName&) = delete;
    TReportName& operator=(const TReportName&) = delete;
    const std::string& name() const { return name_; }
    const std::string& base() const { return base_; }

private:
    std::string name_;
    std::string base_;
};

// Changes the header set of the report FileName.
void SetPlatform(const std::string& fileName, std::int64_t platform) {
    orvex::test::PatchHeader(fileName,
                             [&](IPropertyStorage* set) { orvex::WriteIntProp(set, "OS.Platform", platform); });
}

// Saves a report of sample records (as a system of the family Platform
// names: 1 the 9x family, 2 the NT family, 0 none).
void SaveSampleReport(const std::string& fileName, int processes, int drivers, int services, int platform) {
    orvex::TOrvex_ProcessList component;
    orvex::test::AddSamples(component, processes, drivers, services);
    component.SaveToStorage(fileName);
    SetPlatform(fileName, platform);
}

bool StyleVisible(HWND hwnd) { return (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

// The state of command Id in the window's menus: MF_GRAYED, MF_ENABLED or
// -1 when no menu of the bar holds it. Drop-down menus that the page hides
// are looked at through the page that shows them.
int MenuCommandState(Twnd_Main& window, int id) {
    const HMENU bar = GetMenu(window.Handle());
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        const HMENU popup = GetSubMenu(bar, i);
        if (!popup) continue;
        const UINT state = GetMenuState(popup, static_cast<UINT>(id), MF_BYCOMMAND);
        if (state != static_cast<UINT>(-1)) return static_cast<int>(state & (MF_GRAYED | MF_DISABLED));
    }
    return -1;
}

// Whether the command's menu item (on whichever page shows it) and the
// page's button of that command, when there is one, are enabled.
struct TCommandState {
    bool MenuEnabled = false;
    bool ButtonEnabled = false;
};

TCommandState CommandState(Twnd_Main& window, int id) {
    TCommandState state;
    const TMainPage before = window.ActivePage();
    int menu = -1;
    for (int page = 0; page < PageCount && menu < 0; ++page) {
        if (!window.PageVisible(static_cast<TMainPage>(page))) continue;
        window.SetActivePage(static_cast<TMainPage>(page));
        menu = MenuCommandState(window, id);
    }
    window.SetActivePage(before);
    EXPECT_GE(menu, 0) << "no menu item of command " << id;
    state.MenuEnabled = menu == 0;
    const HWND button = GetDlgItem(window.Handle(), id);
    state.ButtonEnabled = button && IsWindowEnabled(button);
    return state;
}

Rows ColumnsOf(const Rows& rows, std::size_t count) {
    Rows cut;
    for (const Strings& row : rows) cut.emplace_back(row.begin(), row.begin() + std::min(count, row.size()));
    return cut;
}

std::string LocalDateText(const SYSTEMTIME& st) {
    char text[128] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text);
    return text;
}

std::string LocalTimeText(const SYSTEMTIME& st) {
    char text[128] = {};
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, text, sizeof text);
    return text;
}

std::string HelperPath() { return orvex::test::ExeDir() + "orvex_test_helper.exe"; }

class MainReport : public ::testing::Test {
protected:
    void SetUp() override { window_ = std::make_unique<Twnd_Main>(nullptr, false); }
    Twnd_Main& W() { return *window_; }

    // The window's lists, tab captions, caption and status texts.
    struct TView {
        Rows Processes, Drivers, Services;
        Strings Tabs, Status;
        std::string Caption;
        bool operator==(const TView&) const = default;
    };
    TView View() {
        return {ListRows(W().PrcList()),
                ListRows(W().DrvList()),
                ListRows(W().SvcList()),
                orvex::test::TabCaptions(W().pc()),
                orvex::test::StatusTexts(W().sb()),
                WindowText(W().Handle())};
    }

    // Opens FileName through the command, answering the error report; the
    // error report's text, empty when none came.
    std::string OpenExpectingError(const std::string& fileName) {
        TDialogAnswerer driver({Press(IDOK)});
        EXPECT_FALSE(W().OpenReport(fileName));
        EXPECT_TRUE(driver.Finish());
        const auto seen = driver.Seen();
        if (seen.empty()) return {};
        EXPECT_EQ(seen[0].Title, "Orvex Process Viewer");
        EXPECT_EQ(seen[0].Owner, W().Handle());
        return seen[0].Text;
    }

    std::unique_ptr<Twnd_Main> window_;
};

TEST_F(MainReport, AReportSavedByTheProgramShowsTheRowsOfItsTime) {
    TReportName file("orvex_open");
    auto helper = std::make_unique<orvex::test::THelperProcess>("--no-window");
    ASSERT_TRUE(helper->started());
    W().RefreshView(false);
    const DWORD helperPid = helper->pid();
    ASSERT_GE(orvex::test::FindListRow(W().PrcList(), 1, std::to_string(helperPid)), 0);
    const TView live = View();
    SYSTEMTIME saved{};
    GetLocalTime(&saved);
    W().ProcList.SaveToStorage(file.name());
    // The helper ends: the report still holds it, the running system not.
    ASSERT_TRUE(TerminateProcess(helper->process(), 0));
    ASSERT_TRUE(helper->waitForExit(5000));
    helper.reset();

    ASSERT_TRUE(W().OpenReport(file.name()));
    EXPECT_FALSE(W().ProcList.LiveData());
    const TView shown = View();
    // Names, identifiers and processor times are stored; memory counters not.
    EXPECT_EQ(ColumnsOf(shown.Processes, 3), ColumnsOf(live.Processes, 3));
    for (const Strings& row : shown.Processes) EXPECT_EQ(row.at(3), "0 KB") << row[0];
    EXPECT_GE(orvex::test::FindListRow(W().PrcList(), 1, std::to_string(helperPid)), 0);
    EXPECT_EQ(shown.Drivers, live.Drivers);
    EXPECT_EQ(shown.Services, live.Services);
    EXPECT_EQ(shown.Tabs, live.Tabs);
    EXPECT_EQ(ListHeaders(W().PrcList()), (Strings{"Name", "PID", "CPU Time", "Mem Usage"}));

    EXPECT_EQ(shown.Caption, "Orvex Process Viewer - " + file.base());
    // The status bar describes the report: machine, system, time of saving.
    ASSERT_EQ(shown.Status.size(), 3u);
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof computer;
    ASSERT_TRUE(GetComputerNameA(computer, &size));
    std::string upper(computer);
    CharUpperA(upper.data());
    EXPECT_EQ(shown.Status[0], upper);
    orvex::TOrvex_ProcessList reread;
    reread.LoadFromStorage(file.name());
    EXPECT_FALSE(reread.StorageInfo.OSName.empty());
    EXPECT_EQ(shown.Status[1], reread.StorageInfo.OSName);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    // The day of the saving (which may have ended meanwhile).
    EXPECT_TRUE(shown.Status[2].rfind(LocalDateText(saved) + " ", 0) == 0 ||
                shown.Status[2].rfind(LocalDateText(now) + " ", 0) == 0)
        << shown.Status[2];

    // F5: the running system again, the helper gone.
    orvex::test::PostKey(W().PrcList(), VK_F5);
    ASSERT_TRUE(orvex::test::PumpUntil([&] { return W().ProcList.LiveData(); }, 20000));
    EXPECT_LT(orvex::test::FindListRow(W().PrcList(), 1, std::to_string(helperPid)), 0);
    const TView back = View();
    EXPECT_EQ(back.Caption, "Orvex Process Viewer");
    orvex::test::ExpectLiveStatus(W());
}

TEST_F(MainReport, TheSaveTimeShowsInTheUsersDateAndTimeFormat) {
    TReportName file("orvex_time");
    SaveSampleReport(file.name(), 2, 1, 1, 2);
    // Reports keep the local time of their saving, without conversion.
    SYSTEMTIME st{};
    st.wYear = 2021;
    st.wMonth = 3;
    st.wDay = 4;
    st.wHour = 17;
    st.wMinute = 6;
    st.wSecond = 7;
    FILETIME ft{};
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    orvex::test::PatchHeader(file.name(), [&](IPropertyStorage* set) {
        PROPVARIANT value{};
        value.vt = VT_FILETIME;
        value.filetime = ft;
        ASSERT_EQ(orvex::test::WriteRawId(set, PIDSI_CREATE_DTM, value), S_OK);
        orvex::WriteStrPropID(set, PIDSI_SUBJECT, "FARAWAY");
        orvex::WriteStrPropID(set, PIDSI_KEYWORDS, "Some System 7");
    });
    ASSERT_TRUE(W().OpenReport(file.name()));
    EXPECT_EQ(orvex::test::StatusTexts(W().sb()),
              (Strings{"FARAWAY", "Some System 7", LocalDateText(st) + " " + LocalTimeText(st)}));
}

TEST_F(MainReport, CommandsOnTheRunningSystemAreDisabledUntilF5) {
    const std::vector<int> liveOnly{cmFindId,     cmSaveReportId, cmPrcPropsId, cmPrcKillId,  cmDrvPropsId,
                                    cmSvcPropsId, cmSvcStartId,   cmSvcStopId,  cmSvcPauseId, cmSvcResumeId};
    const std::vector<int> always{cmRefreshId, cmOpenReportId, cmPrcDetailsId, cmSvcDetailsId};
    for (int id : liveOnly) EXPECT_TRUE(CommandState(W(), id).MenuEnabled) << id;

    orvex::test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    W().RefreshView(false);
    TReportName file("orvex_commands");
    W().ProcList.SaveToStorage(file.name());
    ASSERT_TRUE(W().OpenReport(file.name()));

    for (int id : liveOnly) EXPECT_FALSE(CommandState(W(), id).MenuEnabled) << id;
    for (int id : {cmPrcPropsId, cmDrvPropsId, cmSvcPropsId}) EXPECT_FALSE(CommandState(W(), id).ButtonEnabled) << id;
    for (int id : always) EXPECT_TRUE(CommandState(W(), id).MenuEnabled) << id;
    for (int id : {cmPrcDetailsId, cmDrvDetailsId, cmSvcDetailsId})
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(W().Handle(), id))) << id;

    // The commands do nothing even when they arrive (a shortcut, a message):
    // the helper's row from the report is not killed, nothing is saved or
    // searched.
    const int row = orvex::test::FindListRow(W().PrcList(), 1, std::to_string(helper.pid()));
    ASSERT_GE(row, 0);
    orvex::test::SelectListRow(W().PrcList(), row);
    for (int id : {cmPrcKillId, cmSaveReportId}) {
        // A dialog that came anyway is answered, so that the test goes on.
        TDialogAnswerer driver({Press(IDCANCEL)}, GetCurrentThreadId(), 700);
        orvex::test::SendCommand(W().Handle(), id);
        EXPECT_FALSE(driver.Finish()) << id;
        EXPECT_TRUE(driver.Seen().empty()) << id;
    }
    orvex::test::SendCommand(W().Handle(), cmFindId);
    EXPECT_EQ(W().FindDialog(), nullptr);
    EXPECT_FALSE(helper.waitForExit(200));

    orvex::test::SendCommand(W().Handle(), cmRefreshId);
    EXPECT_TRUE(W().ProcList.LiveData());
    for (int id : liveOnly) EXPECT_TRUE(CommandState(W(), id).MenuEnabled) << id;
    for (int id : {cmPrcPropsId, cmDrvPropsId, cmSvcPropsId}) EXPECT_TRUE(CommandState(W(), id).ButtonEnabled) << id;
}

TEST_F(MainReport, TheOpenDialogAsksForReportsAndACancelChangesNothing) {
    TReportName file("orvex_dialog");
    SaveSampleReport(file.name(), 3, 2, 2, 2);
    const TView before = View();
    {
        TDialogAnswerer driver({Press(IDCANCEL)});
        orvex::test::SendCommand(W().Handle(), cmOpenReportId);
        ASSERT_TRUE(driver.Finish());
        const auto seen = driver.Seen().at(0);
        EXPECT_NE(std::find(seen.ComboItems.begin(), seen.ComboItems.end(), "Inventory reports (*.ivs)"),
                  seen.ComboItems.end());
        EXPECT_NE(std::find(seen.ComboItems.begin(), seen.ComboItems.end(), "All files"), seen.ComboItems.end());
    }
    EXPECT_EQ(View(), before);
    EXPECT_TRUE(W().ProcList.LiveData());

    TDialogAnswerer driver({TypeAndPress(file.name(), IDOK, FileNameCombo)});
    orvex::test::SendCommand(W().Handle(), cmOpenReportId);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(WindowText(W().Handle()), "Orvex Process Viewer - " + file.base());
    EXPECT_EQ(orvex::test::ListColumn(W().PrcList(), 0), (Strings{"proc0.exe", "proc1.exe", "proc2.exe"}));
    EXPECT_EQ(orvex::test::TabCaptions(W().pc()), (Strings{" Processes (3)", " Drivers (2)", " Services (2)"}));
}

TEST_F(MainReport, FilesThatCannotBeShownNameTheFileAndKeepTheView) {
    orvex::TComInit com;
    // A damaged report: an item's property set replaced by garbage.
    TReportName damaged("orvex_damaged");
    SaveSampleReport(damaged.name(), 4, 2, 2, 2);
    {
        auto root = orvex::OpenStorageFile(damaged.name(), orvex::StorageWriteMode);
        auto item = root->OpenSubStorage("ServiceList\\1", orvex::StorageWriteMode, false);
        std::string garbage;
        for (int i = 0; i < 300; ++i) garbage.push_back(static_cast<char>((i * 37 + 11) & 0xFF));
        garbage[0] = '\xFE';
        garbage[1] = '\xFF';
        orvex::test::WriteStream(*item, orvex::test::ItemSetStream, garbage);
    }
    // Another program's compound file.
    TReportName foreign("orvex_foreign");
    {
        auto root = orvex::CreateStorageFile(foreign.name(), STGM_CREATE | orvex::StorageWriteMode);
        orvex::test::WriteStream(*root, L"WordDocument", std::string(600, 'w'));
    }
    // A text file and a file that does not exist.
    TReportName text("orvex_text");
    {
        const orvex::THandle file(
            CreateFileA(text.name().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), "not a report\r\n", 14, &written, nullptr));
    }
    TReportName missing("orvex_missing");

    const auto expectKept = [&](const TView& before, bool live, const char* what) {
        EXPECT_EQ(View(), before) << what;
        EXPECT_EQ(W().ProcList.LiveData(), live) << what;
    };
    const TView live = View();
    const std::string damagedText = OpenExpectingError(damaged.name());
    EXPECT_NE(damagedText.find("\"" + damaged.name() + "\""), std::string::npos) << damagedText;
    EXPECT_NE(damagedText.find("0x80030109"), std::string::npos) << damagedText;  // STG_E_DOCFILECORRUPT
    expectKept(live, true, "damaged");
    EXPECT_EQ(OpenExpectingError(foreign.name()), "\"" + foreign.name() + "\" is not an inventory report.");
    expectKept(live, true, "foreign");
    EXPECT_EQ(OpenExpectingError(text.name()), "\"" + text.name() + "\" is not an inventory report.");
    expectKept(live, true, "text");
    const std::string missingText = OpenExpectingError(missing.name());
    EXPECT_EQ(missingText.rfind("Cannot open the report \"" + missing.name() + "\": ", 0), 0u) << missingText;
    EXPECT_NE(missingText.find("0x80070002"), std::string::npos) << missingText;  // file not found
    expectKept(live, true, "missing");

    // Over a report shown: the report stays.
    TReportName good("orvex_good");
    SaveSampleReport(good.name(), 2, 1, 1, 2);
    ASSERT_TRUE(W().OpenReport(good.name()));
    const TView report = View();
    EXPECT_FALSE(OpenExpectingError(damaged.name()).empty());
    expectKept(report, false, "damaged over a report");
    EXPECT_FALSE(OpenExpectingError(missing.name()).empty());
    expectKept(report, false, "missing over a report");
    EXPECT_EQ(W().ProcList.StorageFileName, good.name());
}

TEST_F(MainReport, ANineXReportShowsProcessesOnlyWithHexadecimalIdentifiers) {
    TReportName file("orvex_9x");
    // Drivers and services in a 9x report are not shown: the family decides.
    SaveSampleReport(file.name(), 3, 2, 2, 1);
    ASSERT_TRUE(W().OpenReport(file.name()));
    EXPECT_EQ(orvex::test::TabCaptions(W().pc()), (Strings{" Processes (3)"}));
    EXPECT_FALSE(W().PageVisible(pgDrivers));
    EXPECT_FALSE(W().PageVisible(pgServices));
    EXPECT_EQ(ListHeaders(W().PrcList()), (Strings{"Name", "PID", "Threads", "Usage"}));
    // SampleProcess(i): PID 1000 + i, ThreadCount 2 + i, Usage i.
    EXPECT_EQ(ListRows(W().PrcList()),
              (Rows{{"proc0.exe", "3E8", "2", "0"}, {"proc1.exe", "3E9", "3", "1"}, {"proc2.exe", "3EA", "4", "2"}}));

    // The row's identifier is read back in hexadecimal.
    orvex::test::SelectListRow(W().PrcList(), 1);
    Strings general;
    std::string name;
    TDialogProbe probe("Process Details", [&](HWND d) {
        name = WindowText(GetDlgItem(d, orvex::IdDetailsName));
        for (const Strings& row : ListRows(GetDlgItem(d, orvex::IdPrcGenList)))
            if (row.size() > 1) general.push_back(row[0] + "=" + row[1]);
    });
    orvex::test::SendCommand(W().Handle(), cmPrcDetailsId);
    ASSERT_TRUE(probe.Finish());
    EXPECT_EQ(name, "proc1.exe");
    EXPECT_NE(std::find(general.begin(), general.end(), "PID=3E9"), general.end());
    EXPECT_NE(std::find(general.begin(), general.end(), "Process Usage=1"), general.end());

    // F5: this system's family again.
    orvex::test::SendCommand(W().Handle(), cmRefreshId);
    EXPECT_EQ(ListHeaders(W().PrcList()), (Strings{"Name", "PID", "CPU Time", "Mem Usage"}));
    EXPECT_EQ(orvex::test::TabCaptions(W().pc()).size(), 3u);
    EXPECT_GE(orvex::test::FindListRow(W().PrcList(), 1, std::to_string(GetCurrentProcessId())), 0);
}

TEST_F(MainReport, AReportOfNoKnownFamilyShowsThePagesItHolds) {
    TReportName bare("orvex_bare");
    SaveSampleReport(bare.name(), 2, 0, 0, 0);
    ASSERT_TRUE(W().OpenReport(bare.name()));
    EXPECT_EQ(orvex::test::TabCaptions(W().pc()), (Strings{" Processes (2)"}));
    EXPECT_EQ(orvex::test::ListColumn(W().PrcList(), 1), (Strings{"1000", "1001"}));
    TReportName full("orvex_full");
    SaveSampleReport(full.name(), 2, 0, 1, 0);
    ASSERT_TRUE(W().OpenReport(full.name()));
    EXPECT_EQ(orvex::test::TabCaptions(W().pc()), (Strings{" Processes (2)", " Drivers (0)", " Services (1)"}));
}

// A report whose process, driver and service name the helper's file, and
// whose process has the identifier of the running helper: the details
// dialogs show the report's records and nothing read from the system.
class MainReportDetails : public MainReport {
protected:
    void SetUp() override {
        MainReport::SetUp();
        helper_ = std::make_unique<orvex::test::THelperProcess>("--no-window");
        ASSERT_TRUE(helper_->started());
        // What the system would tell about them.
        ASSERT_FALSE(orvex::ReadProcessCommandLine(helper_->pid()).empty());
        orvex::TVersionInfo version;
        ASSERT_TRUE(orvex::ReadVersionInfo(HelperPath(), version));
        ASSERT_EQ(version.Description, "Orvex test helper");

        orvex::TOrvex_ProcessList component;
        orvex::TProcessInfo p = orvex::test::SampleProcess(0);
        p.PID = helper_->pid();
        p.Name = "orvex_test_helper.exe";
        p.ImageName = HelperPath();
        p.UserName = "REPORTED\\someone";
        component.AddProcess(p);
        orvex::TDriverInfo d = orvex::test::SampleDriver(3);
        d.Name = HelperPath();
        component.AddDriver(d);
        orvex::TServiceInfo s = orvex::test::SampleService(0);
        s.ImageName = HelperPath();
        component.AddService(s);
        component.SaveToStorage(file_.name());
        SetPlatform(file_.name(), 2);
        ASSERT_TRUE(W().OpenReport(file_.name()));
    }

    static std::string Value(const Rows& rows, const std::string& caption) {
        for (const Strings& row : rows)
            if (!row.empty() && row[0] == caption) return row.size() > 1 ? row[1] : std::string();
        ADD_FAILURE() << "no row " << caption;
        return {};
    }

    TReportName file_{"orvex_details"};
    std::unique_ptr<orvex::test::THelperProcess> helper_;
};

TEST_F(MainReportDetails, ProcessDetailsShowTheReportsRecordOnly) {
    orvex::test::SelectListRow(W().PrcList(), 0);
    Rows general, counters, security;
    std::string modulesCaption;
    int modules = -1;
    bool refreshEnabled = true, propertiesEnabled = true, defaultIcon = false;
    TDialogProbe probe("Process Details", [&](HWND d) {
        general = ListRows(GetDlgItem(d, orvex::IdPrcGenList));
        counters = ListRows(GetDlgItem(d, orvex::IdPrcCntList));
        security = ListRows(GetDlgItem(d, orvex::IdPrcSecList));
        modules = ListView_GetItemCount(GetDlgItem(d, orvex::IdPrcModList));
        const auto captions = orvex::test::TabCaptions(GetDlgItem(d, orvex::IdDetailsPages));
        for (const std::string& c : captions)
            if (c.find("Modules") != std::string::npos) modulesCaption = c;
        refreshEnabled = IsWindowEnabled(GetDlgItem(d, orvex::IdPrcRefresh));
        propertiesEnabled = IsWindowEnabled(GetDlgItem(d, orvex::IdPrcProperties));
        defaultIcon = orvex::test::ShownIcon(GetDlgItem(d, orvex::IdDetailsIcon)) == LoadIcon(nullptr, IDI_APPLICATION);
        // Refresh stays a report's: a click does nothing.
        orvex::test::SendClick(d, orvex::IdPrcRefresh);
    });
    orvex::test::SendCommand(W().Handle(), cmPrcDetailsId);
    ASSERT_TRUE(probe.Finish());
    EXPECT_EQ(Value(general, "PID"), std::to_string(helper_->pid()));
    EXPECT_EQ(Value(general, "Image name"), HelperPath());
    EXPECT_EQ(Value(general, "User Name"), "REPORTED\\someone");
    EXPECT_EQ(Value(general, "Command line"), "");
    EXPECT_EQ(Value(general, "Description"), "");
    EXPECT_EQ(Value(general, "Version"), "");
    EXPECT_EQ(modules, 0);
    EXPECT_EQ(modulesCaption, " Modules (0) ");
    EXPECT_EQ(Value(counters, "Kernel Time"), "00:00:00");
    EXPECT_EQ(Value(counters, "Working Set Size"), "");
    EXPECT_EQ(security, (Rows{{"Groups", ""}, {"", ""}, {"Privileges", ""}}));
    EXPECT_FALSE(refreshEnabled);
    EXPECT_FALSE(propertiesEnabled);
    EXPECT_TRUE(defaultIcon);
    EXPECT_FALSE(W().ProcList.LiveData());
    EXPECT_EQ(WindowText(W().Handle()), "Orvex Process Viewer - " + file_.base());
}

TEST_F(MainReportDetails, DriverAndServiceDetailsReadNoFile) {
    orvex::test::ClickTab(W().pc(), pgDrivers);
    orvex::test::SelectListRow(W().DrvList(), 0);
    Rows driver;
    bool propertiesEnabled = true;
    {
        TDialogProbe probe("Driver Details", [&](HWND d) {
            driver = ListRows(GetDlgItem(d, orvex::IdDrvGenList));
            propertiesEnabled = IsWindowEnabled(GetDlgItem(d, orvex::IdDrvProperties));
        });
        orvex::test::SendCommand(W().Handle(), cmDrvDetailsId);
        ASSERT_TRUE(probe.Finish());
    }
    // A report's driver: no file read, no check made (the report holds none).
    EXPECT_EQ(driver, (Rows{{"Description", ""},
                            {"Version", ""},
                            {"Product Name", ""},
                            {"Company Name", ""},
                            {"", ""},
                            {"Signer", ""},
                            {"SHA-256", ""}}));
    EXPECT_FALSE(propertiesEnabled);

    orvex::test::ClickTab(W().pc(), pgServices);
    orvex::test::SelectListRow(W().SvcList(), 0);
    Rows service;
    {
        TDialogProbe probe("Service Details", [&](HWND d) { service = ListRows(GetDlgItem(d, orvex::IdSvcGenList)); });
        orvex::test::SendCommand(W().Handle(), cmSvcDetailsId);
        ASSERT_TRUE(probe.Finish());
    }
    EXPECT_EQ(Value(service, "Description"), "");
    EXPECT_EQ(Value(service, "Company Name"), "");
    EXPECT_EQ(Value(service, "Service Name"), "svc0");
    EXPECT_EQ(Value(service, "Image Name"), HelperPath());
}

// The 9x family: a report of the system itself, and one of an NT system.
class Win98MainReport : public MainReport {};

TEST_F(Win98MainReport, OwnReportThroughTheDialogThenAnNtReportThenLive) {
    ASSERT_FALSE(orvex::IsNT());
    TReportName own("orvex_98");
    W().ProcList.SaveToStorage(own.name());
    const Rows live = ListRows(W().PrcList());
    {
        TDialogAnswerer driver({TypeAndPress(own.name(), IDOK, FileNameCombo)});
        orvex::test::SendCommand(W().Handle(), cmOpenReportId);
        ASSERT_TRUE(driver.Finish());
    }
    ASSERT_FALSE(W().ProcList.LiveData());
    EXPECT_EQ(WindowText(W().Handle()), "Orvex Process Viewer - " + own.base());
    EXPECT_EQ(orvex::test::TabCaptions(W().pc()).size(), 1u);
    EXPECT_EQ(ListRows(W().PrcList()), live);  // hexadecimal identifiers, threads and usage are all stored
    EXPECT_FALSE(CommandState(W(), cmPrcKillId).MenuEnabled);
    EXPECT_EQ(orvex::test::StatusTexts(W().sb()).size(), 3u);

    TReportName nt("orvex_nt");
    SaveSampleReport(nt.name(), 2, 1, 1, 2);
    ASSERT_TRUE(W().OpenReport(nt.name()));
    EXPECT_EQ(orvex::test::TabCaptions(W().pc()), (Strings{" Processes (2)", " Drivers (1)", " Services (1)"}));
    EXPECT_EQ(ListHeaders(W().PrcList()), (Strings{"Name", "PID", "CPU Time", "Mem Usage"}));
    EXPECT_EQ(orvex::test::ListColumn(W().PrcList(), 1), (Strings{"1000", "1001"}));
    orvex::test::ClickTab(W().pc(), pgServices);
    EXPECT_TRUE(StyleVisible(W().SvcList()));
    EXPECT_EQ(orvex::test::ListColumn(W().SvcList(), 0), (Strings{"Service number 0"}));

    orvex::test::SendCommand(W().Handle(), cmRefreshId);
    EXPECT_TRUE(W().ProcList.LiveData());
    EXPECT_EQ(orvex::test::TabCaptions(W().pc()).size(), 1u);
    EXPECT_EQ(W().ActivePage(), pgProcesses);
    EXPECT_EQ(ListHeaders(W().PrcList()), (Strings{"Name", "PID", "Threads", "Usage"}));
    EXPECT_EQ(WindowText(W().Handle()), "Orvex Process Viewer");
}

// NT 4: the open dialog of that system's size, its own report and back.
class Nt40MainReport : public MainReport {};

TEST_F(Nt40MainReport, OwnReportThroughTheDialogAndBack) {
    ASSERT_TRUE(orvex::IsNT4());
    TReportName own("orvex_nt4");
    W().ProcList.SaveToStorage(own.name());
    const Rows services = ListRows(W().SvcList());
    ASSERT_FALSE(services.empty());
    {
        TDialogAnswerer driver({TypeAndPress(own.name(), IDOK, FileNameCombo)});
        orvex::test::SendCommand(W().Handle(), cmOpenReportId);
        ASSERT_TRUE(driver.Finish());
    }
    ASSERT_FALSE(W().ProcList.LiveData());
    EXPECT_EQ(WindowText(W().Handle()), "Orvex Process Viewer - " + own.base());
    EXPECT_EQ(orvex::test::TabCaptions(W().pc()).size(), 3u);
    EXPECT_EQ(ListRows(W().SvcList()), services);
    EXPECT_FALSE(CommandState(W(), cmSvcStartId).MenuEnabled);
    EXPECT_GE(orvex::test::FindListRow(W().PrcList(), 1, std::to_string(GetCurrentProcessId())), 0);
    orvex::test::SendCommand(W().Handle(), cmRefreshId);
    EXPECT_TRUE(W().ProcList.LiveData());
    EXPECT_TRUE(CommandState(W(), cmSvcStartId).MenuEnabled);
    orvex::test::ExpectLiveStatus(W());
}

}  // namespace
