#include "ui/Orvex_Dialogs.h"

#include <shellapi.h>

#include <array>
#include <vector>

#include "platform/Orvex_Shell32.h"
#include "ui/Orvex_Window.h"

namespace orvex {

namespace {

const char* TitleOr(const std::string& title, const char* fallback) { return title.empty() ? fallback : title.c_str(); }

// The boxes have no owner window: the caller's window stays enabled.
int Box(const std::string& msg, const char* title, UINT style) {
    return ::MessageBoxA(nullptr, msg.c_str(), title, style);
}

constexpr std::array<TControlDecl, 4> InputQueryControls{{
    {InputQueryPromptId, "STATIC", "", {6, 6, 168, 9}, SS_LEFT | SS_NOPREFIX},
    {InputQueryEditId, "EDIT", "", {6, 17, 168, 12}, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {IDOK, "BUTTON", "OK", {66, 36, 50, 14}, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDCANCEL, "BUTTON", "Cancel", {122, 36, 50, 14}, BS_PUSHBUTTON | WS_TABSTOP},
}};

class TInputQueryDialog : public TDialog {
public:
    TInputQueryDialog(const std::string& caption, const std::string& prompt, const std::string& value)
        : caption_(caption), prompt_(prompt), value_(value) {}

    bool Run(HWND owner) {
        TDialogLayout layout;
        layout.Caption = caption_.c_str();
        layout.Rect = {0, 0, 180, 56};
        layout.Controls = InputQueryControls;
        return ShowModal(owner, layout) == IDOK;
    }
    const std::string& Value() const noexcept { return value_; }

protected:
    INT_PTR DialogMessage(UINT msg, WPARAM wp, LPARAM) override {
        switch (msg) {
        case WM_INITDIALOG:
            ::SetDlgItemTextA(Handle(), InputQueryPromptId, prompt_.c_str());
            ::SetDlgItemTextA(Handle(), InputQueryEditId, value_.c_str());
            ::SendDlgItemMessageA(Handle(), InputQueryEditId, EM_SETSEL, 0, -1);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK) {
                value_ = ItemText(InputQueryEditId);
                ::EndDialog(Handle(), IDOK);
                return TRUE;
            }
            if (LOWORD(wp) == IDCANCEL) {
                ::EndDialog(Handle(), IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
        }
    }

private:
    std::string ItemText(int id) const {
        const HWND item = ::GetDlgItem(Handle(), id);
        const int length = ::GetWindowTextLengthA(item);
        std::vector<char> text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        ::GetWindowTextA(item, text.data(), static_cast<int>(text.size()));
        return text.data();
    }

    std::string caption_, prompt_, value_;
};

}  // namespace

bool AskConfirmation(const std::string& msg, const std::string& title) {
    return Box(msg, TitleOr(title, ConfirmationTitle), MB_ICONQUESTION | MB_YESNO) == IDYES;
}

void ShowWarning(const std::string& msg, const std::string& title) {
    Box(msg, TitleOr(title, WarningTitle), MB_ICONWARNING | MB_OK);
}

bool AskWarning(const std::string& msg, const std::string& title) {
    return Box(msg, TitleOr(title, WarningTitle), MB_ICONWARNING | MB_YESNO) == IDYES;
}

bool ShowFileProperties(HWND owner, const std::string& path) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = owner;
    info.lpVerb = "properties";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOW;
    return orvex::ShellExecuteExA(&info) != FALSE;
}

bool InputQuery(HWND owner, const std::string& caption, const std::string& prompt, std::string& value) {
    TInputQueryDialog dialog(caption, prompt, value);
    if (!dialog.Run(owner)) return false;
    value = dialog.Value();
    return true;
}

}  // namespace orvex
