// The declared layout of the main window: its controls, pages, list
// columns, menus and keyboard shortcuts.
#pragma once

#include <windows.h>

#include <array>
#include <span>

#include "ui/Orvex_Layout.h"

namespace orvex::app {

inline constexpr const char* AppTitle = "Orvex Process Viewer";
inline constexpr const char* AppVersion = "10.2.0";

inline constexpr int MainClientWidth = 449;
inline constexpr int MainClientHeight = 517;
inline constexpr const char* MainFontName = "MS Sans Serif";
inline constexpr int MainFontHeight = 11;

// Control identifiers and commands of the main window. A page's buttons
// carry the identifier of the command they run.
enum TMainId : int {
    idTopLine = 1,
    idPages = 2,
    idStatusBar = 3,
    idFilter = 4,
    idPrcList = 10,
    idDrvList = 20,
    idSvcList = 30,

    cmRefreshId = 100,
    cmSaveReportId = 101,
    cmExitId = 102,
    cmAboutId = 103,
    cmFindId = 104,
    cmOpenReportId = 105,
    cmCompareReportId = 106,
    cmExportListId = 107,
    cmProcessTreeId = 140,
    cmHighlightChangesId = 141,
    cmFilterId = 142,
    cmVerifySignaturesId = 143,
    cmPrcPropsId = 110,
    cmPrcKillId = 111,
    cmPrcDetailsId = 112,
    cmDrvPropsId = 120,
    cmDrvDetailsId = 121,
    cmSvcPropsId = 130,
    cmSvcDetailsId = 135,
    cmSvcStartId = 131,
    cmSvcStopId = 132,
    cmSvcPauseId = 133,
    cmSvcResumeId = 134,
};

enum TMainPage : int { pgProcesses = 0, pgDrivers = 1, pgServices = 2, PageCount = 3 };
enum TMainMenu : int { mnFile = 0, mnProcess = 1, mnDriver = 2, mnService = 3, mnView = 4, mnAbout = 5, MenuCount = 6 };

struct TColumnDecl {
    const char* Caption;
    int Width;
    int Format;  // LVCFMT_LEFT or LVCFMT_RIGHT
};

struct TPageDecl {
    const char* Caption;  // the caption before the first refresh
    int ListId;
    std::span<const TColumnDecl> Columns;
    std::span<const orvex::TControlDecl> Controls;  // relative to the page's display area
};

// A menu entry: a command, or a separator when Command is 0.
struct TMenuItemDecl {
    int Command;
    const char* Caption;
};

// A menu of the menu bar: a drop-down menu of Items, or a command itself
// when it has no items.
struct TMenuDecl {
    const char* Caption;
    int Command;
    std::span<const TMenuItemDecl> Items;
    bool InitiallyVisible;
};

// The window's own controls (client coordinates).
std::span<const orvex::TControlDecl> MainControls();
// The three pages in page order.
std::span<const TPageDecl> MainPages();
// The menu bar in order.
std::span<const TMenuDecl> MainMenus();
std::span<const ACCEL> MainAccelerators();

// The status bar's panel widths.
inline constexpr std::array<int, 4> StatusPanelWidths{100, 100, 100, 180};
// While a report is shown: its machine, its system and its save time (the
// last panel takes the rest of the bar).
inline constexpr std::array<int, 2> ReportStatusPanelWidths{110, 220};

// The commands that change or ask the running system, or describe it: they
// are disabled while the window shows a report.
std::span<const int> LiveOnlyCommands();
bool IsLiveOnlyCommand(int command);

// Column captions of the process list's third and fourth columns on the
// 9x family.
inline constexpr const char* ThreadsColumnCaption = "Threads";
inline constexpr const char* UsageColumnCaption = "Usage";

}  // namespace orvex::app
