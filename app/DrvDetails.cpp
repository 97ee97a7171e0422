#include "app/DrvDetails.h"

#include "app/DetailsGlyphs.h"
#include "app/DetailsLists.h"
#include "app/DrvDetailsLayout.h"
#include "app/pure/DrvDetailsRows.h"
#include "platform/Orvex_VersionInfo.h"
#include "ui/Orvex_Dialogs.h"

namespace orvex {

Tdlg_DrvDetails::Tdlg_DrvDetails(const TOrvex_ProcessList& component, int index)
    : TDetailsDialog(DrvDetailsForm), component_(component), index_(index) {}

void Tdlg_DrvDetails::FormCreate() {
    SetupPropertyList(Item(IdDrvGenList), DriverGeneralWidths);
    icon_ = MakeDriverIcon(::GetSystemMetrics(SM_CXICON));
    ShowIcon(icon_.get());
    ActivatePage(pgDrvGeneral);
    DisplayDriver();
}

void Tdlg_DrvDetails::DisplayDriver() {
    TDriverInfo driver;
    component_.GetDriver(static_cast<std::uint32_t>(index_), driver);
    SetNameText(driver.Name);
    // A report's driver: the file on this system may be another one now.
    const bool live = component_.LiveData();
    ::EnableWindow(Item(IdDrvProperties), live);
    TVersionInfo version;
    if (live) ReadVersionInfo(driver.Name, version);  // no version data leaves the rows empty
    TPropertyRows rows = DriverGeneralRows(version);
    const bool checking = live && ImageChecksOn();
    AddImageCheckRows(rows, checking ? CheckingText : driver.Signer.str(),
                      checking ? CheckingText : driver.Sha256.str());
    FillPropertyList(Item(IdDrvGenList), rows);
    if (checking) StartImageChecks({DriverImageFile(driver.Name.str())});
}

void Tdlg_DrvDetails::ImagesChecked(const std::vector<TImageCheckJob::TAnswer>& answers) {
    for (const TImageCheckJob::TAnswer& a : answers) ShowImageCheck(Item(IdDrvGenList), a.Check);
}

void Tdlg_DrvDetails::PropertiesClick() {
    if (!component_.LiveData()) return;
    TDriverInfo driver;
    component_.GetDriver(static_cast<std::uint32_t>(index_), driver);
    ShowFileProperties(Handle(), driver.Name);
}

void Tdlg_DrvDetails::Command(int id, int code) {
    if (id == IdDrvProperties && code == BN_CLICKED) PropertiesClick();
}

std::optional<LRESULT> Tdlg_DrvDetails::Notify(const NMHDR& header, LPARAM lp) {
    if (header.code == NM_CUSTOMDRAW && header.idFrom == IdDrvGenList)
        return painter_.CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lp));
    return std::nullopt;
}

void ShowDriverDetails(HWND owner, const TOrvex_ProcessList& component, int index) {
    Tdlg_DrvDetails dialog(component, index);
    dialog.Execute(owner);
}

}  // namespace orvex
