// Driving the modal details dialogs from a second thread: the test thread
// runs the dialog's modal loop while a probe thread waits for the dialog,
// reads its controls, presses its buttons and finally ends it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/wine/support/TestThread.h"

namespace orvex::test {

// Polls Done every few milliseconds (on a thread that owns no windows).
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// The first visible dialog titled Caption of the thread ThreadId, other than
// Except; null when none came within TimeoutMs.
HWND WaitForDialog(DWORD threadId, const std::string& caption, DWORD timeoutMs, HWND except = nullptr);

// Runs Script against the dialog titled Caption that the constructing thread
// shows next, then ends that dialog with the close box when it is still open.
class TDialogProbe {
public:
    using TScript = std::function<void(HWND dialog)>;
    TDialogProbe(std::string caption, TScript script, DWORD timeoutMs = 30000);
    ~TDialogProbe();
    TDialogProbe(const TDialogProbe&) = delete;
    TDialogProbe& operator=(const TDialogProbe&) = delete;

    // Waits for the probe thread; true when the dialog came and the script ran.
    bool Finish();

private:
    std::string caption_;
    TScript script_;
    DWORD timeoutMs_;
    DWORD threadId_;
    bool ran_ = false;
    TTestThread worker_;
};

// Presses a button of a dialog the way a click does, without waiting for
// what the click starts.
void PostClick(HWND dialog, int id);
// Presses it and waits until its handler has run.
void SendClick(HWND dialog, int id);

// The page control's active caption.
std::string ActiveTabCaption(HWND tabs);
// Makes the page of that caption active, as a click on its tab does.
bool SelectTab(HWND dialog, HWND tabs, const std::string& caption);

// A list row's style: the image index it carries.
int ListRowImage(HWND list, int row);
std::vector<int> ListColumnWidths(HWND list);

// Tree nodes in display order (depth first).
struct TTreeNodeView {
    HTREEITEM Item = nullptr;
    std::string Text;
    int Depth = 0;
    int Image = -1;
    int SelectedImage = -1;
    int ChildrenMark = 0;  // the node's has-children mark
    LPARAM Data = 0;
};
std::vector<TTreeNodeView> TreeNodes(HWND tree);
// Expands or collapses a node with the keyboard, as a user does.
void ExpandByKey(HWND tree, HTREEITEM node);
void CollapseByKey(HWND tree, HTREEITEM node);

// Watches the process's dialogs for Ms milliseconds and closes every one not
// titled Keep (the shell's come from threads of its own), then waits until
// they are gone. The titles of the dialogs it closed.
std::vector<std::string> CloseOtherDialogs(const std::string& keep, DWORD ms);

// The icon an icon image shows.
HICON ShownIcon(HWND image);

// Saves what the screen shows of a window as a 24-bit BMP file into the
// directory named by ORVEX_SCREENSHOT_DIR, when that is set.
void SaveScreenshot(HWND window, const std::string& name);

}  // namespace orvex::test
