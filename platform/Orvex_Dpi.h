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
// The outer size of a window whose client area is clientWidth by
// clientHeight at dpi, for its styles (and menu).
SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool menu, int dpi) noexcept;

}  // namespace orvex
