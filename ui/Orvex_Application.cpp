#include "ui/Orvex_Application.h"

namespace orvex {

namespace {

std::string& Title() {
    static std::string title = "Orvex Process Viewer";
    return title;
}

}  // namespace

const std::string& ApplicationTitle() { return Title(); }

void SetApplicationTitle(const std::string& title) { Title() = title; }

void ShowErrorReport(HWND owner, const std::exception& error) noexcept {
    const char* text = error.what();
    ::MessageBoxA(owner && ::IsWindow(owner) ? owner : nullptr, text && *text ? text : UnknownErrorText,
                  Title().c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace orvex
