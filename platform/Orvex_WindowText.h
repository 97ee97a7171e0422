// The text of a window, read without waiting on another thread's message
// loop: a window of a hung program must not stop the walk of the window tree.
#pragma once

#include <windows.h>

#include <optional>
#include <set>
#include <string>

namespace orvex {

// How long one WM_GETTEXT request may wait for a window of another thread
// (the form used where the system keeps no text that can be read directly).
inline constexpr UINT WindowTextWaitMs = 100;
// At most this many characters of a window's text are read.
inline constexpr int WindowTextCapacity = 255;

// Whether InternalGetWindowText (the NT family's read of the text the system
// keeps for a window, which sends no message) is bound.
bool InternalWindowTextBound() noexcept;

// The stored text of any window through InternalGetWindowText, in the ANSI
// code page; nullopt when the function is not bound or the window is gone.
std::optional<std::string> ReadStoredWindowText(HWND handle);

// The text through WM_GETTEXT, giving up at once on a thread that looks hung
// and after TimeoutMs otherwise; nullopt when the window did not answer.
std::optional<std::string> SendForWindowText(HWND handle, UINT timeoutMs);

// Reads the texts of the windows of one walk of the window tree. A window of
// the calling thread is asked directly (its window procedure runs on this
// thread). Any other window gives the text the system keeps for it, where
// that can be read (NT family); elsewhere (Windows 95, 98, Me) it is asked
// with a time-out, and a thread that let one request time out is not asked
// again in the same walk: its windows' texts stay empty.
class TWindowTextReader {
public:
    enum class TSource { Stored, Message };
    // The stored text where it can be read, messages otherwise.
    TWindowTextReader() : source_(InternalWindowTextBound() ? TSource::Stored : TSource::Message) {}
    explicit TWindowTextReader(TSource source) : source_(source) {}

    std::string Read(HWND handle, DWORD threadId);

private:
    TSource source_;
    std::set<DWORD> silentThreads_;
};

}  // namespace orvex
