#include "app/Startup.h"

#include <commctrl.h>

#include <stdexcept>

#include "app/Main.h"
#include "app/Splash.h"
#include "ui/Orvex_Application.h"

namespace orvex::app {

TProgramStart::TProgramStart() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    orvex::SetApplicationTitle(AppTitle);
}

int RunProgram(int cmdShow) {
    const TProgramStart start;
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
