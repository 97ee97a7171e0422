// The Find window: a modeless window over the main window that finds, in the
// inventory's current data, the handles whose object name and the modules
// whose path contain a text. A double click on a result opens the details of
// its process on the Handles or Modules page with that row selected.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/pure/FindRows.h"
#include "app/pure/RowRecords.h"
#include "ui/Orvex_CtrlRtns.h"
#include "ui/Orvex_FilterField.h"
#include "ui/Orvex_Layout.h"
#include "ui/Orvex_Window.h"
// Last: it undoes the Windows headers' macros of its member names.
#include "engine/OXI_ImageCheckJob.h"
#include "engine/OXI_Processes.h"

namespace orvex::app {

inline constexpr const char* FindClassName = "OrvexFindWindow";
inline constexpr const char* FindCaption = "Find Handle or DLL";
// The client area at 96 DPI.
inline constexpr int FindClientWidth = 640;
inline constexpr int FindClientHeight = 360;

enum TFindId : int {
    idFindLabel = 10,
    idFindText = 11,
    idFindButton = 12,
    idFindList = 13,
    idFindStatus = 14,
    idFindFilter = 15,
};

class Twnd_Find : public orvex::TWindow {
public:
    // ProcList stays its owner's. DetailsClosed runs after a details dialog
    // opened from the results has closed (it may have refreshed ProcList).
    Twnd_Find(HWND owner, TOrvex_ProcessList& procList, std::function<void()> detailsClosed);
    ~Twnd_Find() override;

    // Shows the window in front with the text box focused.
    void Show();

    HWND FindText() const { return Item(idFindText); }
    HWND FindButton() const { return Item(idFindButton); }
    HWND FindList() const { return Item(idFindList); }
    HWND FindStatus() const { return Item(idFindStatus); }

    // The filter of the results (Ctrl+E), as in the main window's lists.
    HWND FilterEdit() const { return filter_.Handle(); }
    void cmFilter();

    // Commands.
    void cmFind();
    void FindListDblClick();

    bool PreTranslateMessage(MSG& msg) override;

protected:
    LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    HWND Item(int id) const { return ::GetDlgItem(Handle(), id); }
    LRESULT Notify(NMHDR& hdr);
    // Fills the result list with the rows of the last search that pass the
    // filter, and the status line.
    void ShowResults();

    TOrvex_ProcessList& procList_;
    std::function<void()> detailsClosed_;
    orvex::TAnchorLayout anchors_;
    orvex::TSortableList results_;
    TRowRecords resultRows_;      // the process of each result row
    std::vector<TFindHit> hits_;  // the hit of each result row
    TListRows rowTexts_;          // the cells of each hit's row
    std::vector<std::intptr_t> rowData_;
    orvex::TFilterField filter_;
    int dpi_ = orvex::BaseDpi;  // of the screen the window is on
    orvex::TFont font_;         // the controls' font at another DPI than the window started with
    // The signers of the module results, checked on a job of the window's.
    std::unique_ptr<TImageCheckJob> checks_;
    THitFiles checkFiles_;
    void StartChecks();
    void ChecksAnswered();
};

}  // namespace orvex::app
