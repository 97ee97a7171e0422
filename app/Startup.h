// The program's start: title, splash window, main window, message loop.
#pragma once

#include <windows.h>

#include "platform/Orvex_Resources.h"

namespace orvex::app {

// What the program sets up on its one thread before its first window and
// keeps until it ends: a single-threaded COM apartment (the shell's
// properties sheets need one on the thread that opens them), the common
// controls and the application's title.
class TProgramStart {
public:
    TProgramStart();
    TProgramStart(const TProgramStart&) = delete;
    TProgramStart& operator=(const TProgramStart&) = delete;

private:
    // CoInitialize rather than CoInitializeEx: Windows 95 without DCOM has
    // only the former. Entered first, left last.
    orvex::TComInit com_;
};

// Runs the program; returns its exit code.
int RunProgram(int cmdShow);

}  // namespace orvex::app
