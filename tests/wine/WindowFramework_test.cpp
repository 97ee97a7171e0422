// The window framework: trampolines that turn exceptions into the error
// report, declared controls with anchors, dialogs from declared layouts and
// the routing of queued keys to a window's accelerators.
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

#include "tests/wine/support/GuiDriver.h"
#include "ui/Orvex_Application.h"
#include "ui/Orvex_GuiResources.h"
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
    bool PreTranslateMessage(MSG& msg) override {
        return ::TranslateAcceleratorA(Handle(), accel_.get(), &msg) != 0;
    }

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
