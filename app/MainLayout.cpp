#include "app/MainLayout.h"

#include <commctrl.h>

namespace orvex::app {

namespace {

using orvex::akAll;
using orvex::akBottomRight;
using orvex::akLeft;
using orvex::akRight;
using orvex::akTop;

constexpr DWORD ListStyle = LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_TABSTOP;
constexpr DWORD ButtonStyle = BS_PUSHBUTTON | WS_TABSTOP;

constexpr std::array<orvex::TControlDecl, 3> Controls{{
    {idTopLine, "STATIC", "", {0, 0, MainClientWidth, 1}, SS_ETCHEDHORZ, 0, akLeft | akTop | akRight},
    {idPages, WC_TABCONTROLA, "", {11, 13, 426, 458}, WS_CLIPSIBLINGS | WS_TABSTOP, 0, akAll, true},
    {idStatusBar, STATUSCLASSNAMEA, "", {0, 0, 0, 0}, SBARS_SIZEGRIP, 0, 0},
}};

constexpr std::array<TColumnDecl, 4> ProcessColumns{{
    {"Name", 100, LVCFMT_LEFT},
    {"PID", 70, LVCFMT_RIGHT},
    {"CPU Time", 75, LVCFMT_RIGHT},
    {"Mem Usage", 100, LVCFMT_RIGHT},
}};

constexpr std::array<TColumnDecl, 4> DriverColumns{{
    {"Name", 150, LVCFMT_LEFT},
    {"Base Address", 80, LVCFMT_LEFT},
    {"Load Cnt", 60, LVCFMT_RIGHT},
    {"Location", 150, LVCFMT_LEFT},
}};

constexpr std::array<TColumnDecl, 3> ServiceColumns{{
    {"Display Name", 220, LVCFMT_LEFT},
    {"Status", 80, LVCFMT_LEFT},
    {"Startup Type", 75, LVCFMT_LEFT},
}};

constexpr std::array<orvex::TControlDecl, 3> ProcessPage{{
    {idPrcList, WC_LISTVIEWA, "", {6, 7, 402, 379}, ListStyle, WS_EX_CLIENTEDGE, akAll},
    {cmPrcPropsId, "BUTTON", "Properties...", {252, 396, 75, 25}, ButtonStyle, 0, akBottomRight, true},
    {cmPrcDetailsId, "BUTTON", "Details...", {335, 396, 75, 25}, ButtonStyle, 0, akBottomRight, true},
}};

constexpr std::array<orvex::TControlDecl, 3> DriverPage{{
    {idDrvList, WC_LISTVIEWA, "", {8, 7, 402, 379}, ListStyle, WS_EX_CLIENTEDGE, akAll},
    {cmDrvPropsId, "BUTTON", "Properties...", {252, 396, 75, 25}, ButtonStyle, 0, akBottomRight, true},
    {cmDrvDetailsId, "BUTTON", "Details...", {335, 396, 75, 25}, ButtonStyle, 0, akBottomRight, true},
}};

constexpr std::array<orvex::TControlDecl, 3> ServicePage{{
    {idSvcList, WC_LISTVIEWA, "", {8, 6, 402, 379}, ListStyle, WS_EX_CLIENTEDGE, akAll},
    {cmSvcPropsId, "BUTTON", "Properties...", {252, 396, 75, 25}, ButtonStyle, 0, akBottomRight, true},
    {cmSvcDetailsId, "BUTTON", "Details...", {335, 396, 75, 25}, ButtonStyle, 0, akBottomRight, true},
}};

constexpr std::array<TPageDecl, PageCount> Pages{{
    {" Processes ", idPrcList, ProcessColumns, ProcessPage},
    {" Drivers ", idDrvList, DriverColumns, DriverPage},
    {" Services ", idSvcList, ServiceColumns, ServicePage},
}};

constexpr std::array<TMenuItemDecl, 10> FileItems{{
    {cmRefreshId, "Refresh\tF5"},
    {cmOpenReportId, "Open report...\tCtrl+O"},
    {0, nullptr},
    {cmFindId, "Find handle or DLL...\tCtrl+F"},
    {0, nullptr},
    {cmSaveReportId, "Save to storage..."},
    {cmCompareReportId, "Compare with report..."},
    {cmExportListId, "Export list..."},
    {0, nullptr},
    {cmExitId, "Exit"},
}};

constexpr std::array<TMenuItemDecl, 4> ProcessItems{{
    {cmPrcPropsId, "Properties..."},
    {cmPrcDetailsId, "Details..."},
    {0, nullptr},
    {cmPrcKillId, "Kill"},
}};

constexpr std::array<TMenuItemDecl, 1> DriverItems{{
    {cmDrvPropsId, "Properties..."},
}};

constexpr std::array<TMenuItemDecl, 7> ServiceItems{{
    {cmSvcPropsId, "Properties..."},
    {cmSvcDetailsId, "Details..."},
    {0, nullptr},
    {cmSvcStartId, "Start"},
    {cmSvcStopId, "Stop"},
    {cmSvcPauseId, "Pause"},
    {cmSvcResumeId, "Resume"},
}};

constexpr std::array<TMenuItemDecl, 5> ViewItems{{
    {cmProcessTreeId, "Process tree\tCtrl+T"},
    {cmFilterId, "Filter...\tCtrl+E"},
    {0, nullptr},
    {cmHighlightChangesId, "Highlight changes"},
    {cmVerifySignaturesId, "Verify signatures"},
}};

constexpr std::array<TMenuDecl, MenuCount> Menus{{
    {"File", 0, FileItems, true},
    {"Process", 0, ProcessItems, true},
    {"Driver", 0, DriverItems, false},
    {"Service", 0, ServiceItems, false},
    {"View", 0, ViewItems, true},
    {"About", cmAboutId, {}, true},
}};

constexpr std::array<ACCEL, 5> Accelerators{{
    {FVIRTKEY, VK_F5, cmRefreshId},
    {FVIRTKEY | FCONTROL, 'E', cmFilterId},
    {FVIRTKEY | FCONTROL, 'T', cmProcessTreeId},
    {FVIRTKEY | FCONTROL, 'F', cmFindId},
    {FVIRTKEY | FCONTROL, 'O', cmOpenReportId},
}};

constexpr std::array<int, 10> LiveOnly{cmFindId,     cmSaveReportId, cmPrcPropsId, cmPrcKillId,  cmDrvPropsId,
                                       cmSvcPropsId, cmSvcStartId,   cmSvcStopId,  cmSvcPauseId, cmSvcResumeId};

}  // namespace

std::span<const orvex::TControlDecl> MainControls() { return Controls; }
std::span<const TPageDecl> MainPages() { return Pages; }
std::span<const TMenuDecl> MainMenus() { return Menus; }
std::span<const ACCEL> MainAccelerators() { return Accelerators; }
std::span<const int> LiveOnlyCommands() { return LiveOnly; }

bool IsLiveOnlyCommand(int command) {
    for (int id : LiveOnly)
        if (id == command) return true;
    return false;
}

}  // namespace orvex::app
