// The dots per inch windows are drawn at. The program declares itself
// DPI-aware in its manifest: per monitor (version 2) on Windows 10 1607 and
// later, for the system's DPI on Vista and later. The per-monitor functions
// are bound at run time; without them every window has the system's DPI.
#pragma once

#include <windows.h>

namespace orvex {

// The system's DPI (the primary screen's at logon): GetDpiForSystem where
// it exists, the screen's LOGPIXELSY otherwise; 96 when neither answers.
int SystemDpi() noexcept;
// The DPI of the monitor a window is on where the system tells it per
// window (GetDpiForWindow), the system's otherwise.
int DpiOfWindow(HWND window) noexcept;
// Keeps the dialog manager of Windows 10 1703 and later from scaling a
// dialog and its controls on a DPI change itself: the dialog does it
// (nothing happens where the function does not exist).
void KeepDialogLayoutOnDpiChange(HWND dialog) noexcept;

}  // namespace orvex
