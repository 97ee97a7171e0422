// The window details dialog on window records of the inventory: the test
// helper's main window, a window of this process with a class icon of its
// own, and records as a loaded report holds them.
#include <gtest/gtest.h>

#include "app/WinDetails.h"

#include <cstdio>

#include "app/WinDetailsLayout.h"
#include "engine/OXI_Processes.h"
#include "tests/wine/DetailsProbe.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/HelperProcess.h"
#include "tests/wine/support/TestThread.h"
#include "ui/Orvex_GuiResources.h"
#include "ui/pure/Orvex_OwnerDraw.h"

namespace {

using orvex::test::ListRows;
using orvex::test::TDialogProbe;
using orvex::test::WindowText;
using Rows = std::vector<std::vector<std::string>>;
using Strings = std::vector<std::string>;

std::string Hex0x(unsigned long long v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llX", v);
    return buf;
}

std::string Value(const Rows& rows, const std::string& caption) {
    for (const auto& r : rows)
        if (!r.empty() && r[0] == caption) return r.size() > 1 ? r[1] : "";
    return "<none>";
}

struct TShown {
    std::string Caption, Name, ActiveTab;
    Strings Tabs;
    Rows General, Styles, ClassInfo;
    std::vector<int> StyleImages, ClassImages;
    HICON Icon = nullptr;
};

TShown Show(const orvex::TWindowInfo& window, const char* screenshot = nullptr) {
    TShown s;
    TDialogProbe probe("Window Details", [&](HWND d) {
        s.Caption = WindowText(d);
        s.Name = WindowText(GetDlgItem(d, orvex::IdDetailsName));
        const HWND pages = GetDlgItem(d, orvex::IdDetailsPages);
        s.Tabs = orvex::test::TabCaptions(pages);
        s.ActiveTab = orvex::test::ActiveTabCaption(pages);
        s.General = ListRows(GetDlgItem(d, orvex::IdWinGenList));
        const HWND styles = GetDlgItem(d, orvex::IdWinSList);
        const HWND classInfo = GetDlgItem(d, orvex::IdWinCIList);
        s.Styles = ListRows(styles);
        s.ClassInfo = ListRows(classInfo);
        for (std::size_t i = 0; i < s.Styles.size(); ++i)
            s.StyleImages.push_back(orvex::test::ListRowImage(styles, int(i)));
        for (std::size_t i = 0; i < s.ClassInfo.size(); ++i)
            s.ClassImages.push_back(orvex::test::ListRowImage(classInfo, int(i)));
        s.Icon = orvex::test::ShownIcon(GetDlgItem(d, orvex::IdDetailsIcon));
        if (screenshot) {
            orvex::test::SaveScreenshot(d, std::string(screenshot) + "_general");
            orvex::test::SelectTab(d, pages, " Styles ");
            orvex::test::SaveScreenshot(d, std::string(screenshot) + "_styles");
            orvex::test::SelectTab(d, pages, " Class Info ");
            orvex::test::SaveScreenshot(d, std::string(screenshot) + "_classinfo");
        }
    });
    orvex::ShowWindowDetails(nullptr, window);
    EXPECT_TRUE(probe.Finish());
    return s;
}

bool FindWindowRecord(orvex::TOrvex_ProcessList& list, unsigned long long handle, orvex::TWindowInfo& out) {
    const int index = list.FindWindow(static_cast<std::uintptr_t>(handle));
    if (index < 0) return false;
    list.GetWindow(static_cast<std::uint32_t>(index), out);
    return true;
}

TEST(WinDetails, TheHelpersMainWindow) {
    orvex::test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    ASSERT_TRUE(helper.hasWindow());
    orvex::TOrvex_ProcessList list;
    list.DetectionRange = orvex::TDetectionRange{orvex::dtWindows};
    list.RefreshData();
    orvex::TWindowInfo w;
    ASSERT_TRUE(FindWindowRecord(list, helper.hex("hwnd"), w));
    const TShown s = Show(w, "window_details");

    EXPECT_EQ(s.Caption, "Window Details");
    EXPECT_EQ(s.Name, "\"Orvex Test Helper\": OrvexTestHelperWnd");
    EXPECT_EQ(s.Tabs, (Strings{" General ", " Styles ", " Class Info "}));
    EXPECT_EQ(s.ActiveTab, " General ");

    const HWND hwnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(helper.hex("hwnd")));
    RECT r{};
    GetWindowRect(hwnd, &r);
    char rect[128];
    std::snprintf(rect, sizeof rect, "(%ld,%ld)-(%ld,%ld), %ldx%ld", r.left, r.top, r.right, r.bottom, r.right - r.left,
                  r.bottom - r.top);
    EXPECT_EQ(Value(s.General, "Handle"), Hex0x(helper.hex("hwnd")));
    EXPECT_EQ(Value(s.General, "Text"), "Orvex Test Helper");
    EXPECT_EQ(Value(s.General, "Process"), std::to_string(helper.pid()));
    EXPECT_EQ(Value(s.General, "Thread"), helper.value("tid"));
    EXPECT_EQ(Value(s.General, "Parent Windows"), "0x0");
    EXPECT_EQ(Value(s.General, "Rectangle"), rect);
    EXPECT_EQ(Value(s.General, "Client Rectangle").rfind("(0,0)-(", 0), 0u) << Value(s.General, "Client Rectangle");
    EXPECT_EQ(s.General.size(), 12u);

    // Styles: every listed name carries a ticked check box.
    EXPECT_EQ(Value(s.Styles, "Styles"), Hex0x(static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE))));
    EXPECT_EQ(s.StyleImages.front(), orvex::rsHeading);
    bool visibleListed = false;
    for (std::size_t i = 1; i < s.Styles.size() && s.StyleImages[i] != orvex::rsSeparator; ++i) {
        EXPECT_EQ(s.StyleImages[i], orvex::rsCheckBox) << s.Styles[i][0];
        EXPECT_EQ(s.Styles[i][1], "1");
        visibleListed = visibleListed || s.Styles[i][0] == "WS_VISIBLE";
    }
    EXPECT_TRUE(visibleListed);
    EXPECT_EQ(Value(s.Styles, "Extra Styles"), Hex0x(static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE))));

    EXPECT_EQ(Value(s.ClassInfo, "Class Name"), "OrvexTestHelperWnd");
    EXPECT_EQ(Value(s.ClassInfo, "Class Styles"), "0xB");  // CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS
    Strings classNames;
    for (std::size_t i = 0; i < s.ClassInfo.size(); ++i)
        if (s.ClassImages[i] == orvex::rsCheckBox) classNames.push_back(s.ClassInfo[i][0]);
    EXPECT_EQ(classNames, (Strings{"CS_VREDRAW", "CS_HREDRAW", "CS_DBLCLKS"}));
}

// A window of a hung process: the refresh and the dialog finish, showing the
// record as the walk took it (the text as the system keeps it, or none).
TEST(WinDetails, HungProcesssWindowShowsWithoutWaiting) {
    orvex::test::THelperProcess helper("--hang");
    ASSERT_TRUE(helper.started());
    ASSERT_TRUE(helper.hasWindow());
    orvex::THandle resume(OpenEventA(EVENT_MODIFY_STATE, FALSE, helper.value("resume").c_str()));
    ASSERT_TRUE(resume);
    orvex::TWindowInfo w;
    TShown s;
    bool found = false;
    orvex::test::TTestThread ui([&] {
        orvex::TOrvex_ProcessList list;
        list.DetectionRange = orvex::TDetectionRange{orvex::dtWindows};
        list.RefreshData();
        found = FindWindowRecord(list, helper.hex("hwnd"), w);
        if (found) s = Show(w);
    });
    const bool finished = ui.finished(40000);
    SetEvent(resume.get());
    ui.join();
    ASSERT_TRUE(finished) << "the refresh or the dialog waited on the hung window";
    ASSERT_TRUE(found);
    EXPECT_EQ(Value(s.General, "Handle"), Hex0x(helper.hex("hwnd")));
    EXPECT_EQ(Value(s.General, "Text"), w.Text.str());
    EXPECT_TRUE(w.Text == "Orvex Test Helper" || w.Text.empty()) << w.Text.str();
    EXPECT_EQ(Value(s.ClassInfo, "Class Name"), "OrvexTestHelperWnd");
}

LRESULT CALLBACK PlainWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd, msg, wp, lp); }

TEST(WinDetails, OwnWindowsClassIconIsShownAndLeftIntact) {
    orvex::TIcon icon(CopyIcon(LoadIcon(nullptr, IDI_WARNING)));
    ASSERT_TRUE(icon);
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = icon.get();
    wc.lpszClassName = "OrvexWinDetailsIconTest";
    ASSERT_TRUE(RegisterClassA(&wc));
    orvex::TWindowHandle window(CreateWindowExA(0, wc.lpszClassName, "Icon owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                                nullptr, nullptr, wc.hInstance, nullptr));
    ASSERT_TRUE(window);
    orvex::TOrvex_ProcessList list;
    list.DetectionRange = orvex::TDetectionRange{orvex::dtWindows};
    list.RefreshData();
    orvex::TWindowInfo w;
    ASSERT_TRUE(FindWindowRecord(list, reinterpret_cast<std::uintptr_t>(window.get()), w));
    EXPECT_EQ(w.Icon, reinterpret_cast<std::uintptr_t>(icon.get()));
    EXPECT_FALSE(w.Visible);

    const TShown s = Show(w);
    EXPECT_EQ(s.Icon, icon.get());
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));  // still a valid icon
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    EXPECT_EQ(Value(s.ClassInfo, "Icon Handle"), Hex0x(reinterpret_cast<std::uintptr_t>(icon.get())));

    window.reset();
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

TEST(WinDetails, RecordWithoutIconOrExtendedStyle) {
    orvex::TWindowInfo w;
    w.Handle = 0x1234;
    w.ClassName = "Static";
    w.Text = "gone";
    w.ProcessID = 77;
    w.ThreadID = 78;
    w.Rect = {10, 20, 110, 70};
    w.ClientRect = {0, 0, 100, 50};
    w.Style = 0x50000000;
    w.StyleNames = {"WS_CHILD", "WS_VISIBLE"};
    const TShown s = Show(w);
    EXPECT_EQ(s.Name, "\"gone\": Static");
    EXPECT_EQ(s.Icon, LoadIcon(nullptr, IDI_APPLICATION));
    EXPECT_EQ(Value(s.General, "Rectangle"), "(10,20)-(110,70), 100x50");
    EXPECT_EQ(Value(s.General, "Client Rectangle"), "(0,0)-(100,50), 100x50");
    EXPECT_EQ(s.Styles, (Rows{{"Styles", "0x50000000"},
                              {"WS_CHILD", "1"},
                              {"WS_VISIBLE", "1"},
                              {"", ""},
                              {"Extra Styles", "0x0"}}));
    EXPECT_EQ(s.StyleImages, (std::vector<int>{orvex::rsHeading, orvex::rsCheckBox, orvex::rsCheckBox,
                                               orvex::rsSeparator, orvex::rsHeading}));
    EXPECT_EQ(Value(s.ClassInfo, "Class Styles"), "0x0");
    EXPECT_EQ(s.ClassInfo.size(), 12u);  // no name rows
}

TEST(Win98WinDetails, ProcessAndThreadInPrefixedHexadecimal) {
    orvex::TWindowInfo w;
    w.Handle = 0x40;
    w.ProcessID = 0xFFFD3A5B;
    w.ThreadID = 0xFFFD1111;
    const TShown s = Show(w);
    EXPECT_EQ(Value(s.General, "Process"), "0xFFFD3A5B");
    EXPECT_EQ(Value(s.General, "Thread"), "0xFFFD1111");
}

}  // namespace
