// The main window's Details commands: the menu items, the pages' buttons and
// double-clicks on the lists open the details dialogs over the main window.
#include <gtest/gtest.h>

#include <memory>

#include "app/Main.h"
#include "app/PrcDetailsLayout.h"
#include "tests/wine/DetailsProbe.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/HelperProcess.h"
#include "tests/wine/support/TestService.h"

namespace {

using namespace orvex::app;
using orvex::test::DoubleClickRow;
using orvex::test::TDialogProbe;
using orvex::test::WindowText;

class MainDetails : public ::testing::Test {
protected:
    void SetUp() override { window_ = std::make_unique<Twnd_Main>(nullptr, false); }
    Twnd_Main& W() { return *window_; }
    int ProcessRow(DWORD pid) { return orvex::test::FindListRow(W().PrcList(), 1, std::to_string(pid)); }
    std::unique_ptr<Twnd_Main> window_;
};

struct TSeen {
    HWND Owner = nullptr;
    std::string Name;
};

TEST_F(MainDetails, ProcessDetailsByMenuButtonAndDoubleClick) {
    orvex::test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    W().RefreshView(false);
    const int row = ProcessRow(helper.pid());
    ASSERT_GE(row, 0);
    const auto open = [&](const std::function<void()>& trigger) {
        // The main lists are refilled after each dialog: select the row again.
        orvex::test::SelectListRow(W().PrcList(), ProcessRow(helper.pid()));
        TSeen seen;
        TDialogProbe probe("Process Details", [&](HWND d) {
            seen.Owner = GetWindow(d, GW_OWNER);
            seen.Name = WindowText(GetDlgItem(d, orvex::IdDetailsName));
        });
        trigger();
        EXPECT_TRUE(probe.Finish());
        return seen;
    };
    // The menu item and the page's button carry the same command.
    const TSeen byCommand = open([&] { orvex::test::SendCommand(W().Handle(), cmPrcDetailsId); });
    EXPECT_EQ(byCommand.Owner, W().Handle());
    EXPECT_EQ(byCommand.Name, "orvex_test_helper.exe");
    const HWND button = GetDlgItem(W().Handle(), cmPrcDetailsId);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(WindowText(button), "Details...");
    EXPECT_EQ(open([&] { SendMessageA(button, BM_CLICK, 0, 0); }).Name, "orvex_test_helper.exe");
    EXPECT_EQ(open([&] { DoubleClickRow(W().PrcList(), ProcessRow(helper.pid())); }).Name, "orvex_test_helper.exe");
}

TEST_F(MainDetails, RefreshInsideTheDialogReachesTheMainLists) {
    orvex::test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    W().RefreshView(false);
    const int row = ProcessRow(helper.pid());
    ASSERT_GE(row, 0);
    orvex::test::SelectListRow(W().PrcList(), row);
    std::unique_ptr<orvex::test::THelperProcess> later;
    TDialogProbe probe("Process Details", [&](HWND d) {
        later = std::make_unique<orvex::test::THelperProcess>("--no-window");
        orvex::test::SendClick(d, orvex::IdPrcRefresh);
    });
    orvex::test::SendCommand(W().Handle(), cmPrcDetailsId);
    ASSERT_TRUE(probe.Finish());
    ASSERT_TRUE(later && later->started());
    // Started while the dialog was open: only the dialog's refresh saw it.
    EXPECT_GE(ProcessRow(later->pid()), 0);
    EXPECT_EQ(orvex::test::TabCaptions(W().pc())[0],
              " Processes (" + std::to_string(W().ProcList.ProcessCount()) + ")");
}

TEST_F(MainDetails, DriverDetailsByButtonAndDoubleClick) {
    ASSERT_GT(W().ProcList.DriverCount(), 0);
    orvex::test::ClickTab(W().pc(), pgDrivers);
    orvex::test::SelectListRow(W().DrvList(), 0);
    orvex::TDriverInfo driver;
    W().ProcList.GetDriver(0, driver);
    for (int way = 0; way < 2; ++way) {
        TSeen seen;
        TDialogProbe probe("Driver Details", [&](HWND d) {
            seen.Owner = GetWindow(d, GW_OWNER);
            seen.Name = WindowText(GetDlgItem(d, orvex::IdDetailsName));
        });
        if (way == 0)
            SendMessageA(GetDlgItem(W().Handle(), cmDrvDetailsId), BM_CLICK, 0, 0);
        else
            DoubleClickRow(W().DrvList(), 0);
        ASSERT_TRUE(probe.Finish()) << way;
        EXPECT_EQ(seen.Owner, W().Handle());
        EXPECT_EQ(seen.Name, driver.Name.str());
    }
}

TEST_F(MainDetails, ServiceDetailsByMenuButtonAndDoubleClick) {
    orvex::test::TInstalledTestService service("_maindetails");
    ASSERT_TRUE(service.installed()) << service.error();
    W().RefreshView(false);
    orvex::test::ClickTab(W().pc(), pgServices);
    const int row = orvex::test::FindListRow(W().SvcList(), 0, service.display());
    ASSERT_GE(row, 0);
    orvex::test::SelectListRow(W().SvcList(), row);
    for (int way = 0; way < 3; ++way) {
        TSeen seen;
        TDialogProbe probe("Service Details", [&](HWND d) {
            seen.Owner = GetWindow(d, GW_OWNER);
            seen.Name = WindowText(GetDlgItem(d, orvex::IdDetailsName));
        });
        if (way == 0)
            orvex::test::SendCommand(W().Handle(), cmSvcDetailsId);
        else if (way == 1)
            SendMessageA(GetDlgItem(W().Handle(), cmSvcDetailsId), BM_CLICK, 0, 0);
        else
            DoubleClickRow(W().SvcList(), row);
        ASSERT_TRUE(probe.Finish()) << way;
        EXPECT_EQ(seen.Owner, W().Handle());
        EXPECT_EQ(seen.Name, service.display());
    }
}

TEST_F(MainDetails, NoSelectionOpensNothing) {
    bool opened = false;
    orvex::test::TTestThread watcher(
        [&] { opened = orvex::test::WaitForDialog(orvex::test::AnyThread, "Process Details", 1000) != nullptr; });
    orvex::test::SendCommand(W().Handle(), cmPrcDetailsId);
    orvex::test::SendCommand(W().Handle(), cmDrvDetailsId);
    orvex::test::SendCommand(W().Handle(), cmSvcDetailsId);
    watcher.join();
    EXPECT_FALSE(opened);
}

}  // namespace
