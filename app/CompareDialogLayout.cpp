#include "app/CompareDialogLayout.h"

#include <commctrl.h>

#include <array>

namespace orvex::app {

namespace {

using orvex::akAll;
using orvex::akBottomRight;
using orvex::akLeft;
using orvex::akRight;
using orvex::akTop;

constexpr int W = CompareDialogWidth;
constexpr int H = CompareDialogHeight;

constexpr std::array<orvex::TControlDecl, 4> Controls{{
    {idCompareSummary, "STATIC", "", {7, 7, W - 14, 18}, SS_LEFT | SS_NOPREFIX, 0, akLeft | akTop | akRight},
    {idCompareList,
     WC_LISTVIEWA,
     "",
     {7, 28, W - 14, H - 56},
     LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_BORDER | WS_TABSTOP,
     0,
     akAll},
    {idCompareSaveCsv,
     "BUTTON",
     "&Save as CSV...",
     {W - 7 - 60 - 6 - 60, H - 21, 60, 14},
     BS_PUSHBUTTON | WS_TABSTOP,
     0,
     akBottomRight},
    {idCompareClose, "BUTTON", "Close", {W - 7 - 60, H - 21, 60, 14}, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, akBottomRight},
}};

constexpr std::array<int, 6> ColumnWidths{60, 300, 65, 90, 170, 170};

}  // namespace

std::span<const orvex::TControlDecl> CompareControls() { return Controls; }
std::span<const int> CompareColumnWidths() { return ColumnWidths; }

}  // namespace orvex::app
