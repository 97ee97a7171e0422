#include "ui/Orvex_FilterField.h"

#include <algorithm>

#include "platform/Orvex_Locale.h"

namespace orvex {

namespace {

void ApplyLayout(HWND parent, const TAnchorLayout& anchors) {
    RECT client{};
    ::GetClientRect(parent, &client);
    anchors.Apply(client.right, client.bottom);
}

}  // namespace

void TFilterField::Create(HWND parent, int id, HFONT font) {
    field_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, Height,
                               parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr),
                               nullptr);
    if (field_) ::SendMessageA(field_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void TFilterField::Show(HWND list, const TAnchorLayout& anchors) {
    shown_ = true;
    Place(list, anchors);
    ::ShowWindow(field_, SW_SHOW);
    ::SetFocus(field_);
}

void TFilterField::Place(HWND list, const TAnchorLayout& anchors) const {
    const HWND parent = ::GetParent(field_);
    ApplyLayout(parent, anchors);
    RECT r{};
    ::GetWindowRect(list, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    ::SetWindowPos(field_, HWND_TOP, r.left, r.top, r.right - r.left, Height, SWP_NOACTIVATE);
    ::SetWindowPos(list, nullptr, r.left, r.top + Height + Gap, r.right - r.left, r.bottom - r.top - Height - Gap,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFilterField::Hide(HWND list, const TAnchorLayout& anchors) {
    shown_ = false;
    ::ShowWindow(field_, SW_HIDE);
    ApplyLayout(::GetParent(field_), anchors);
    // Its change clears the filter.
    if (::GetWindowTextLengthA(field_) > 0) ::SetWindowTextA(field_, "");
    ::SetFocus(list);
}

bool TFilterField::TakeText() {
    char text[256] = {};
    ::GetWindowTextA(field_, text, sizeof text);
    if (text_ == text) return false;
    text_ = text;
    finder_ = TTextFinder(text_, IsAnsiLeadByte);
    return true;
}

bool TFilterField::Passes(const std::vector<std::string>& cells) const {
    return text_.empty() ||
           std::any_of(cells.begin(), cells.end(), [&](const std::string& c) { return finder_.In(c); });
}

std::string TFilterField::ShownText(std::size_t shown, std::size_t all) {
    return "Shown: " + std::to_string(shown) + " of " + std::to_string(all);
}

}  // namespace orvex
