#include "platform/Orvex_WindowInfo.h"

#include <cstdint>

#include "platform/pure/Orvex_StyleNames.h"

namespace orvex {

namespace {

constexpr int TextCapacity = 255;

std::uintptr_t WindowPtr(HWND h, int index) { return static_cast<std::uintptr_t>(GetWindowLongPtrA(h, index)); }
std::uintptr_t ClassPtr(HWND h, int index) { return static_cast<std::uintptr_t>(GetClassLongPtrA(h, index)); }
std::uint32_t WindowLong(HWND h, int index) { return static_cast<std::uint32_t>(GetWindowLongA(h, index)); }
std::uint32_t ClassLong(HWND h, int index) { return static_cast<std::uint32_t>(GetClassLongA(h, index)); }

TRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

bool DescribeWindow(HWND handle, TWindowInfo& info) {
    if (!handle || !IsWindow(handle)) return false;
    TWindowInfo w;
    char text[TextCapacity + 1] = {};
    if (GetClassNameA(handle, text, TextCapacity + 1) > 0) w.ClassName = text;
    text[0] = '\0';
    if (GetWindowTextA(handle, text, TextCapacity + 1) > 0) w.Text = text;

    w.Handle = reinterpret_cast<std::uintptr_t>(handle);
    DWORD pid = 0;
    w.ThreadID = GetWindowThreadProcessId(handle, &pid);
    w.ProcessID = pid;

    w.ParentWindow = WindowPtr(handle, GWLP_HWNDPARENT);
    w.WndProc = WindowPtr(handle, GWLP_WNDPROC);
    w.Instance = WindowPtr(handle, GWLP_HINSTANCE);
    w.ID = WindowPtr(handle, GWLP_ID);
    w.UserData = WindowPtr(handle, GWLP_USERDATA);
    w.Style = WindowLong(handle, GWL_STYLE);
    w.ExStyle = WindowLong(handle, GWL_EXSTYLE);

    RECT r{};
    if (GetWindowRect(handle, &r)) w.Rect = FromRect(r);
    r = RECT{};
    if (GetClientRect(handle, &r)) w.ClientRect = FromRect(r);

    w.Atom = ClassLong(handle, GCW_ATOM);
    w.ClassExtra = ClassLong(handle, GCL_CBCLSEXTRA);
    w.WindowExtra = ClassLong(handle, GCL_CBWNDEXTRA);
    w.ClassWndProc = ClassPtr(handle, GCLP_WNDPROC);
    w.Module = ClassPtr(handle, GCLP_HMODULE);
    w.Background = ClassPtr(handle, GCLP_HBRBACKGROUND);
    w.Cursor = ClassPtr(handle, GCLP_HCURSOR);
    w.Icon = ClassPtr(handle, GCLP_HICON);
    w.ClassStyle = ClassLong(handle, GCL_STYLE);

    w.StyleNames = WindowStyleNames(w.Style);
    w.ExStyleNames = ExStyleNames(w.ExStyle);
    w.ClassStyleNames = ClassStyleNames(w.ClassStyle);
    w.Visible = IsWindowVisible(handle) != FALSE;
    info = std::move(w);
    return true;
}

}  // namespace orvex
