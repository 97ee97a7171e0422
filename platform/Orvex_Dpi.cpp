#include "platform/Orvex_Dpi.h"

#include "platform/Orvex_LibraryBinding.h"

namespace orvex {

// The per-monitor functions of Windows 10 (1607, 1703 for the dialogs').
#define ORVEX_DPI_FUNCTIONS(F, G) \
    F(GetDpiForSystem)            \
    F(GetDpiForWindow)            \
    F(SetDialogDpiChangeBehavior)

namespace {

using TGetDpiForSystem = UINT(WINAPI*)();
using TGetDpiForWindow = UINT(WINAPI*)(HWND);
TGetDpiForSystem GetDpiForSystem = nullptr;
TGetDpiForWindow GetDpiForWindow = nullptr;
using TSetDialogDpiChangeBehavior = BOOL(WINAPI*)(HWND, int mask, int values);
TSetDialogDpiChangeBehavior SetDialogDpiChangeBehavior = nullptr;
// DDC_DISABLE_ALL: neither the dialog's size nor its fonts and controls.
constexpr int DialogDpiChangeDisableAll = 1;

constexpr TSlotBinding DpiSlots[] = {ORVEX_DPI_FUNCTIONS(ORVEX_SLOT_ENTRY, ORVEX_SLOT_ENTRY_AS)};
constinit TLibraryBinding DpiUser32("USER32.DLL", DpiSlots);

// A DPI the system gave, or 0 for none that makes sense.
int Plausible(UINT dpi) noexcept { return dpi >= 48 && dpi <= 1920 ? static_cast<int>(dpi) : 0; }

}  // namespace

int SystemDpi() noexcept {
    BindOnce<DpiUser32>();
    if (GetDpiForSystem)
        if (const int dpi = Plausible(GetDpiForSystem())) return dpi;
    int dpi = 0;
    if (const HDC screen = ::GetDC(nullptr)) {
        dpi = Plausible(static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSY)));
        ::ReleaseDC(nullptr, screen);
    }
    return dpi ? dpi : 96;
}

int DpiOfWindow(HWND window) noexcept {
    BindOnce<DpiUser32>();
    if (GetDpiForWindow && window)
        if (const int dpi = Plausible(GetDpiForWindow(window))) return dpi;
    return SystemDpi();
}

void KeepDialogLayoutOnDpiChange(HWND dialog) noexcept {
    BindOnce<DpiUser32>();
    if (SetDialogDpiChangeBehavior)
        SetDialogDpiChangeBehavior(dialog, DialogDpiChangeDisableAll, DialogDpiChangeDisableAll);
}

}  // namespace orvex
