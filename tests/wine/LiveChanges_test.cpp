// The changes since the previous refresh in the main window: a helper
// started between two refreshes is drawn green, one that ended stays for one
// refresh at its place, drawn red, and a service stopped in between is drawn
// yellow; the status bar counts them for the page shown. Modern and NT 4
// modes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/Main.h"
#include "app/MainLayout.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/HelperProcess.h"
#include "tests/wine/support/TestService.h"

namespace {

using namespace orvex::app;

LPARAM RowData(HWND list, int row) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    ListView_GetItem(list, &item);
    return item.lParam;
}

// The colour the screen shows in a cell of the row, left of the PID's
// right-aligned text (or the empty end of the name cell): 0x00RRGGBB.
std::uint32_t RowBackground(HWND list, int row, int column) {
    ListView_EnsureVisible(list, row, FALSE);
    orvex::test::PaintNow(GetParent(list));
    RECT cell{};
    ListView_GetSubItemRect(list, row, column, LVIR_BOUNDS, &cell);
    POINT at{column == 0 ? cell.right - 4 : cell.left + 4, (cell.top + cell.bottom) / 2};
    ClientToScreen(list, &at);
    const std::vector<std::uint32_t> pixels = orvex::test::ScreenPixels({at.x, at.y, at.x + 1, at.y + 1});
    return pixels.empty() ? 0xFFFFFFFF : pixels[0];
}

// "+N -M changed K" as three numbers.
bool Counts(const std::string& text, int& added, int& removed, int& changed) {
    return std::sscanf(text.c_str(), "+%d -%d changed %d", &added, &removed, &changed) == 3;
}

// Ends the helper and waits until its id names no process.
void EndAndWait(std::unique_ptr<orvex::test::THelperProcess>& helper) {
    const DWORD pid = helper->pid();
    helper.reset();
    for (int i = 0; i < 100; ++i) {
        const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
        if (!process) return;
        CloseHandle(process);
        Sleep(50);
    }
}

bool StopService(const std::string& key) {
    const SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return false;
    const SC_HANDLE service = OpenServiceA(manager, key.c_str(), SERVICE_STOP | SERVICE_QUERY_STATUS);
    SERVICE_STATUS status{};
    bool stopped = service && ControlService(service, SERVICE_CONTROL_STOP, &status);
    for (int i = 0; stopped && i < 100 && orvex::test::ServiceState(key) != SERVICE_STOPPED; ++i) Sleep(50);
    stopped = stopped && orvex::test::ServiceState(key) == SERVICE_STOPPED;
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return stopped;
}

constexpr std::uint32_t Green = 0xC8FFC8, Red = 0xFFC8C8, Yellow = 0xFFFFAA;

void ExpectChangesMarked() {
    orvex::ResetSortState();
    orvex::test::TInstalledTestService service("_chg");
    ASSERT_TRUE(service.installed()) << service.error();
    ASSERT_TRUE(orvex::test::StartServiceAndWait(service.key(), 20000));
    auto ending = std::make_unique<orvex::test::THelperProcess>("--no-window");
    ASSERT_TRUE(ending->started());
    const DWORD endingPid = ending->pid();

    Twnd_Main w(nullptr, false);
    SetWindowPos(w.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    EXPECT_TRUE(w.HighlightChanges()) << "on by default";
    // The first refresh has nothing to compare with.
    const HWND processes = w.PrcList();
    for (int row = 0; row < ListView_GetItemCount(processes); ++row)
        EXPECT_EQ(w.RowChange(pgProcesses, RowData(processes, row)), TLiveChange::None);
    EXPECT_EQ(orvex::test::StatusTexts(w.sb())[3], "");

    orvex::test::THelperProcess fresh("--no-window");
    ASSERT_TRUE(fresh.started());
    EndAndWait(ending);
    ASSERT_TRUE(StopService(service.key()));
    orvex::test::SendCommand(w.Handle(), cmRefreshId);

    const int freshRow = orvex::test::FindListRow(processes, 1, std::to_string(fresh.pid()));
    const int endedRow = orvex::test::FindListRow(processes, 1, std::to_string(endingPid));
    ASSERT_GE(freshRow, 0);
    ASSERT_GE(endedRow, 0) << "an ended process stays for one refresh";
    EXPECT_EQ(w.RowChange(pgProcesses, RowData(processes, freshRow)), TLiveChange::Added);
    EXPECT_EQ(w.RowChange(pgProcesses, RowData(processes, endedRow)), TLiveChange::Removed);
    EXPECT_EQ(RowBackground(processes, freshRow, 1), Green);
    EXPECT_EQ(RowBackground(processes, endedRow, 1), Red);
    EXPECT_EQ(RowBackground(processes, endedRow, 0), Red) << "every cell of the row";
    int added = 0, removed = 0, changed = 0;
    ASSERT_TRUE(Counts(orvex::test::StatusTexts(w.sb())[3], added, removed, changed))
        << orvex::test::StatusTexts(w.sb())[3];
    EXPECT_GE(added, 1);
    EXPECT_GE(removed, 1);
    // The tab counts the records; the list holds the ended ones besides.
    EXPECT_EQ(ListView_GetItemCount(processes), w.ProcList.ProcessCount() + removed);
    EXPECT_EQ(orvex::test::TabCaptions(w.pc())[0], " Processes (" + std::to_string(w.ProcList.ProcessCount()) + ")");

    orvex::test::ClickTab(w.pc(), pgServices);
    const HWND services = w.SvcList();
    const int serviceRow = orvex::test::FindListRow(services, 0, service.display());
    ASSERT_GE(serviceRow, 0);
    EXPECT_EQ(w.RowChange(pgServices, RowData(services, serviceRow)), TLiveChange::Changed);
    EXPECT_EQ(RowBackground(services, serviceRow, 1), Yellow);
    ASSERT_TRUE(Counts(orvex::test::StatusTexts(w.sb())[3], added, removed, changed));
    EXPECT_GE(changed, 1) << "the services page counts its own";
    orvex::test::ClickTab(w.pc(), pgProcesses);

    // The next refresh lets the ended process go; the fresh one is no news.
    orvex::test::SendCommand(w.Handle(), cmRefreshId);
    EXPECT_LT(orvex::test::FindListRow(processes, 1, std::to_string(endingPid)), 0);
    const int again = orvex::test::FindListRow(processes, 1, std::to_string(fresh.pid()));
    ASSERT_GE(again, 0);
    EXPECT_EQ(w.RowChange(pgProcesses, RowData(processes, again)), TLiveChange::None);
    EXPECT_NE(RowBackground(processes, again, 1), Green);

    // Off: nothing is marked.
    orvex::test::SendCommand(w.Handle(), cmHighlightChangesId);
    EXPECT_FALSE(w.HighlightChanges());
    EXPECT_EQ(orvex::test::StatusTexts(w.sb())[3], "");
    orvex::ResetSortState();
}

TEST(LiveChangesView, NewEndedAndChangedRowsAreMarked) { ExpectChangesMarked(); }

TEST(Nt40LiveChangesView, NewEndedAndChangedRowsAreMarked) { ExpectChangesMarked(); }

}  // namespace
