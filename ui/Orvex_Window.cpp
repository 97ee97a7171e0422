#include "ui/Orvex_Window.h"

#include <stdexcept>

#include "platform/Orvex_WideText.h"
#include "ui/Orvex_Application.h"
#include "ui/Orvex_SystemError.h"

namespace orvex {

namespace {

HINSTANCE ProgramInstance() noexcept { return ::GetModuleHandleA(nullptr); }

// Runs a message method and turns any exception into the error report.
template <typename R, typename F>
R Guarded(HWND hwnd, R failed, F&& method) noexcept {
    try {
        return method();
    } catch (const std::exception& e) {
        ShowErrorReport(hwnd, e);
    } catch (...) {
        ShowErrorReport(hwnd, std::runtime_error(UnknownErrorText));
    }
    return failed;
}

}  // namespace

// ---------------------------------------------------------------- windows

TWindow::~TWindow() { DestroyHandle(); }

bool TWindow::PreTranslateMessage(MSG&) { return false; }

TWindow* TWindow::FromHandle(HWND hwnd) noexcept {
    if (!hwnd || reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) != &TWindow::Trampoline)
        return nullptr;
    return reinterpret_cast<TWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void TWindow::Create(const TWindowClassDecl& cls, const char* caption, DWORD style, DWORD exStyle, int x, int y,
                     int width, int height, HWND parent, HMENU menu) {
    const HINSTANCE instance = ProgramInstance();
    WNDCLASSEXA wc{};
    if (!::GetClassInfoExA(instance, cls.Name, &wc)) {
        wc = WNDCLASSEXA{};
        wc.cbSize = sizeof wc;
        wc.style = cls.Style;
        wc.lpfnWndProc = &TWindow::Trampoline;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(cls.Background));
        wc.lpszClassName = cls.Name;
        if (cls.Icon) {
            wc.hIcon = ::LoadIconA(instance, cls.Icon);
            wc.hIconSm = static_cast<HICON>(::LoadImageA(instance, cls.Icon, IMAGE_ICON,
                                                         ::GetSystemMetrics(SM_CXSMICON),
                                                         ::GetSystemMetrics(SM_CYSMICON), 0));
        }
        if (!wc.hIcon && (style & WS_CHILD) == 0) wc.hIcon = ::LoadIcon(nullptr, IDI_APPLICATION);
        if (!::RegisterClassExA(&wc)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_CLASS_ALREADY_EXISTS)
                throw TSystemError(std::string("Cannot register the window class ") + cls.Name + ".", error);
        }
    }
    RECT frame{0, 0, width, height};
    ::AdjustWindowRectEx(&frame, style, menu != nullptr && (style & WS_CHILD) == 0, exStyle);
    const int outerWidth = frame.right - frame.left;
    const int outerHeight = frame.bottom - frame.top;
    if (x == Centered || y == Centered) {
        RECT work{};
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        if (x == Centered) x = work.left + (work.right - work.left - outerWidth) / 2;
        if (y == Centered) y = work.top + (work.bottom - work.top - outerHeight) / 2;
    }
    if (!::CreateWindowExA(exStyle, cls.Name, caption, style, x, y, outerWidth, outerHeight, parent, menu, instance,
                           this)) {
        const DWORD error = ::GetLastError();
        throw TSystemError(std::string("Cannot create the window ") + (caption ? caption : "") + ".", error);
    }
}

LRESULT TWindow::DefaultMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    return ::DefWindowProcA(hwnd_, msg, wp, lp);
}

void TWindow::DestroyHandle() noexcept {
    if (hwnd_ && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

LRESULT CALLBACK TWindow::Trampoline(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    TWindow* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<TWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcA(hwnd, msg, wp, lp);
    const LRESULT result = Guarded<LRESULT>(hwnd, msg == WM_NCCREATE ? TRUE : 0,
                                            [&] { return self->WindowMessage(msg, wp, lp); });
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

// ---------------------------------------------------------------- dialogs

namespace {

class TTemplateWriter {
public:
    void Word(unsigned v) { words_.push_back(static_cast<WORD>(v)); }
    void Dword(DWORD v) {
        Word(LOWORD(v));
        Word(HIWORD(v));
    }
    void Text(const char* s) {
        for (wchar_t c : AnsiToWide(s ? s : "")) Word(c);
        Word(0);
    }
    void AlignDword() {
        if (words_.size() % 2 != 0) Word(0);
    }
    std::vector<DWORD> Finish() {
        AlignDword();
        std::vector<DWORD> out(words_.size() / 2);
        for (std::size_t i = 0; i < out.size(); ++i) out[i] = MAKELONG(words_[2 * i], words_[2 * i + 1]);
        return out;
    }

private:
    std::vector<WORD> words_;
};

}  // namespace

std::vector<DWORD> BuildDialogTemplate(const TDialogLayout& layout) {
    TTemplateWriter w;
    const bool font = layout.FontName && *layout.FontName;
    w.Dword(layout.Style | (font ? DS_SETFONT : 0));
    w.Dword(0);  // extended style
    w.Word(static_cast<unsigned>(layout.Controls.size()));
    w.Word(static_cast<unsigned>(layout.Rect.X));
    w.Word(static_cast<unsigned>(layout.Rect.Y));
    w.Word(static_cast<unsigned>(layout.Rect.Width));
    w.Word(static_cast<unsigned>(layout.Rect.Height));
    w.Word(0);  // no menu
    w.Word(0);  // the standard dialog class
    w.Text(layout.Caption);
    if (font) {
        w.Word(layout.FontSize);
        w.Text(layout.FontName);
    }
    for (const TControlDecl& c : layout.Controls) {
        w.AlignDword();
        w.Dword(c.Style | WS_CHILD | WS_VISIBLE);
        w.Dword(c.ExStyle);
        w.Word(static_cast<unsigned>(c.Rect.X));
        w.Word(static_cast<unsigned>(c.Rect.Y));
        w.Word(static_cast<unsigned>(c.Rect.Width));
        w.Word(static_cast<unsigned>(c.Rect.Height));
        w.Word(static_cast<unsigned>(c.Id));
        w.Text(c.ClassName);
        w.Text(c.Text);
        w.Word(0);  // no creation data
    }
    return w.Finish();
}

INT_PTR TDialog::ShowModal(HWND owner, const TDialogLayout& layout) {
    const std::vector<DWORD> tmpl = BuildDialogTemplate(layout);
    return ::DialogBoxIndirectParamA(ProgramInstance(), reinterpret_cast<const DLGTEMPLATE*>(tmpl.data()), owner,
                                     &TDialog::Trampoline, reinterpret_cast<LPARAM>(this));
}

INT_PTR TDialog::ShowModal(HWND owner, HINSTANCE instance, LPCSTR templateName) {
    return ::DialogBoxParamA(instance, templateName, owner, &TDialog::Trampoline, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK TDialog::Trampoline(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    TDialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<TDialog*>(lp);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    } else {
        self = reinterpret_cast<TDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    const INT_PTR result = Guarded<INT_PTR>(hwnd, FALSE, [&] { return self->DialogMessage(msg, wp, lp); });
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

// ---------------------------------------------------------------- messages

namespace {

// The top-level window that holds Hwnd: its parent chain up to the first
// window that is no child (the root ancestor, found without the function of
// that name, which Windows 95 and NT 4 lack).
HWND RootWindow(HWND hwnd) {
    for (int depth = 0; depth < 1000 && (::GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD); ++depth) {
        HWND parent = ::GetParent(hwnd);
        if (!parent) break;
        hwnd = parent;
    }
    return hwnd;
}

}  // namespace

void ProcessQueuedMessage(MSG& msg) {
    if (msg.hwnd) {
        if (TWindow* top = TWindow::FromHandle(RootWindow(msg.hwnd)))
            if (top->PreTranslateMessage(msg)) return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
}

int RunMessageLoop() {
    MSG msg{};
    for (;;) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        ProcessQueuedMessage(msg);
    }
    return static_cast<int>(msg.wParam);
}

bool ProcessPendingMessages() {
    MSG msg{};
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        ProcessQueuedMessage(msg);
    }
    return true;
}

}  // namespace orvex
