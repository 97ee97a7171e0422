// Windows that move to a screen of another DPI (WM_DPICHANGED, sent to
// per-monitor aware programs on Windows 8.1 and later) scale what they
// placed: their controls, list columns and fonts.
#pragma once

#include <windows.h>

#include "platform/Orvex_Resources.h"
#include "ui/Orvex_Layout.h"

namespace orvex {

// WM_DPICHANGED (Windows 8.1 and later): the new DPI in wParam's high word,
// the suggested window rectangle at lParam.
inline constexpr UINT WmDpiChanged = 0x02E0;

// A font like font with its height scaled from one DPI to another; empty
// when font tells nothing.
TFont FontAtDpi(HFONT font, int fromDpi, int toDpi);

// Gives every direct child of window that uses font the replacement.
void ReplaceChildFont(HWND window, HFONT font, HFONT replacement);

// Scales window's direct children (places and sizes), the column widths of
// its list views and the places anchors holds from one DPI to another, then
// gives window the suggested rectangle (WM_DPICHANGED's).
void ApplyDpiChange(HWND window, int fromDpi, int toDpi, const RECT& suggested, TAnchorLayout& anchors);

}  // namespace orvex
