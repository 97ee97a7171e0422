// The process details dialog: everything the inventory holds about one
// process, with its command line, version data and icon read from the system
// as it is filled. From it the user moves to the parent or a child process,
// refreshes the inventory and opens the properties of the image file, of a
// module and the details of a window.
#pragma once

#include <windows.h>

#include <string>

#include "app/DetailsForm.h"
#include "app/pure/RowRecords.h"
#include "engine/OXI_Processes.h"
#include "ui/Orvex_CtrlRtns.h"
#include "ui/Orvex_GuiResources.h"

namespace orvex {

// A row to show when the dialog opens: on page Page (a TPrcDetailsPage, -1
// for none) the first row whose cell in Column reads Text is selected.
struct TDetailsRowTarget {
    int Page = -1;
    int Column = 0;
    std::string Text;
};

class Tdlg_PrcDetails : public TDetailsDialog {
public:
    // ProcList stays its owner's; the dialog reads it and may refresh it.
    Tdlg_PrcDetails(TOrvex_ProcessList& procList, int procIndex, TDetailsRowTarget target = {});

    int ProcIndex() const noexcept { return procIndex_; }

    // Fills every page for the process at ProcIndex.
    void DisplayProcess();

protected:
    void FormCreate() override;
    void Command(int id, int code) override;
    std::optional<LRESULT> Notify(const NMHDR& header, LPARAM lp) override;
    void ImagesChecked(const std::vector<TImageCheckJob::TAnswer>& answers) override;

private:
    void ShowImageIcon(const std::string& imageName);
    void FillModules(const TProcessInfo& p);
    void FillThreads(const TProcessInfo& p, bool nt);
    void FillChildren(const TProcessInfo& p, bool nt);
    void FillSecurity(const TProcessInfo& p);
    void FillHandles(const TProcessInfo& p);
    void FillWindows(const TProcessInfo& p);

    // Commands.
    void GenListDblClick();  // "Go to parent process"
    void Button4Click();     // "Properties..." of the image file
    void bRefreshClick();
    void ModListDblClick();
    void CPListDblClick();
    void cmWinDetails();

    void ShowTarget();
    TSortableList* SortableFor(HWND list) noexcept;
    TProcessInfo CurrentProcess() const;

    TOrvex_ProcessList& procList_;
    int procIndex_;
    TDetailsRowTarget target_;
    TIcon icon_;  // extracted from the image file; empty while the default icon shows
    TImageList windowGlyphs_;
    TSortableList modList_, thdList_, hList_, cpList_;
    // The records the rows of the module and child lists and the nodes of
    // the window tree were filled from.
    app::TRowRecords modRows_, cpRows_, winRows_;
    TGeneralListPainter painter_;
};

// Shows the details of the process at Index of ProcList modally over Owner.
// The caller refills its own lists afterwards: the dialog may have refreshed
// the inventory.
void ShowProcessDetails(HWND owner, TOrvex_ProcessList& procList, int index);
// The same, opened on the target's page with its row selected.
void ShowProcessDetails(HWND owner, TOrvex_ProcessList& procList, int index, const TDetailsRowTarget& target);

}  // namespace orvex
