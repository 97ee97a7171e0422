// Comparing what the main window shows with a report file, and the modal
// dialog that lists the differences and saves them as CSV.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "engine/pure/OXI_InventoryDiff.h"

namespace orvex {
class TOrvex_ProcessList;
}

namespace orvex::app {

// The differences between a report file ("before") and the inventory a
// component holds ("after"), and the line that says what was compared.
struct TComparison {
    std::string ReportPath;
    std::string Summary;
    std::vector<TDiffRow> Rows;
};

// Reads the report ReportPath into a component of its own and compares it
// with Current, which stays as it is. Raises std::runtime_error naming the
// file and the reason when the file is no inventory report or cannot be read.
TComparison CompareWithReportFile(const std::string& reportPath, const TOrvex_ProcessList& current);

// Shows the differences modally over Owner (caption "Compare with
// name.ivs"): the summary line, a sortable list of the rows and the buttons
// "Save as CSV..." and "Close".
void ShowCompareDialog(HWND owner, const TComparison& comparison);

// The title of the save dialog of "Save as CSV...".
inline constexpr const char* SaveDifferencesTitle = "Save differences as CSV";

}  // namespace orvex::app
