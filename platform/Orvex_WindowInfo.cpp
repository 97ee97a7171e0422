#include "platform/Orvex_WindowInfo.h"

#include <cstdint>

#include "platform/Orvex_WindowText.h"
#include "platform/pure/Orvex_StyleNames.h"

namespace orvex {

namespace {

constexpr int TextCapacity = 255;

std::uintptr_t WindowPtr(HWND h, int index) { return static_cast<std::uintptr_t>(GetWindowLongPtrA(h, index)); }
std::uintptr_t ClassPtr(HWND h, int index) { return static_cast<std::uintptr_t>(GetClassLongPtrA(h, index)); }
std::uint32_t WindowLong(HWND h, int index) { return static_cast<std::uint32_t>(GetWindowLongA(h, index)); }
std::uint32_t ClassLong(HWND h, int index) { return static_cast<std::uint32_t>(GetClassLongA(h, index)); }

TRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void ReadClassData(HWND handle, TWindowClasses::TClassData& c, std::uint32_t classStyle) {
    char text[TextCapacity + 1] = {};
    if (GetClassNameA(handle, text, TextCapacity + 1) > 0) c.ClassName = text;
    c.ClassExtra = ClassLong(handle, GCL_CBCLSEXTRA);
    c.WindowExtra = ClassLong(handle, GCL_CBWNDEXTRA);
    c.ClassWndProc = ClassPtr(handle, GCLP_WNDPROC);
    c.Background = ClassPtr(handle, GCLP_HBRBACKGROUND);
    c.Cursor = ClassPtr(handle, GCLP_HCURSOR);
    c.Icon = ClassPtr(handle, GCLP_HICON);
    c.ClassStyleNames = ClassStyleNames(classStyle);
}

// Every field of the record; class data from classes when given.
bool Describe(HWND handle, TWindowInfo& info, TWindowClasses* classes, TWindowTextReader& texts,
              TParentVisibility parent) {
    if (!handle || !IsWindow(handle)) return false;
    TWindowInfo w;
    w.Handle = reinterpret_cast<std::uintptr_t>(handle);
    DWORD pid = 0;
    w.ThreadID = GetWindowThreadProcessId(handle, &pid);
    w.ProcessID = pid;
    w.Text = texts.Read(handle, w.ThreadID);

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
    w.Module = ClassPtr(handle, GCLP_HMODULE);
    w.ClassStyle = ClassLong(handle, GCL_STYLE);
    TWindowClasses::TClassData own;
    const TWindowClasses::TClassData* c = nullptr;
    if (classes) {
        const TWindowClasses::TKey key{w.ProcessID, w.Atom, w.Module, w.ClassStyle};
        c = classes->Find(key);
        if (!c) {
            ReadClassData(handle, own, w.ClassStyle);
            c = &classes->Add(key, std::move(own));
        }
    } else {
        ReadClassData(handle, own, w.ClassStyle);
        c = &own;
    }
    w.ClassName = c->ClassName;
    w.ClassExtra = c->ClassExtra;
    w.WindowExtra = c->WindowExtra;
    w.ClassWndProc = c->ClassWndProc;
    w.Background = c->Background;
    w.Cursor = c->Cursor;
    w.Icon = c->Icon;
    w.ClassStyleNames = c->ClassStyleNames;

    w.StyleNames = WindowStyleNames(w.Style);
    w.ExStyleNames = ExStyleNames(w.ExStyle);
    // A window is visible when it and every parent up to the desktop have
    // the visible style: the parent's visibility and the window's own bit.
    if (parent == TParentVisibility::Unknown)
        w.Visible = IsWindowVisible(handle) != FALSE;
    else
        w.Visible = parent == TParentVisibility::Shown && (w.Style & WS_VISIBLE) != 0;
    info = std::move(w);
    return true;
}

}  // namespace

bool DescribeWindow(HWND handle, TWindowInfo& info) {
    TWindowTextReader texts;
    return Describe(handle, info, nullptr, texts, TParentVisibility::Unknown);
}

bool DescribeWindow(HWND handle, TWindowInfo& info, TWindowClasses& classes, TWindowTextReader& texts,
                    TParentVisibility parent) {
    return Describe(handle, info, &classes, texts, parent);
}

}  // namespace orvex
