#include "app/DetailsForm.h"

#include "app/DetailsLists.h"
#include "platform/Orvex_Dpi.h"
#include "platform/pure/Orvex_ScopeExit.h"
#include "ui/Orvex_DpiChange.h"
#include "ui/Orvex_TabPages.h"
#include "ui/pure/Orvex_Anchors.h"

namespace orvex {

namespace {

// The dialog template's own size does not matter: the dialog takes its
// client size in pixels when it starts.
constexpr TLayoutRect TemplateRect{0, 0, 100, 100};

RECT ChildRect(HWND parent, HWND child) noexcept {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

INT_PTR TDetailsDialog::Execute(HWND owner) {
    owner_ = owner;
    TDialogLayout layout;
    layout.Caption = form_.Caption;
    layout.Rect = TemplateRect;
    layout.Style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    layout.FontName = DetailsFontName;
    layout.FontSize = DetailsFontSize;
    return ShowModal(owner, layout);
}

void TDetailsDialog::Close(INT_PTR result) noexcept { ::EndDialog(Handle(), result); }

namespace {

// Posted by a dialog's check job after each answer.
constexpr UINT WmImagesChecked = WM_APP + 1;

}  // namespace

void TDetailsDialog::ShowImageCheck(HWND list, const TImageCheck& check) {
    SetPropertyValue(list, SignerCaption, check.Signer);
    SetPropertyValue(list, Sha256Caption, check.Sha256);
}

void TDetailsDialog::StartImageChecks(std::vector<std::string> paths) {
    checks_.reset();
    if (!ImageChecksOn()) return;
    const HWND dialog = Handle();
    checks_ = std::make_unique<TImageCheckJob>(std::move(paths),
                                               [dialog] { ::PostMessageA(dialog, WmImagesChecked, 0, 0); });
}

INT_PTR TDetailsDialog::DialogMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG: {
        dpi_ = DpiOfWindow(Handle());
        KeepDialogLayoutOnDpiChange(Handle());
        PlaceOnOwner(owner_);
        CreateControls();
        // A dialog that cannot show its item ends; the error goes on to the
        // error report.
        TScopeExit closeOnFailure([this]() noexcept { Close(IDCANCEL); });
        FormCreate();
        closeOnFailure.Dismiss();
        ::SetFocus(Item(IdDetailsClose));
        return FALSE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wp);
        const int code = HIWORD(wp);
        if ((id == IDOK || id == IDCANCEL) && code == BN_CLICKED) {
            // "Close" is both the default and the cancel button.
            Close(IDOK);
            return TRUE;
        }
        Command(id, code);
        return TRUE;
    }
    case WM_CLOSE:
        Close(IDCANCEL);
        return TRUE;
    case WmDpiChanged:
        DpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
        return TRUE;
    case WmImagesChecked:
        if (checks_) ImagesChecked(checks_->TakeAnswers());
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lp);
        if (header.idFrom == IdDetailsPages && header.code == TCN_SELCHANGE) {
            if (const int page = SelectedPage(header.hwndFrom); page >= 0) active_ = page;
            ShowActivePage();
            return TRUE;
        }
        if (const std::optional<LRESULT> result = Notify(header, lp)) {
            ::SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, *result);
            return TRUE;
        }
        return FALSE;
    }
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && WantsHandCursor(reinterpret_cast<HWND>(wp))) {
            ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
            ::SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void TDetailsDialog::PlaceOnOwner(HWND owner) {
    RECT frame{0, 0, ScaledToDpi(form_.ClientWidth, dpi_), ScaledToDpi(form_.ClientHeight, dpi_)};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrA(Handle(), GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT around = work;
    if (owner && ::IsWindow(owner)) ::GetWindowRect(owner, &around);
    int x = around.left + (around.right - around.left - width) / 2;
    int y = around.top + (around.bottom - around.top - height) / 2;
    // Keep the whole dialog on the work area where it fits.
    if (x + width > work.right) x = work.right - width;
    if (y + height > work.bottom) y = work.bottom - height;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    ::SetWindowPos(Handle(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TDetailsDialog::CreateControls() {
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageA(Handle(), WM_GETFONT, 0, 0));
    TAnchorLayout anchors;  // the dialog keeps its size: the places are final
    CreateDeclaredControls(Handle(), form_.Controls, font, {0, 0}, anchors, dpi_);
    for (std::size_t p = 0; p < form_.Pages.size(); ++p) {
        const TDetailsPageDecl& page = form_.Pages[p];
        const std::vector<HWND> created = CreateDeclaredControls(Handle(), page.Controls, font, {0, 0}, anchors, dpi_);
        for (std::size_t i = 0; i < created.size(); ++i)
            if (created[i]) pageControls_.push_back({static_cast<int>(p), created[i], page.Controls[i]});
        captions_.emplace_back(page.Caption);
        visible_.push_back(!page.Hidden);
    }
    if (font) {
        LOGFONTA lf{};
        if (::GetObjectA(font, sizeof lf, &lf)) {
            lf.lfWeight = FW_BOLD;
            boldFont_.reset(::CreateFontIndirectA(&lf));
        }
    }
    if (boldFont_) ::SendMessageA(Item(IdDetailsName), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
    // The pages' controls lie on the page control: it stays below them.
    ::SetWindowPos(Item(IdDetailsPages), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RebuildTabs();
}

void TDetailsDialog::RebuildTabs() {
    const HWND tabs = Item(IdDetailsPages);
    if (!tabs) return;
    TabCtrl_DeleteAllItems(tabs);
    if (active_ < 0 || static_cast<std::size_t>(active_) >= visible_.size() || !visible_[active_]) active_ = 0;
    int index = 0;
    for (std::size_t p = 0; p < captions_.size(); ++p) {
        if (!visible_[p]) continue;
        InsertPageTab(tabs, index++, static_cast<int>(p), captions_[p].c_str());
    }
    SelectPage(tabs, active_);
    LayoutPages();
    ShowActivePage();
}

void TDetailsDialog::LayoutPages() {
    const HWND tabs = Item(IdDetailsPages);
    if (!tabs) return;
    RECT area = ChildRect(Handle(), tabs);
    TabCtrl_AdjustRect(tabs, FALSE, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    // The page's declared area and places, at the dialog's DPI.
    const int pageWidth = ScaledToDpi(form_.PageWidth, dpi_);
    const int pageHeight = ScaledToDpi(form_.PageHeight, dpi_);
    for (const TPageControl& c : pageControls_) {
        const RECT d = DeclaredRectAt(c.Decl.Rect, dpi_);
        const TPixelRect r = AnchorPlace({d.left, d.top, d.right, d.bottom}, pageWidth, pageHeight, width, height,
                                         c.Decl.Anchors);
        ::SetWindowPos(c.Control, nullptr, area.left + r.Left, area.top + r.Top, r.Right - r.Left, r.Bottom - r.Top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TDetailsDialog::DpiChanged(int dpi, const RECT& suggested) {
    // The controls' font (the dialog manager's until a first change, then
    // the dialog's own) and the bold name field's.
    const HFONT font = font_ ? font_.get() : reinterpret_cast<HFONT>(::SendMessageA(Handle(), WM_GETFONT, 0, 0));
    ScaleChildFont(Handle(), font, dpi_, dpi, font_);
    ScaleChildFont(Handle(), boldFont_.get(), dpi_, dpi, boldFont_);
    TAnchorLayout fixed;  // the dialog keeps its size: nothing to anchor
    const int from = dpi_;
    dpi_ = dpi;
    ApplyDpiChange(Handle(), from, dpi, suggested, fixed);
    LayoutPages();
}

void TDetailsDialog::ShowActivePage() {
    for (const TPageControl& c : pageControls_) ::ShowWindow(c.Control, c.Page == active_ ? SW_SHOW : SW_HIDE);
}

void TDetailsDialog::SetPageVisible(int page, bool visible) {
    if (page < 0 || static_cast<std::size_t>(page) >= visible_.size() || visible_[page] == visible) return;
    visible_[page] = visible;
    RebuildTabs();
}

bool TDetailsDialog::PageVisible(int page) const noexcept {
    return page >= 0 && static_cast<std::size_t>(page) < visible_.size() && visible_[page];
}

void TDetailsDialog::SetPageCaption(int page, const std::string& caption) {
    if (page < 0 || static_cast<std::size_t>(page) >= captions_.size()) return;
    captions_[page] = caption;
    if (!visible_[page]) return;
    SetPageTabCaption(Item(IdDetailsPages), page, captions_[page].c_str());
    // Longer captions can add a row of tabs.
    LayoutPages();
}

void TDetailsDialog::ActivatePage(int page) {
    if (!PageVisible(page)) return;
    active_ = page;
    SelectPage(Item(IdDetailsPages), page);
    ShowActivePage();
}

void TDetailsDialog::SetNameText(const std::string& text) { ::SetDlgItemTextA(Handle(), IdDetailsName, text.c_str()); }

void TDetailsDialog::ShowIcon(HICON icon) {
    ::SendMessageA(Item(IdDetailsIcon), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

bool TDetailsDialog::WantsHandCursor(HWND control) const {
    if (control && control == Item(IdDetailsPages)) return CursorOverTab(control);
    if (orvex::WantsHandCursor(form_.Controls, Handle(), control)) return true;
    for (const TDetailsPageDecl& page : form_.Pages)
        if (orvex::WantsHandCursor(page.Controls, Handle(), control)) return true;
    return false;
}

}  // namespace orvex
