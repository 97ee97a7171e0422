// The window framework: every window and dialog of the program is a C++
// object whose window procedure is one static trampoline per kind. The
// trampoline forwards each message to the object's one message method and
// catches every exception, which it shows as the application's error report;
// no exception leaves a window procedure.
#pragma once

#include <windows.h>

#include <climits>
#include <span>
#include <string>
#include <vector>

#include "ui/Orvex_Layout.h"

namespace orvex {

// A window class of the program.
struct TWindowClassDecl {
    const char* Name = "";
    UINT Style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    int Background = COLOR_BTNFACE + 1;  // a system colour index plus one
    LPCSTR Icon = nullptr;               // resource of the program's module, or none
};

class TWindow {
public:
    TWindow() = default;
    virtual ~TWindow();
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    HWND Handle() const noexcept { return hwnd_; }

    // Gives the window a first look at a message taken from the queue for it
    // or one of its controls (accelerators); true when it used the message.
    virtual bool PreTranslateMessage(MSG& msg);

    // The object of a window created by this framework, or null.
    static TWindow* FromHandle(HWND hwnd) noexcept;

protected:
    // X or Y for a window centred on the screen's work area.
    static constexpr int Centered = -0x7FFFFFFF;

    // Registers the class (once per process) and creates the window with a
    // client area of Width by Height (and the menu bar Menu, if any).
    void Create(const TWindowClassDecl& cls, const char* caption, DWORD style, DWORD exStyle, int x, int y, int width,
                int height, HWND parent, HMENU menu = nullptr);

    // The one method every message of the window goes to.
    virtual LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;

    // The system's default handling of a message.
    LRESULT DefaultMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept;

    // Destroys the window while the derived object still handles its last
    // messages; derived destructors call it.
    void DestroyHandle() noexcept;

private:
    static LRESULT CALLBACK Trampoline(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// A dialog laid out by a declared table (dialog units) or by a resource
// template of the program, shown modally.
struct TDialogLayout {
    const char* Caption = "";
    TLayoutRect Rect;  // dialog units; X and Y are ignored for centred dialogs
    DWORD Style = DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const char* FontName = "MS Shell Dlg";
    WORD FontSize = 8;
    std::span<const TControlDecl> Controls;
};

// The in-memory dialog template of a declared layout (DLGTEMPLATE with its
// items), DWORD-aligned.
std::vector<DWORD> BuildDialogTemplate(const TDialogLayout& layout);

class TDialog {
public:
    TDialog() = default;
    virtual ~TDialog() = default;
    TDialog(const TDialog&) = delete;
    TDialog& operator=(const TDialog&) = delete;

    HWND Handle() const noexcept { return hwnd_; }

protected:
    // Run the dialog modally; the result is what it ended with, -1 when it
    // could not be created.
    INT_PTR ShowModal(HWND owner, const TDialogLayout& layout);
    INT_PTR ShowModal(HWND owner, HINSTANCE instance, LPCSTR templateName);

    // The one method every message of the dialog goes to, with the meaning
    // of a dialog procedure's result.
    virtual INT_PTR DialogMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;

private:
    static INT_PTR CALLBACK Trampoline(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// Hands a queued message to its top-level window's PreTranslateMessage
// and otherwise translates and dispatches it.
void ProcessQueuedMessage(MSG& msg);

// Processes queued messages until WM_QUIT; returns its exit code.
int RunMessageLoop();

// Processes the messages queued now, without waiting; false after WM_QUIT
// (which is posted again for the outer loop).
bool ProcessPendingMessages();

}  // namespace orvex
