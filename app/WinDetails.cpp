#include "app/WinDetails.h"

#include "app/DetailsLists.h"
#include "app/WinDetailsLayout.h"
#include "app/pure/WinDetailsRows.h"
#include "platform/Orvex_OSInfo.h"

namespace orvex {

Tdlg_WinDetails::Tdlg_WinDetails(const TWindowInfo& winInfo) : TDetailsDialog(WinDetailsForm), winInfo_(winInfo) {}

void Tdlg_WinDetails::FormCreate() {
    SetupPropertyList(Item(IdWinGenList), WindowGeneralWidths);
    SetupPropertyList(Item(IdWinSList), WindowStyleWidths);
    SetupPropertyList(Item(IdWinCIList), WindowClassWidths);
    ActivatePage(pgWinGeneral);
    DisplayWindow();
}

void Tdlg_WinDetails::DisplayWindow() {
    SetNameText(WindowTitleText(winInfo_));
    // The class's icon stays the class's: it is shown, never destroyed.
    ShowIcon(winInfo_.Icon ? reinterpret_cast<HICON>(winInfo_.Icon) : ::LoadIcon(nullptr, IDI_APPLICATION));
    FillPropertyList(Item(IdWinGenList), WindowGeneralRows(winInfo_, IsNT()));
    FillPropertyList(Item(IdWinCIList), WindowClassRows(winInfo_));
    FillPropertyList(Item(IdWinSList), WindowStyleRows(winInfo_));
}

std::optional<LRESULT> Tdlg_WinDetails::Notify(const NMHDR& header, LPARAM lp) {
    if (header.code == NM_CUSTOMDRAW &&
        (header.idFrom == IdWinGenList || header.idFrom == IdWinSList || header.idFrom == IdWinCIList))
        return painter_.CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lp));
    return std::nullopt;
}

void ShowWindowDetails(HWND owner, const TWindowInfo& window) {
    Tdlg_WinDetails dialog(window);
    dialog.Execute(owner);
}

}  // namespace orvex
