// The driver details dialog: the version data of one loaded kernel driver's
// file and the shell's properties sheet of that file.
#pragma once

#include <windows.h>

#include "app/DetailsForm.h"
#include "engine/OXI_Processes.h"
#include "ui/Orvex_CtrlRtns.h"

namespace orvex {

class Tdlg_DrvDetails : public TDetailsDialog {
public:
    Tdlg_DrvDetails(const TOrvex_ProcessList& component, int index);

protected:
    void FormCreate() override;
    void Command(int id, int code) override;
    std::optional<LRESULT> Notify(const NMHDR& header, LPARAM lp) override;
    void ImagesChecked(const std::vector<TImageCheckJob::TAnswer>& answers) override;

private:
    void DisplayDriver();
    void PropertiesClick();

    const TOrvex_ProcessList& component_;
    int index_;
    TIcon icon_;
    TGeneralListPainter painter_;
};

// Shows the details of the driver at Index of Component modally over Owner.
void ShowDriverDetails(HWND owner, const TOrvex_ProcessList& component, int index);

}  // namespace orvex
