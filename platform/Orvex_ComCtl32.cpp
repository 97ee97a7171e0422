#include "platform/Orvex_ComCtl32.h"

#include "platform/Orvex_LibraryBinding.h"

namespace orvex {

// Each function of the library once.
#define ORVEX_COMCTL32_FUNCTIONS(F) \
    F(InitCommonControlsEx)         \
    F(ImageList_Create)             \
    F(ImageList_AddMasked)          \
    F(ImageList_Destroy)

namespace {

ORVEX_COMCTL32_FUNCTIONS(ORVEX_DEFINE_SDK_SLOT)

constexpr TSlotBinding ComCtl32Slots[] = {ORVEX_COMCTL32_FUNCTIONS(ORVEX_SDK_SLOT_ENTRY)};
// The manifest names version 6, which the binding then takes from the system's
// assembly store (systems before XP have the one in the system directory).
constinit TLibraryBinding ComCtl32("COMCTL32.DLL", ComCtl32Slots);

}  // namespace

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) noexcept {
    return CallBound<ComCtl32, InitCommonControlsExSlot>(FALSE, controls);
}

HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow) noexcept {
    return CallBound<ComCtl32, ImageList_CreateSlot>(HIMAGELIST{}, width, height, flags, initial, grow);
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask) noexcept {
    return CallBound<ComCtl32, ImageList_AddMaskedSlot>(-1, list, bitmap, mask);
}

BOOL ImageList_Destroy(HIMAGELIST list) noexcept { return CallBound<ComCtl32, ImageList_DestroySlot>(FALSE, list); }

}  // namespace orvex
