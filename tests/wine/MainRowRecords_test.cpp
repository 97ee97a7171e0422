// The main window's rows carry their records: a command acts on the record a
// row was filled from, never on another record whose text reads the same, and
// refuses a row whose record has left the inventory since the fill.
#include <gtest/gtest.h>

#include <memory>

#include "app/Main.h"
#include "app/pure/MainRows.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_Resources.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/HelperProcess.h"
#include "tests/wine/support/TestService.h"
#include "ui/Orvex_CtrlRtns.h"

namespace {

using namespace orvex::app;
using orvex::test::Press;
using orvex::test::TDialogAnswerer;
using orvex::test::TInstalledTestService;
using orvex::test::TSeenDialog;

// Display names that end in two Chinese characters each, which code page
// 1252 has none of: both reach the program as "Orvex Test <stamp> ??". The
// stamp keeps them apart from the services of an earlier test, which the
// manager may keep for a while after their deletion, and of a crashed run.
std::wstring ServiceStamp() {
    static int count = 0;
    return std::to_wstring(::GetCurrentProcessId()) + L"_" + std::to_wstring(::GetTickCount() & 0xFFFFFF) + L"_" +
           std::to_wstring(++count);
}

bool DeleteService(const std::string& key) {
    orvex::TScHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS), &::CloseServiceHandle);
    if (!manager) return false;
    orvex::TScHandle service(::OpenServiceA(manager.get(), key.c_str(), DELETE), &::CloseServiceHandle);
    return service && ::DeleteService(service.get());
}

class MainRowRecords : public ::testing::Test {
protected:
    void SetUp() override {
        orvex::ResetSortState();
        window_ = std::make_unique<Twnd_Main>(nullptr, false);
    }
    void TearDown() override {
        window_.reset();
        orvex::ResetSortState();
    }
    Twnd_Main& W() { return *window_; }

    // Sends Command with the dialogs answered; what they showed.
    std::vector<TSeenDialog> Run(int command, std::vector<orvex::test::TDialogAnswer> answers) {
        TDialogAnswerer driver(std::move(answers));
        orvex::test::SendCommand(W().Handle(), command);
        driver.Finish();
        return driver.Seen();
    }
    // The list's row that shows the component's record at Index: the list is
    // filled in the component's order and not sorted.
    static int RowOfIndex(HWND list, int index) { return index < ListView_GetItemCount(list) ? index : -1; }
    int ServiceIndex(const std::string& key) {
        for (int i = 0; i < W().ProcList.ServiceCount(); ++i) {
            orvex::TServiceInfo s;
            W().ProcList.GetService(static_cast<std::uint32_t>(i), s);
            if (s.Name.str() == key) return i;
        }
        return -1;
    }
    int ProcessRow(DWORD pid) { return orvex::test::FindListRow(W().PrcList(), 1, FormatPid(pid, orvex::IsNT())); }

    std::unique_ptr<Twnd_Main> window_;
};

// Two services whose display names differ only in characters that the ANSI
// code page lacks, installed for each test.
class MainRowRecordsServices : public MainRowRecords {
protected:
    void SetUp() override {
        const std::wstring display = L"Orvex Test " + ServiceStamp() + L" ";
        update_ = std::make_unique<TInstalledTestService>("_rowA", display + L"\u66f4\u65b0");
        time_ = std::make_unique<TInstalledTestService>("_rowB", display + L"\u65f6\u95f4");
        ASSERT_TRUE(update_->installed()) << update_->error();
        ASSERT_TRUE(time_->installed()) << time_->error();
        MainRowRecords::SetUp();
    }
    void TearDown() override {
        MainRowRecords::TearDown();
        update_.reset();
        time_.reset();
    }
    // The first and second of the two in the component's order.
    void Order(const TInstalledTestService*& first, const TInstalledTestService*& second) {
        const bool updateFirst = ServiceIndex(update_->key()) < ServiceIndex(time_->key());
        first = updateFirst ? update_.get() : time_.get();
        second = updateFirst ? time_.get() : update_.get();
    }
    void SelectService(const std::string& key) {
        const int row = RowOfIndex(W().SvcList(), ServiceIndex(key));
        ASSERT_GE(row, 0) << key;
        orvex::test::SelectListRow(W().SvcList(), row);
    }
    std::unique_ptr<TInstalledTestService> update_, time_;
};

TEST_F(MainRowRecordsServices, BothRowsReadTheSameText) {
    // What makes the text useless as a key on this system.
    EXPECT_EQ(update_->display(), time_->display());
    EXPECT_NE(update_->display().find("??"), std::string::npos) << update_->display();
    EXPECT_EQ(orvex::test::ListRow(W().SvcList(), RowOfIndex(W().SvcList(), ServiceIndex(update_->key())))[0],
              update_->display());
}

TEST_F(MainRowRecordsServices, StopOnEachRowStopsExactlyThatService) {
    ASSERT_TRUE(orvex::test::StartServiceAndWait(update_->key(), 10000));
    ASSERT_TRUE(orvex::test::StartServiceAndWait(time_->key(), 10000));
    W().RefreshView(false);
    const TInstalledTestService *first = nullptr, *second = nullptr;
    Order(first, second);

    // The second row first: found by its text, the first service would stop.
    SelectService(second->key());
    auto seen = Run(cmSvcStopId, {Press(IDYES)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Text, "Stop " + second->display() + " service?");
    EXPECT_EQ(orvex::test::ServiceState(second->key()), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(orvex::test::ServiceState(first->key()), static_cast<DWORD>(SERVICE_RUNNING));

    SelectService(first->key());
    seen = Run(cmSvcStopId, {Press(IDYES)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(orvex::test::ServiceState(first->key()), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST_F(MainRowRecordsServices, ARowWhoseServiceWasRemovedIsRefused) {
    const TInstalledTestService *first = nullptr, *second = nullptr;
    Order(first, second);
    SelectService(first->key());
    // The first service leaves the system and the inventory; the list still
    // shows its row, and the second service reads the same text.
    ASSERT_TRUE(DeleteService(first->key()));
    W().ProcList.RefreshData();
    ASSERT_LT(ServiceIndex(first->key()), 0);
    ASSERT_GE(ServiceIndex(second->key()), 0);

    const auto seen = Run(cmSvcStartId, {Press(IDOK)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Title, "Warning");
    EXPECT_EQ(seen[0].Text, "Cannot start service.");
    EXPECT_EQ(seen[0].ButtonIds, std::vector<int>{IDOK});
    EXPECT_EQ(orvex::test::ServiceState(second->key()), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST_F(MainRowRecordsServices, EachControlCommandRefusesARowWhoseIndexHoldsAnotherService) {
    ASSERT_TRUE(orvex::test::StartServiceAndWait(update_->key(), 10000));
    ASSERT_TRUE(orvex::test::StartServiceAndWait(time_->key(), 10000));
    W().RefreshView(false);
    const TInstalledTestService *first = nullptr, *second = nullptr;
    Order(first, second);
    SelectService(first->key());
    ASSERT_TRUE(DeleteService(first->key()));  // marked: it goes when it stops
    {
        orvex::TScHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS), &::CloseServiceHandle);
        orvex::TScHandle service(::OpenServiceA(manager.get(), first->key().c_str(),
                                                SERVICE_STOP | SERVICE_QUERY_STATUS),
                                 &::CloseServiceHandle);
        SERVICE_STATUS status{};
        if (service && ::ControlService(service.get(), SERVICE_CONTROL_STOP, &status))
            orvex::test::WaitServiceStopped(service.get(), 5000);
    }
    W().ProcList.RefreshData();
    ASSERT_LT(ServiceIndex(first->key()), 0);

    struct Case {
        int command;
        const char* warning;
    };
    const Case cases[] = {{cmSvcStopId, "Cannot stop service."},
                          {cmSvcPauseId, "Cannot pause service."},
                          {cmSvcResumeId, "Cannot resume service."}};
    for (const Case& c : cases) {
        const auto seen = Run(c.command, {Press(IDOK)});
        ASSERT_EQ(seen.size(), 1u) << c.warning;
        EXPECT_EQ(seen[0].Text, c.warning);
        EXPECT_EQ(orvex::test::ServiceState(second->key()), static_cast<DWORD>(SERVICE_RUNNING)) << c.warning;
    }
    // Details and properties have no warning: they do nothing.
    TDialogAnswerer none({Press(IDCANCEL)}, GetCurrentThreadId(), 700);
    orvex::test::SendCommand(W().Handle(), cmSvcDetailsId);
    orvex::test::SendCommand(W().Handle(), cmSvcPropsId);
    EXPECT_FALSE(none.Finish());
    EXPECT_TRUE(none.Seen().empty());
}

TEST_F(MainRowRecordsServices, SortedRowsKeepTheirServices) {
    // The second in the component's order runs: found by its text, Stop
    // would reach the first, which is stopped, and do nothing.
    const TInstalledTestService *first = nullptr, *second = nullptr;
    Order(first, second);
    ASSERT_TRUE(orvex::test::StartServiceAndWait(second->key(), 10000));
    W().RefreshView(false);
    Order(first, second);
    ASSERT_EQ(orvex::test::ServiceState(second->key()), static_cast<DWORD>(SERVICE_RUNNING));

    // Status descending, then name descending: the rows leave the fill order.
    for (int column : {1, 1, 0, 0}) orvex::test::ClickColumnHeader(W().SvcList(), column);
    const HWND list = W().SvcList();
    int running = -1;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        const auto cells = orvex::test::ListRow(list, row);
        if (cells[0] == second->display() && cells[1] == "Running") running = row;
    }
    ASSERT_GE(running, 0);
    ASSERT_NE(running, ServiceIndex(second->key()));  // the sort moved it
    orvex::test::SelectListRow(list, running);
    const auto seen = Run(cmSvcStopId, {Press(IDYES)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Text, "Stop " + second->display() + " service?");
    EXPECT_EQ(orvex::test::ServiceState(second->key()), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(orvex::test::ServiceState(first->key()), static_cast<DWORD>(SERVICE_STOPPED));
}

// Kill of a process row whose process ended and left the inventory since the
// list was filled: the row names no process any more.
void KillOfAnEndedProcessIsRefused(Twnd_Main& w, int row, orvex::test::THelperProcess& ended,
                                   orvex::test::THelperProcess& other) {
    orvex::test::SelectListRow(w.PrcList(), row);
    ASSERT_TRUE(::TerminateProcess(ended.process(), 1));
    ASSERT_TRUE(ended.waitForExit(5000));
    w.ProcList.RefreshData();
    ASSERT_LT(w.ProcList.FindProcess(ended.pid()), 0);
    TDialogAnswerer driver({Press(IDOK)});
    orvex::test::SendCommand(w.Handle(), cmPrcKillId);
    ASSERT_TRUE(driver.Finish());
    const auto seen = driver.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Title, "Warning");
    EXPECT_EQ(seen[0].Text, KillFailedText);
    EXPECT_FALSE(other.waitForExit(300));
}

TEST_F(MainRowRecords, KillOfAnEndedProcessIsRefused) {
    orvex::test::THelperProcess ended("--no-window"), other("--no-window");
    ASSERT_TRUE(ended.started() && other.started());
    W().RefreshView(false);
    const int row = ProcessRow(ended.pid());
    ASSERT_GE(row, 0);
    KillOfAnEndedProcessIsRefused(W(), row, ended, other);
}

TEST_F(MainRowRecords, DetailsOfAnEndedProcessDoNothing) {
    orvex::test::THelperProcess ended("--no-window");
    ASSERT_TRUE(ended.started());
    W().RefreshView(false);
    const int row = ProcessRow(ended.pid());
    ASSERT_GE(row, 0);
    orvex::test::SelectListRow(W().PrcList(), row);
    ASSERT_TRUE(::TerminateProcess(ended.process(), 1));
    ASSERT_TRUE(ended.waitForExit(5000));
    W().ProcList.RefreshData();
    TDialogAnswerer none({Press(IDCANCEL)}, GetCurrentThreadId(), 700);
    orvex::test::SendCommand(W().Handle(), cmPrcDetailsId);
    orvex::test::SendCommand(W().Handle(), cmPrcPropsId);
    EXPECT_FALSE(none.Finish());
    EXPECT_TRUE(none.Seen().empty());
}

TEST_F(MainRowRecords, TheRowsTextIsNotReadBack) {
    orvex::test::THelperProcess helper("--no-window");
    ASSERT_TRUE(helper.started());
    W().RefreshView(false);
    const int row = ProcessRow(helper.pid());
    ASSERT_GE(row, 0);
    // Another text in the row's PID cell: the row still names its process.
    LVITEMA cell{};
    cell.iSubItem = 1;
    cell.pszText = const_cast<char*>("12x");
    SendMessageA(W().PrcList(), LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    orvex::test::SelectListRow(W().PrcList(), row);
    const auto seen = Run(cmPrcKillId, {Press(IDYES)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Text, KillWarningText);
    EXPECT_TRUE(helper.waitForExit(5000));
}

TEST_F(MainRowRecords, SortedProcessRowsKeepTheirProcesses) {
    orvex::test::THelperProcess a("--no-window"), b("--no-window");
    ASSERT_TRUE(a.started() && b.started());
    W().RefreshView(false);
    orvex::test::ClickColumnHeader(W().PrcList(), 1);
    orvex::test::ClickColumnHeader(W().PrcList(), 1);  // PID descending
    const int row = ProcessRow(a.pid());
    ASSERT_GE(row, 0);
    ASSERT_NE(row, W().ProcList.FindProcess(a.pid()));  // the sort moved it
    orvex::test::SelectListRow(W().PrcList(), row);
    const auto seen = Run(cmPrcKillId, {Press(IDYES)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(a.waitForExit(5000));
    EXPECT_FALSE(b.waitForExit(300));
}

// NT 4 and 9x write process identifiers in their own bases; the rows do not
// depend on them.
class Nt40MainRowRecords : public MainRowRecords {};
class Win98MainRowRecords : public MainRowRecords {};

TEST_F(Nt40MainRowRecords, KillOfAnEndedProcessIsRefused) {
    ASSERT_TRUE(orvex::IsNT4());
    orvex::test::THelperProcess ended("--no-window"), other("--no-window");
    ASSERT_TRUE(ended.started() && other.started());
    W().RefreshView(false);
    const int row = ProcessRow(ended.pid());
    ASSERT_GE(row, 0);
    KillOfAnEndedProcessIsRefused(W(), row, ended, other);
}

TEST_F(Win98MainRowRecords, KillOfAnEndedProcessIsRefused) {
    ASSERT_FALSE(orvex::IsNT());
    orvex::test::THelperProcess ended("--no-window"), other("--no-window");
    ASSERT_TRUE(ended.started() && other.started());
    W().RefreshView(false);
    const int row = ProcessRow(ended.pid());
    ASSERT_GE(row, 0);
    KillOfAnEndedProcessIsRefused(W(), row, ended, other);
}

TEST_F(Win98MainRowRecords, SortedProcessRowsKeepTheirProcesses) {
    orvex::test::THelperProcess a("--no-window"), b("--no-window");
    ASSERT_TRUE(a.started() && b.started());
    W().RefreshView(false);
    orvex::test::ClickColumnHeader(W().PrcList(), 1);
    orvex::test::ClickColumnHeader(W().PrcList(), 1);
    const int row = ProcessRow(a.pid());
    ASSERT_GE(row, 0);
    orvex::test::SelectListRow(W().PrcList(), row);
    const auto seen = Run(cmPrcKillId, {Press(IDYES)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(a.waitForExit(5000));
    EXPECT_FALSE(b.waitForExit(300));
}

}  // namespace
