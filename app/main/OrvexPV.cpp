// Orvex Process Viewer: the program's entry point.
#include <windows.h>

#include "app/Startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int cmdShow) { return orvex::app::RunProgram(cmdShow); }
