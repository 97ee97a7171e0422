#include "platform/Orvex_Dpi.h"

#include "platform/Orvex_LibraryBinding.h"

namespace orvex {

// The per-monitor functions of Windows 10 1607 and later.
#define ORVEX_DPI_FUNCTIONS(F, G) \
    F(GetDpiForSystem)            \
    F(GetDpiForWindow)            \
    F(AdjustWindowRectExForDpi)

namespace {

using TGetDpiForSystem = UINT(WINAPI*)();
using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
TGetDpiForSystem GetDpiForSystem = nullptr;
TGetDpiForWindow GetDpiForWindow = nullptr;
TAdjustWindowRectExForDpi AdjustWindowRectExForDpi = nullptr;

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

SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool menu, int dpi) noexcept {
    BindOnce<DpiUser32>();
    RECT frame{0, 0, clientWidth, clientHeight};
    const bool done = AdjustWindowRectExForDpi &&
                      AdjustWindowRectExForDpi(&frame, style, menu, exStyle, static_cast<UINT>(dpi));
    if (!done) ::AdjustWindowRectEx(&frame, style, menu, exStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace orvex
