#include "app/Startup.h"

#include <commctrl.h>

#include <stdexcept>

#include "app/Main.h"
#include "app/Splash.h"
#include "platform/Orvex_ComCtl32.h"
#include "platform/Orvex_ProgramTwin.h"
#include "ui/Orvex_Application.h"

namespace orvex::app {

TProgramStart::TProgramStart() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    orvex::InitCommonControlsEx(&icc);
    orvex::SetApplicationTitle(AppTitle);
}

int RunProgram(int cmdShow) {
    // On 64-bit Windows the 64-bit build beside this one is the viewer.
    if (orvex::StartTwin().Start == orvex::TTwinStart::Started) return 0;
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
