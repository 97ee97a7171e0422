#include "app/Startup.h"

#include <commctrl.h>

#include <stdexcept>

#include "app/Main.h"
#include "app/Splash.h"
#include "ui/Orvex_Application.h"

namespace orvex::app {

void InstallReportFormats() {
    // The storage layer's compound-file report format is installed here
    // (SetReportFormat of the engine) once that layer provides it; until
    // then "Save to storage..." reports that no format is installed.
}

int RunProgram(int cmdShow) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    InstallReportFormats();
    orvex::SetApplicationTitle(AppTitle);
    try {
        Twnd_Splash splash;
        splash.ShowNow();
        int code = 0;
        {
            Twnd_Main main(&splash, true);
            main.Show(cmdShow);
            code = orvex::RunMessageLoop();
        }
        return code;
    } catch (const std::exception& e) {
        orvex::ShowErrorReport(nullptr, e);
    }
    return 1;
}

}  // namespace orvex::app
