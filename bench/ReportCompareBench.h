// Benchmark of opening and comparing two reports at the item cap.
#pragma once

#include <cstdio>

namespace orvex::bench {

// Two reports of Items (at most ReportListLimit) processes, drivers and
// services each, the second with some hundred differences, written as the
// component writes them (built in memory, then saved in one piece) and kept
// in the temporary folder for later runs unless Rewrite. Times, as medians
// of Rounds: IsInventoryReport and LoadFromStorage of each, opening each as
// the viewer's Open report does (the check and the load; then in the main
// window with its lists filled), comparing with the second as the viewer's
// Compare with report does (CompareWithReportFile) and CompareInventories
// alone. Prints its rows to Out; false when a report cannot be written or a
// count read back differs.
bool RunReportCompareBench(int rounds, int items, bool rewrite, std::FILE* out);

}  // namespace orvex::bench
