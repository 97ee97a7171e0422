// The window details dialog: one window record's identity, geometry, class
// data and styles, as the inventory recorded them.
#pragma once

#include <windows.h>

#include "app/DetailsForm.h"
#include "engine/pure/OXI_Records.h"
#include "ui/Orvex_CtrlRtns.h"

namespace orvex {

class Tdlg_WinDetails : public TDetailsDialog {
public:
    explicit Tdlg_WinDetails(const TWindowInfo& winInfo);

    const TWindowInfo& WinInfo() const noexcept { return winInfo_; }
    // Fills the name field, the icon and the three lists from WinInfo.
    void DisplayWindow();

protected:
    void FormCreate() override;
    std::optional<LRESULT> Notify(const NMHDR& header, LPARAM lp) override;

private:
    TWindowInfo winInfo_;
    TGeneralListPainter painter_;
};

// Shows the details of a copy of Window modally over Owner.
void ShowWindowDetails(HWND owner, const TWindowInfo& window);

}  // namespace orvex
