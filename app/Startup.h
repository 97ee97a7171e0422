// The program's start: title, splash window, main window, message loop.
#pragma once

#include <windows.h>

namespace orvex::app {

// Installs the report formats that "Save to storage..." writes with.
void InstallReportFormats();

// Runs the program; returns its exit code.
int RunProgram(int cmdShow);

}  // namespace orvex::app
