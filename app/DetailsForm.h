// The frame every details dialog shares: a modal dialog of a fixed client
// size in pixels, centred on its owner, with an icon, a bold name field, a
// page control whose pages can be hidden and renamed, a line and a "Close"
// button. Every control comes from the dialog's declared tables.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/OXI_ImageCheckJob.h"
#include "platform/Orvex_Resources.h"
#include "ui/Orvex_Layout.h"
#include "ui/Orvex_Window.h"

namespace orvex {

// Control identifiers of the frame.
enum : int {
    IdDetailsIcon = 100,
    IdDetailsName = 101,
    IdDetailsPages = 102,
    IdDetailsBevel = 103,
    IdDetailsClose = IDOK,  // default button; Escape ends the dialog through it too
};

// One page: its caption and the controls on it, laid out for the page area
// of the form's PageWidth by PageHeight pixels and anchored to it.
struct TDetailsPageDecl {
    const char* Caption;
    std::span<const TControlDecl> Controls;
    bool Hidden = false;  // left off the page control until shown
};

struct TDetailsFormDecl {
    const char* Caption;
    int ClientWidth;
    int ClientHeight;
    std::span<const TControlDecl> Controls;  // the frame's own controls, pixels of the client area
    std::span<const TDetailsPageDecl> Pages;
    int PageWidth;
    int PageHeight;
};

// Styles of the controls the details dialogs are made of.
inline constexpr DWORD PropertyListStyle = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER |
                                           LVS_NOCOLUMNHEADER | WS_BORDER | WS_TABSTOP | WS_CLIPSIBLINGS;
inline constexpr DWORD HeaderedPropertyListStyle = PropertyListStyle & ~static_cast<DWORD>(LVS_NOCOLUMNHEADER);
inline constexpr DWORD ColumnListStyle = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP |
                                         WS_CLIPSIBLINGS;
inline constexpr DWORD TreeStyle = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER |
                                   WS_TABSTOP | WS_CLIPSIBLINGS;
inline constexpr DWORD PushButtonStyle = BS_PUSHBUTTON | WS_TABSTOP | WS_CLIPSIBLINGS;
inline constexpr DWORD DefaultButtonStyle = BS_DEFPUSHBUTTON | WS_TABSTOP | WS_CLIPSIBLINGS;
inline constexpr DWORD IconImageStyle = SS_ICON | SS_CENTERIMAGE | SS_REALSIZECONTROL;
inline constexpr DWORD NameFieldStyle = ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP;
inline constexpr DWORD BevelStyle = SS_ETCHEDHORZ;
inline constexpr DWORD PagesStyle = WS_TABSTOP | WS_CLIPSIBLINGS;

// The font of every details dialog.
inline constexpr const char* DetailsFontName = "MS Sans Serif";
inline constexpr WORD DetailsFontSize = 8;

class TDetailsDialog : public TDialog {
public:
    // Shows the dialog modally over Owner (centred on it; on the screen when
    // there is none) and returns the result it ended with: IDOK for "Close",
    // Enter and Escape, IDCANCEL for the close box.
    INT_PTR Execute(HWND owner);

protected:
    explicit TDetailsDialog(const TDetailsFormDecl& form) noexcept : form_(form) {}

    HWND Item(int id) const noexcept { return ::GetDlgItem(Handle(), id); }

    // The DPI of the screen the dialog is on: the declared places (96 DPI)
    // are scaled to it.
    int Dpi() const noexcept { return dpi_; }

    // Hooks of the derived dialogs. An exception from FormCreate ends the
    // dialog (IDCANCEL) and goes on to the error report.
    virtual void FormCreate() {}
    virtual void Command(int id, int code) {
        (void)id;
        (void)code;
    }
    virtual std::optional<LRESULT> Notify(const NMHDR& header, LPARAM lp) {
        (void)header;
        (void)lp;
        return std::nullopt;
    }

    // Checks the files at paths (signer and hash) on a job of the dialog's
    // own, replacing an earlier one; ImagesChecked receives the answers on
    // the dialog's thread as they come. Nothing is checked while checks are
    // off (ImageChecksOn).
    void StartImageChecks(std::vector<std::string> paths);
    virtual void ImagesChecked(const std::vector<TImageCheckJob::TAnswer>& answers) { (void)answers; }
    // Shows check in the signer and SHA-256 rows of a property list.
    static void ShowImageCheck(HWND list, const TImageCheck& check);

    // Ends the modal loop with Result.
    void Close(INT_PTR result) noexcept;

    // Pages by their index in the form's table.
    void SetPageVisible(int page, bool visible);
    bool PageVisible(int page) const noexcept;
    void SetPageCaption(int page, const std::string& caption);
    const std::string& PageCaption(int page) const noexcept { return captions_[static_cast<std::size_t>(page)]; }
    void ActivatePage(int page);
    int ActivePage() const noexcept { return active_; }

    void SetNameText(const std::string& text);
    // Shows Icon in the icon image; the icon stays its owner's.
    void ShowIcon(HICON icon);

    INT_PTR DialogMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void CreateControls();
    void PlaceOnOwner(HWND owner);
    void RebuildTabs();
    void LayoutPages();
    void ShowActivePage();
    bool WantsHandCursor(HWND control) const;

    void DpiChanged(int dpi, const RECT& suggested);

    const TDetailsFormDecl& form_;
    HWND owner_ = nullptr;
    int dpi_ = BaseDpi;  // of the screen the dialog is on
    TFont font_;         // the dialog's font at another DPI than it started with
    std::unique_ptr<TImageCheckJob> checks_;
    TFont boldFont_;
    std::vector<std::string> captions_;
    std::vector<bool> visible_;
    int active_ = 0;
    // The page controls with their declared places, by page.
    struct TPageControl {
        int Page;
        HWND Control;
        TControlDecl Decl;
    };
    std::vector<TPageControl> pageControls_;
};

}  // namespace orvex
