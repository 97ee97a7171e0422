#include "ui/Orvex_DpiChange.h"

#include <commctrl.h>

#include <cstring>
#include <utility>
#include <vector>

#include "ui/pure/Orvex_DpiScale.h"

namespace orvex {

namespace {

std::vector<HWND> DirectChildren(HWND window) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

bool IsListView(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, WC_LISTVIEWA) == 0;
}

}  // namespace

void ScaleChildFont(HWND window, HFONT font, int fromDpi, int toDpi, TFont& owner) {
    LOGFONTA lf{};
    if (!font || !::GetObjectA(font, sizeof lf, &lf)) return;
    lf.lfHeight = ScaledBetween(lf.lfHeight, fromDpi, toDpi);
    lf.lfWidth = ScaledBetween(lf.lfWidth, fromDpi, toDpi);
    TFont scaled(::CreateFontIndirectA(&lf));
    if (!scaled) return;
    for (HWND child : DirectChildren(window))
        if (reinterpret_cast<HFONT>(::SendMessageA(child, WM_GETFONT, 0, 0)) == font)
            ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(scaled.get()), FALSE);
    owner = std::move(scaled);
}

void ApplyDpiChange(HWND window, int fromDpi, int toDpi, const RECT& suggested, TAnchorLayout& anchors) {
    if (fromDpi != toDpi) {
        for (HWND child : DirectChildren(window)) {
            RECT r{};
            ::GetWindowRect(child, &r);
            ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
            const TPixelRect s = ScaledBetween(TPixelRect{r.left, r.top, r.right, r.bottom}, fromDpi, toDpi);
            ::SetWindowPos(child, nullptr, s.Left, s.Top, s.Right - s.Left, s.Bottom - s.Top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            if (!IsListView(child)) continue;
            const HWND header = ListView_GetHeader(child);
            const int columns = header ? Header_GetItemCount(header) : 0;
            for (int c = 0; c < columns; ++c)
                ListView_SetColumnWidth(child, c, ScaledBetween(ListView_GetColumnWidth(child, c), fromDpi, toDpi));
        }
        anchors.Rescale(fromDpi, toDpi);
    }
    ::SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace orvex
