#include "platform/Orvex_ComCtl32.h"

#include "platform/Orvex_LibraryBinding.h"

namespace orvex {

namespace {

decltype(&::InitCommonControlsEx) InitSlot = nullptr;
decltype(&::ImageList_Create) CreateSlot = nullptr;
decltype(&::ImageList_AddMasked) AddMaskedSlot = nullptr;
decltype(&::ImageList_Destroy) DestroySlot = nullptr;

constexpr TSlotBinding ComCtl32Slots[] = {
    BindSlot<InitSlot>("InitCommonControlsEx"),
    BindSlot<CreateSlot>("ImageList_Create"),
    BindSlot<AddMaskedSlot>("ImageList_AddMasked"),
    BindSlot<DestroySlot>("ImageList_Destroy"),
};
// The manifest names version 6, which the binding then takes from the system's
// assembly store (systems before XP have the one in the system directory).
constinit TLibraryBinding ComCtl32("COMCTL32.DLL", ComCtl32Slots);

}  // namespace

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) noexcept {
    return CallBound<ComCtl32, InitSlot>(FALSE, controls);
}

HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow) noexcept {
    return CallBound<ComCtl32, CreateSlot>(HIMAGELIST{}, width, height, flags, initial, grow);
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask) noexcept {
    return CallBound<ComCtl32, AddMaskedSlot>(-1, list, bitmap, mask);
}

BOOL ImageList_Destroy(HIMAGELIST list) noexcept { return CallBound<ComCtl32, DestroySlot>(FALSE, list); }

}  // namespace orvex
