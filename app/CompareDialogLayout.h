// The declared layout of the comparison dialog (dialog units).
#pragma once

#include <windows.h>

#include <span>

#include "ui/Orvex_Layout.h"

namespace orvex::app {

enum TCompareId : int {
    idCompareSummary = 100,
    idCompareList = 101,
    idCompareSaveCsv = 102,
    idCompareClose = IDCANCEL,  // Escape and the close box end the dialog through it too
};

inline constexpr int CompareDialogWidth = 560;
inline constexpr int CompareDialogHeight = 360;

std::span<const orvex::TControlDecl> CompareControls();

// The list's column widths in pixels, in the order of DiffColumnCaptions.
std::span<const int> CompareColumnWidths();

}  // namespace orvex::app
