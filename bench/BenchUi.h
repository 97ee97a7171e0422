// Timings of the program's own main window: the F5 refresh until the lists
// are filled, and opening the process details dialog.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace orvex::bench {

struct TUiTimings {
    double F5Ms = 0;          // median of the rounds
    bool ListFilled = false;  // the process list held a row per process
    int ListRows = 0;
    int Processes = 0;
    int Handles = 0;
    double DetailsMs = 0;  // median time until the dialog was idle, shown
    bool DetailsOpened = false;
    int DetailsHandles = 0;  // handles of the process whose details opened
};

// The handles of the process whose details dialog is timed.
inline constexpr int DetailsHandles = 10000;

// Creates the main window (with its first refresh) and times Rounds F5
// refreshes; then starts the test helper HelperExe holding DetailsHandles
// extra handles, refreshes, and times Rounds openings of its details.
TUiTimings TimeMainWindow(const std::string& helperExe, int rounds, FILE* out);

}  // namespace orvex::bench
