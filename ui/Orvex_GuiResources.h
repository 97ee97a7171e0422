// Owners of user-interface resources: menus, accelerator tables, image lists,
// the hourglass cursor and suspended repainting. Each gives back what it
// holds exactly once.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/Orvex_ComCtl32.h"
#include "platform/Orvex_Resources.h"

namespace orvex {

// A menu that belongs to no window (a window destroys the menu bar it holds).
using TMenu = TNullOwned<HMENU, &::DestroyMenu>;

using TAccelTable = TNullOwned<HACCEL, &::DestroyAcceleratorTable>;

using TImageList = TNullOwned<HIMAGELIST, &orvex::ImageList_Destroy>;

// A window destroyed when the owner goes out of scope (for windows without a
// C++ object of their own).
using TWindowHandle = TNullOwned<HWND, &::DestroyWindow>;

// A device context obtained with GetDC, released to its window.
class TWindowDC {
public:
    explicit TWindowDC(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    ~TWindowDC() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A memory device context.
using TMemoryDC = TNullOwned<HDC, &::DeleteDC>;

// Selects a GDI object into a device context and selects the previous one
// back when it goes out of scope.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(::SelectObject(dc, obj)) {}
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;
    ~TSelectObject() {
        if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Shows the hourglass until it goes out of scope, then the cursor found.
class TBusyCursor {
public:
    TBusyCursor() noexcept : old_(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {}
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
    ~TBusyCursor() { ::SetCursor(old_ ? old_ : ::LoadCursor(nullptr, IDC_ARROW)); }

private:
    HCURSOR old_;
};

// Suspends a control's repainting until it goes out of scope. A list view
// keeps its layout up to date with every row added while it may paint,
// hidden or not; with painting off it does that once, at the end. The
// system's own handling of the message marks a hidden window visible when
// painting is turned on again: a control that was hidden stays hidden.
class TRedrawLock {
public:
    explicit TRedrawLock(HWND hwnd) noexcept : hwnd_(hwnd), hidden_(!(StyleOf(hwnd) & WS_VISIBLE)) {
        ::SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
    }
    TRedrawLock(const TRedrawLock&) = delete;
    TRedrawLock& operator=(const TRedrawLock&) = delete;
    ~TRedrawLock() {
        ::SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
        if (!hidden_)
            ::InvalidateRect(hwnd_, nullptr, TRUE);
        else if (const LONG_PTR style = StyleOf(hwnd_); style & WS_VISIBLE)
            ::SetWindowLongPtrA(hwnd_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
    }

private:
    static LONG_PTR StyleOf(HWND hwnd) noexcept { return ::GetWindowLongPtrA(hwnd, GWL_STYLE); }

    HWND hwnd_;
    bool hidden_;
};

}  // namespace orvex
