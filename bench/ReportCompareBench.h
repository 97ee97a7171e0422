// Benchmark of opening and comparing two reports at the item cap.
#pragma once

#include <cstdio>

namespace orvex::bench {

// Writes two reports of Items (at most ReportListLimit) processes, drivers
// and services each
// (the second with some hundred differences) into the temporary folder (with
// the component's header and item writers, items created in an order that
// keeps Wine's directory tree shallow, as Windows keeps its balanced), then
// times LoadFromStorage of each and CompareInventories of the two (medians
// of Rounds); prints its rows to Out. False when a report cannot be written
// or read back whole.
bool RunReportCompareBench(int rounds, int items, std::FILE* out);

}  // namespace orvex::bench
