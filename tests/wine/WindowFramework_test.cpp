// The window framework: trampolines that turn exceptions into the error
// report, declared controls with anchors, dialogs from declared layouts, the
// routing of queued keys to a window's accelerators, the error of a failed
// creation and tabs that stand for pages.
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/wine/support/GuiDriver.h"
#include "ui/Orvex_Application.h"
#include "ui/Orvex_GuiResources.h"
#include "ui/Orvex_SystemError.h"
#include "ui/Orvex_TabPages.h"
#include "ui/Orvex_Window.h"

namespace {

using orvex::test::Press;
using orvex::test::TDialogAnswerer;

constexpr UINT WmThrowStd = WM_APP + 1;
constexpr UINT WmThrowOther = WM_APP + 2;
constexpr int EditId = 10, ButtonId = 11, CommandId = 500;

constexpr std::array<orvex::TControlDecl, 2> Controls{{
    {EditId, "EDIT", "stretch", {10, 10, 180, 20}, WS_BORDER, 0, orvex::akLeft | orvex::akTop | orvex::akRight},
    {ButtonId, "BUTTON", "corner", {115, 160, 75, 25}, BS_PUSHBUTTON, 0, orvex::akBottomRight, true},
}};

const orvex::TWindowClassDecl TestClass{"OrvexTestFrameworkWnd"};

class TTestWindow : public orvex::TWindow {
public:
    TTestWindow() {
        ACCEL f5{FVIRTKEY, VK_F5, CommandId};
        accel_.reset(::CreateAcceleratorTableA(&f5, 1));
        Create(TestClass, "Framework test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 30, 30, 200, 200, nullptr);
    }
    ~TTestWindow() override { DestroyHandle(); }
    int commands = 0;
    int created = 0;
    bool PreTranslateMessage(MSG& msg) override { return ::TranslateAcceleratorA(Handle(), accel_.get(), &msg) != 0; }

protected:
    LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_CREATE:
            ++created;
            orvex::CreateDeclaredControls(Handle(), Controls, nullptr, {0, 0}, anchors_);
            return 0;
        case WM_SIZE:
            anchors_.Apply(LOWORD(lp), HIWORD(lp));
            return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == CommandId) ++commands;
            return 0;
        case WmThrowStd:
            throw std::runtime_error("Failure inside a handler.");
        case WmThrowOther:
            throw 42;
        default:
            return DefaultMessage(msg, wp, lp);
        }
    }

private:
    orvex::TAnchorLayout anchors_;
    orvex::TAccelTable accel_;
};

RECT ChildRect(HWND parent, int id) {
    RECT r{};
    HWND child = GetDlgItem(parent, id);
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(WindowFramework, ExceptionInAMethodReachesTheErrorReport) {
    TTestWindow window;
    ASSERT_EQ(window.created, 1);
    TDialogAnswerer driver({Press(IDOK)});
    EXPECT_EQ(SendMessageA(window.Handle(), WmThrowStd, 0, 0), 0);
    ASSERT_TRUE(driver.Finish());
    const auto seen = driver.Seen().at(0);
    EXPECT_EQ(seen.Text, "Failure inside a handler.");
    EXPECT_EQ(seen.Title, orvex::ApplicationTitle());
    EXPECT_EQ(seen.Owner, window.Handle());
    EXPECT_TRUE(IsWindow(window.Handle()));  // the window goes on
}

TEST(WindowFramework, UnknownExceptionsAreReportedToo) {
    TTestWindow window;
    TDialogAnswerer driver({Press(IDOK)});
    SendMessageA(window.Handle(), WmThrowOther, 0, 0);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(driver.Seen().at(0).Text, orvex::UnknownErrorText);
}

TEST(WindowFramework, ObjectFoundFromItsHandleUntilDestroyed) {
    auto window = std::make_unique<TTestWindow>();
    const HWND hwnd = window->Handle();
    EXPECT_EQ(orvex::TWindow::FromHandle(hwnd), window.get());
    EXPECT_EQ(orvex::TWindow::FromHandle(GetDlgItem(hwnd, EditId)), nullptr);
    window.reset();
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(WindowFramework, DeclaredControlsFollowTheirAnchors) {
    TTestWindow window;
    const HWND hwnd = window.Handle();
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(orvex::test::WindowText(GetDlgItem(hwnd, EditId)), "stretch");
    RECT outer{};
    GetWindowRect(hwnd, &outer);
    SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left + 100, outer.bottom - outer.top + 50,
                 SWP_NOMOVE | SWP_NOZORDER);
    const RECT edit = ChildRect(hwnd, EditId);
    EXPECT_EQ(edit.left, 10);
    EXPECT_EQ(edit.right, 290);
    EXPECT_EQ(edit.top, 10);
    const RECT button = ChildRect(hwnd, ButtonId);
    EXPECT_EQ(button.left, 215);
    EXPECT_EQ(button.top, 210);
    EXPECT_EQ(button.right - button.left, 75);
}

TEST(WindowFramework, QueuedKeysReachTheWindowsAccelerators) {
    TTestWindow window;
    orvex::test::PostKey(GetDlgItem(window.Handle(), EditId), VK_F5);
    EXPECT_TRUE(orvex::test::PumpUntil([&] { return window.commands == 1; }, 2000));
}

// A window the system refuses to create: a child of a window that is gone.
class TOrphanWindow : public orvex::TWindow {
public:
    explicit TOrphanWindow(HWND parent) { Create(TestClass, "Orphan", WS_CHILD, 0, 0, 0, 10, 10, parent); }

protected:
    LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp) override { return DefaultMessage(msg, wp, lp); }
};

TEST(WindowFramework, FailedCreationCarriesTheSystemError) {
    HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    try {
        TOrphanWindow orphan(gone);
        ADD_FAILURE() << "a child of a destroyed window was created";
    } catch (const orvex::TSystemError& e) {
        EXPECT_EQ(e.ErrorCode(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
        const std::string text = e.what();
        EXPECT_EQ(text.rfind("Cannot create the window Orphan. ", 0), 0u) << text;
        EXPECT_NE(text.find("(error 1400)"), std::string::npos) << text;
    }
}

TEST(WindowFramework, TabsStandForTheirPagesWhenSomeAreLeftOut) {
    TTestWindow window;
    orvex::TWindowHandle tabs(CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 0, 0, 180, 100,
                                              window.Handle(), nullptr, nullptr, nullptr));
    ASSERT_TRUE(tabs);
    const HWND t = tabs.get();
    // Pages 0, 2 and 3; page 1 has no tab.
    orvex::InsertPageTab(t, 0, 0, "Zero");
    orvex::InsertPageTab(t, 1, 2, "Two");
    orvex::InsertPageTab(t, 2, 3, "Three");
    EXPECT_EQ(TabCtrl_GetItemCount(t), 3);
    EXPECT_EQ(orvex::PageOfTab(t, 1), 2);
    EXPECT_EQ(orvex::PageOfTab(t, 3), -1);
    EXPECT_EQ(orvex::PageOfTab(t, -1), -1);

    EXPECT_TRUE(orvex::SelectPage(t, 3));
    EXPECT_EQ(TabCtrl_GetCurSel(t), 2);
    EXPECT_EQ(orvex::SelectedPage(t), 3);
    EXPECT_FALSE(orvex::SelectPage(t, 1));
    EXPECT_EQ(orvex::SelectedPage(t), 3) << "a page without a tab leaves the selection";

    orvex::SetPageTabCaption(t, 2, "Two (5)");
    orvex::SetPageTabCaption(t, 1, "One (1)");  // no tab: nothing changes
    std::vector<std::string> captions;
    for (int i = 0; i < TabCtrl_GetItemCount(t); ++i) {
        char text[32] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(t, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        captions.emplace_back(text);
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"Zero", "Two (5)", "Three"}));
    EXPECT_EQ(orvex::PageOfTab(t, 1), 2) << "a new caption keeps the tab's page";

    TabCtrl_DeleteAllItems(t);
    EXPECT_EQ(orvex::SelectedPage(t), -1);
}

constexpr std::array<orvex::TControlDecl, 3> DialogControls{{
    {100, "STATIC", "Declared label", {5, 5, 100, 9}, SS_LEFT},
    {IDOK, "BUTTON", "OK", {5, 20, 50, 14}, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDCANCEL, "BUTTON", "Cancel", {60, 20, 50, 14}, BS_PUSHBUTTON | WS_TABSTOP},
}};

class TTestDialog : public orvex::TDialog {
public:
    INT_PTR Run() {
        orvex::TDialogLayout layout;
        layout.Caption = "Declared dialog";
        layout.Rect = {0, 0, 120, 40};
        layout.Controls = DialogControls;
        return ShowModal(nullptr, layout);
    }
    bool throwOnOk = false;
    int initialised = 0;

protected:
    INT_PTR DialogMessage(UINT msg, WPARAM wp, LPARAM) override {
        if (msg == WM_INITDIALOG) {
            ++initialised;
            return TRUE;
        }
        if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
            if (LOWORD(wp) == IDOK && throwOnOk) {
                throwOnOk = false;
                throw std::runtime_error("Dialog method failed.");
            }
            EndDialog(Handle(), LOWORD(wp));
            return TRUE;
        }
        return FALSE;
    }
};

TEST(WindowFramework, DialogFromDeclaredLayout) {
    TTestDialog dialog;
    TDialogAnswerer driver({Press(IDCANCEL)});
    EXPECT_EQ(dialog.Run(), IDCANCEL);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(dialog.initialised, 1);
    const auto seen = driver.Seen().at(0);
    EXPECT_EQ(seen.Title, "Declared dialog");
    EXPECT_EQ(seen.Text, "Declared label");
    EXPECT_EQ(seen.ButtonTexts, (std::vector<std::string>{"OK", "Cancel"}));
}

TEST(WindowFramework, ExceptionInADialogMethodIsReportedAndTheDialogGoesOn) {
    TTestDialog dialog;
    dialog.throwOnOk = true;
    // OK throws (the report is answered), then OK again ends the dialog.
    TDialogAnswerer driver({Press(IDOK), Press(IDOK), Press(IDOK)});
    EXPECT_EQ(dialog.Run(), IDOK);
    ASSERT_TRUE(driver.Finish());
    const auto seen = driver.Seen();
    EXPECT_EQ(seen.at(1).Text, "Dialog method failed.");
    EXPECT_EQ(seen.at(1).Title, orvex::ApplicationTitle());
}

}  // namespace
