// Orvex Process Viewer: the program's entry point.
#include <windows.h>

#include "app/Startup.h"
#include "platform/Orvex_DllSearch.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int cmdShow) {
    orvex::RestrictDllSearch();
    return orvex::app::RunProgram(cmdShow);
}
