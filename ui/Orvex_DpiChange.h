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

// Gives every direct child of window that uses font a copy of it scaled
// from one DPI to another, which owner then holds (its former font, if it
// held font, is released once no child uses it). Nothing changes when font
// tells nothing.
void ScaleChildFont(HWND window, HFONT font, int fromDpi, int toDpi, TFont& owner);

// Scales window's direct children (places and sizes), the column widths of
// its list views and the places anchors holds from one DPI to another, then
// gives window the suggested rectangle (WM_DPICHANGED's).
void ApplyDpiChange(HWND window, int fromDpi, int toDpi, const RECT& suggested, TAnchorLayout& anchors);

}  // namespace orvex
