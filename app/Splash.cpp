#include "app/Splash.h"

#include <commctrl.h>

#include <array>

#include "app/MainLayout.h"
#include "platform/Orvex_ComCtl32.h"
#include "platform/Orvex_Dpi.h"

namespace orvex::app {

namespace {

constexpr int PanelId = 1;
constexpr int AnimationId = 2;
// The shell's stock animations of a search: for a computer, else for a file.
constexpr int SearchComputerAnimation = 152;
constexpr int SearchFileAnimation = 151;

const orvex::TWindowClassDecl SplashClass{SplashClassName, CS_HREDRAW | CS_VREDRAW, COLOR_BTNFACE + 1};

constexpr std::array<orvex::TControlDecl, 2> SplashControls{{
    {PanelId,
     "STATIC",
     SplashText,
     {0, 0, SplashClientWidth, SplashClientHeight},
     SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN | WS_CLIPSIBLINGS,
     0,
     orvex::akAll},
    {AnimationId,
     ANIMATE_CLASSA,
     "",
     {25, 12, 16, 16},
     ACS_TRANSPARENT | ACS_AUTOPLAY | ACS_CENTER,
     0,
     orvex::akTopLeft},
}};

}  // namespace

Twnd_Splash::Twnd_Splash() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_ANIMATE_CLASS};
    orvex::InitCommonControlsEx(&icc);
    const int dpi = orvex::SystemDpi();
    Create(SplashClass, AppTitle, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, Centered, Centered,
           orvex::ScaledToDpi(SplashClientWidth, dpi), orvex::ScaledToDpi(SplashClientHeight, dpi), nullptr);
}

Twnd_Splash::~Twnd_Splash() { DestroyHandle(); }

void Twnd_Splash::ShowNow() {
    ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::UpdateWindow(Handle());
}

void Twnd_Splash::HideNow() { ::ShowWindow(Handle(), SW_HIDE); }

bool Twnd_Splash::Showing() const { return ::IsWindowVisible(Handle()) != FALSE; }

LRESULT Twnd_Splash::WindowMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            font_.reset(::CreateFontIndirectA(&metrics.lfMessageFont));
        const auto controls = orvex::CreateDeclaredControls(Handle(), SplashControls, font_.get(), {0, 0}, anchors_,
                                                            orvex::DpiOfWindow(Handle()));
        const HWND animation = controls[1];
        ::SetWindowPos(animation, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        shell_.reset(::LoadLibraryExA("shell32.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE));
        if (shell_ && animation && !Animate_OpenEx(animation, shell_.get(), MAKEINTRESOURCEA(SearchComputerAnimation)))
            Animate_OpenEx(animation, shell_.get(), MAKEINTRESOURCEA(SearchFileAnimation));
        return 0;
    }
    case WM_SIZE:
        anchors_.Apply(LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_DESTROY:
        ::SendDlgItemMessageA(Handle(), AnimationId, ACM_OPEN, 0, 0);  // closes the clip
        return 0;
    default:
        return DefaultMessage(msg, wp, lp);
    }
}

}  // namespace orvex::app
