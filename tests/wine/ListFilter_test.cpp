// The filter of the main window's lists: Ctrl+E's field above the active
// page's list keeps the rows whose shown cells contain its text (without
// regard to case), the status bar says how many of how many, a command on a
// filtered row acts on that row's record, and Esc brings every row back.
// Modern and NT 4 modes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/Main.h"
#include "app/MainLayout.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/HelperProcess.h"
#include "tests/wine/support/TestService.h"

namespace {

using namespace orvex::app;
using orvex::test::Press;
using orvex::test::TDialogAnswerer;

RECT ClientRectIn(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ExpectFilterNarrowsAndCommandsActOnTheRecord() {
    orvex::ResetSortState();
    orvex::test::THelperProcess first("--no-window");
    orvex::test::THelperProcess second("--no-window");
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(second.started());
    Twnd_Main w(nullptr, false);
    SetWindowPos(w.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    const HWND list = w.PrcList();
    const int all = ListView_GetItemCount(list);
    const RECT listBefore = ClientRectIn(w.Handle(), list);
    EXPECT_FALSE(IsWindowVisible(w.FilterEdit()));

    orvex::test::SendCommand(w.Handle(), cmFilterId);
    ASSERT_TRUE(IsWindowVisible(w.FilterEdit()));
    EXPECT_EQ(GetFocus(), w.FilterEdit());
    const RECT edit = ClientRectIn(w.Handle(), w.FilterEdit());
    const RECT listNow = ClientRectIn(w.Handle(), list);
    EXPECT_EQ(edit.top, listBefore.top) << "the field stands where the list began";
    EXPECT_GE(listNow.top, edit.bottom) << "and the list below it";
    EXPECT_EQ(listNow.bottom, listBefore.bottom);

    // Typed in another case than the names: both helpers and nothing else.
    SetWindowTextA(w.FilterEdit(), "ORVEX_TEST_HELPER");
    const std::vector<std::vector<std::string>> rows = orvex::test::ListRows(list);
    ASSERT_EQ(rows.size(), 2u);
    for (const auto& row : rows) EXPECT_EQ(row[0], "orvex_test_helper.exe");
    EXPECT_EQ(orvex::test::StatusTexts(w.sb())[3], "Shown: 2 of " + std::to_string(w.ProcList.ProcessCount()));
    EXPECT_EQ(orvex::test::TabCaptions(w.pc())[0], " Processes (" + std::to_string(w.ProcList.ProcessCount()) + ")")
        << "the tab counts every record";

    // The second helper's row, whatever its place: Kill ends that process.
    const int row = orvex::test::FindListRow(list, 1, std::to_string(second.pid()));
    ASSERT_GE(row, 0);
    orvex::test::SelectListRow(list, row);
    TDialogAnswerer driver({Press(IDYES)});
    orvex::test::SendCommand(w.Handle(), cmPrcKillId);
    ASSERT_TRUE(driver.Finish());
    EXPECT_TRUE(second.waitForExit(5000));
    EXPECT_FALSE(first.waitForExit(200)) << "the other row's process runs on";

    // Esc clears and hides the field; every row is back.
    orvex::test::PostKey(w.FilterEdit(), VK_ESCAPE);
    ASSERT_TRUE(orvex::test::PumpUntil([&] { return !IsWindowVisible(w.FilterEdit()); }, 5000));
    EXPECT_GE(ListView_GetItemCount(list), w.ProcList.ProcessCount());
    EXPECT_GT(ListView_GetItemCount(list), 2);
    EXPECT_EQ(orvex::test::StatusTexts(w.sb())[3].find("Shown:"), std::string::npos);
    const RECT listAfter = ClientRectIn(w.Handle(), list);
    EXPECT_EQ(listAfter.top, listBefore.top);
    (void)all;
    orvex::ResetSortState();
}

TEST(ListFilter, NarrowsTheRowsAndCommandsActOnTheirRecords) { ExpectFilterNarrowsAndCommandsActOnTheRecord(); }

TEST(Nt40ListFilter, NarrowsTheRowsAndCommandsActOnTheirRecords) { ExpectFilterNarrowsAndCommandsActOnTheRecord(); }

}  // namespace

namespace {

std::string Ansi(const std::wstring& wide) {
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(n > 0 ? static_cast<std::size_t>(n - 1) : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, text.data(), n, nullptr, nullptr);
    return text;
}

// In code page 932 the filter matches whole characters: a service named
// with 表 (0x95 0x5C) is found by its name, by a letter of another case,
// and never by the backslash that is 表's trail byte.
TEST(Cp932ListFilter, MatchesWholeDoubleByteCharacters) {
    ASSERT_EQ(GetACP(), 932u);
    orvex::ResetSortState();
    orvex::test::TInstalledTestService service("_cjk", L"Orvex \u8868\u793A filter");
    ASSERT_TRUE(service.installed()) << service.error();
    Twnd_Main w(nullptr, false);
    orvex::test::ClickTab(w.pc(), pgServices);
    orvex::test::SendCommand(w.Handle(), cmFilterId);
    const auto shown = [&](const std::string& text) {
        SetWindowTextA(w.FilterEdit(), text.c_str());
        return orvex::test::ListColumn(w.SvcList(), 0);
    };
    EXPECT_EQ(shown(Ansi(L"\u8868\u793A")), std::vector<std::string>{service.display()});
    EXPECT_EQ(shown(Ansi(L"ORVEX \u8868")), std::vector<std::string>{service.display()});
    for (const std::string& name : shown("\\")) EXPECT_NE(name, service.display()) << "a trail byte is no backslash";
    EXPECT_EQ(orvex::test::StatusTexts(w.sb())[3].rfind("Shown: ", 0), 0u);
    orvex::ResetSortState();
}

}  // namespace
