// Driving real windows of the test process: answering modal dialogs and
// message boxes from a helper thread, reading list views, tab captions and
// status bars, clicking column headers, pressing keys and pumping messages.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/wine/support/TestThread.h"

namespace orvex::test {

std::string WindowText(HWND hwnd);
std::string ClassNameOf(HWND hwnd);
// The top-level window of class ClassName that process Pid owns; null when none.
HWND WindowOfProcess(DWORD pid, const char* className);
// Waits up to about 30 s for that window to be visible; null when it is not.
HWND AwaitVisibleWindow(DWORD pid, const char* className);

// Processes this thread's queued messages (through the program's routing,
// accelerators included) for about Ms milliseconds.
void PumpMessages(DWORD ms);
// Pumps until Done returns true or TimeoutMs pass; the last value of Done.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// How to answer one dialog: optionally type EditText into its edit field
// (the control EditId, or the first edit control found when EditId is 0),
// then press the button ButtonId.
struct TDialogAnswer {
    int ButtonId = IDOK;
    std::string EditText;
    bool TypeText = false;
    int EditId = 0;
};

inline TDialogAnswer Press(int button) { return {button, {}, false, 0}; }
inline TDialogAnswer TypeAndPress(const std::string& text, int button = IDOK, int editId = 0) {
    return {button, text, true, editId};
}

// What a dialog showed when it was answered.
struct TSeenDialog {
    std::string Title;
    HWND Owner = nullptr;
    std::string Text;            // its static texts, one per line
    std::vector<int> ButtonIds;  // its push buttons
    std::vector<std::string> ButtonTexts;
    std::vector<std::string> ComboItems;  // the entries of its combo boxes
};

// A thread identifier that stands for every thread of the test process.
inline constexpr DWORD AnyThread = 0;

// Answers the next dialogs (windows of the dialog class, message boxes and
// property sheets included) that the thread ThreadId shows, one after the
// other, from a thread of its own. Stops after the last answer or when no
// dialog came within TimeoutMs.
class TDialogAnswerer {
public:
    explicit TDialogAnswerer(std::vector<TDialogAnswer> answers, DWORD threadId = ::GetCurrentThreadId(),
                             DWORD timeoutMs = 15000);
    ~TDialogAnswerer();
    TDialogAnswerer(const TDialogAnswerer&) = delete;
    TDialogAnswerer& operator=(const TDialogAnswerer&) = delete;

    // Waits for the thread to finish; true when every answer was given.
    bool Finish();
    std::vector<TSeenDialog> Seen();

private:
    void Run();
    std::vector<TDialogAnswer> answers_;
    DWORD threadId_;
    DWORD timeoutMs_;
    TCriticalSection lock_;
    std::vector<TSeenDialog> seen_;
    bool stop_ = false;
    TTestThread worker_;
};

// The visible dialog windows of a thread (AnyThread: of the process).
std::vector<HWND> ThreadDialogs(DWORD threadId);

// List views.
std::vector<std::string> ListHeaders(HWND list);
std::vector<std::string> ListRow(HWND list, int row);
std::vector<std::vector<std::string>> ListRows(HWND list);
std::vector<std::string> ListColumn(HWND list, int column);
int FindListRow(HWND list, int column, const std::string& text);
void SelectListRow(HWND list, int row);
// A double click on a row, as the mouse gives it.
void DoubleClickRow(HWND list, int row);
// Clicks the header of Column with the mouse messages a user's click sends.
void ClickColumnHeader(HWND list, int column);

std::vector<std::string> TabCaptions(HWND tab);
// Clicks tab Index with the mouse messages a user's click sends.
void ClickTab(HWND tab, int index);

// Captions of a window's menu bar, and of the entries of its drop-down menu
// of that caption ("" for a separator).
std::vector<std::string> MenuBarCaptions(HWND window);
std::vector<std::string> MenuItemCaptions(HWND window, const std::string& menuCaption);
std::vector<std::string> StatusTexts(HWND statusBar);

// Posts the key's press and release to Hwnd (pump to deliver them).
void PostKey(HWND hwnd, UINT vk);
// Sends the menu or button command Id to Hwnd.
void SendCommand(HWND hwnd, int id);

// Paints what is waiting to be painted in Hwnd and its children and lets the
// screen catch up (bounded message pumping).
void PaintNow(HWND hwnd);
// What the screen shows in Rect (screen coordinates), read back from the
// screen's device context: one 0x00RRGGBB value per pixel, rows from the top;
// empty when the screen could not be read.
std::vector<std::uint32_t> ScreenPixels(const RECT& rect);
// The screen rectangle of a window.
RECT ScreenRect(HWND hwnd);

}  // namespace orvex::test
