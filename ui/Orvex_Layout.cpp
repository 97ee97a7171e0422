#include "ui/Orvex_Layout.h"

namespace orvex {

void TAnchorLayout::Add(HWND control, const RECT& rect, int parentWidth, int parentHeight, unsigned anchors) {
    if (control) entries_.push_back({control, rect, parentWidth, parentHeight, anchors});
}

void TAnchorLayout::Apply(int parentWidth, int parentHeight) const {
    if (entries_.empty()) return;
    HDWP defer = ::BeginDeferWindowPos(static_cast<int>(entries_.size()));
    for (const TEntry& e : entries_) {
        const TPixelRect r = AnchorPlace({e.Rect.left, e.Rect.top, e.Rect.right, e.Rect.bottom}, e.ParentWidth,
                                         e.ParentHeight, parentWidth, parentHeight, e.Anchors);
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (defer)
            defer = ::DeferWindowPos(defer, e.Control, nullptr, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top,
                                     flags);
        else
            ::SetWindowPos(e.Control, nullptr, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top, flags);
    }
    if (defer) ::EndDeferWindowPos(defer);
}

void TAnchorLayout::Rescale(int fromDpi, int toDpi) noexcept {
    for (TEntry& e : entries_) {
        const TPixelRect r = ScaledBetween(TPixelRect{e.Rect.left, e.Rect.top, e.Rect.right, e.Rect.bottom}, fromDpi,
                                           toDpi);
        e.Rect = {r.Left, r.Top, r.Right, r.Bottom};
        e.ParentWidth = ScaledBetween(e.ParentWidth, fromDpi, toDpi);
        e.ParentHeight = ScaledBetween(e.ParentHeight, fromDpi, toDpi);
    }
}

RECT DeclaredRectAt(const TLayoutRect& rect, int dpi) noexcept {
    const TPixelRect r = ScaledBetween(TPixelRect{rect.X, rect.Y, rect.X + rect.Width, rect.Y + rect.Height}, BaseDpi,
                                       dpi);
    return {r.Left, r.Top, r.Right, r.Bottom};
}

std::vector<HWND> CreateDeclaredControls(HWND parent, std::span<const TControlDecl> controls, HFONT font, POINT offset,
                                         TAnchorLayout& anchors, int dpi) {
    RECT client{};
    ::GetClientRect(parent, &client);
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    std::vector<HWND> created;
    created.reserve(controls.size());
    for (const TControlDecl& c : controls) {
        RECT r = DeclaredRectAt(c.Rect, dpi);
        ::OffsetRect(&r, offset.x, offset.y);
        HWND hwnd = ::CreateWindowExA(c.ExStyle, c.ClassName, c.Text, c.Style | WS_CHILD | WS_VISIBLE, r.left, r.top,
                                      r.right - r.left, r.bottom - r.top, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.Id)), instance, nullptr);
        if (hwnd && font) ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        anchors.Add(hwnd, r, client.right, client.bottom, c.Anchors);
        created.push_back(hwnd);
    }
    return created;
}

bool WantsHandCursor(std::span<const TControlDecl> controls, HWND parent, HWND control) {
    if (!control || ::GetParent(control) != parent) return false;
    const int id = ::GetDlgCtrlID(control);
    for (const TControlDecl& c : controls)
        if (c.Id == id) return c.HandCursor;
    return false;
}

}  // namespace orvex
