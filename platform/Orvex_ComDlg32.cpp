#include "platform/Orvex_ComDlg32.h"

#include "platform/Orvex_LibraryBinding.h"

namespace orvex {

// Each function of the library once.
#define ORVEX_COMDLG32_FUNCTIONS(F) \
    F(GetOpenFileNameA)             \
    F(GetSaveFileNameA)

namespace {

ORVEX_COMDLG32_FUNCTIONS(ORVEX_DEFINE_SDK_SLOT)

constexpr TSlotBinding ComDlg32Slots[] = {ORVEX_COMDLG32_FUNCTIONS(ORVEX_SDK_SLOT_ENTRY)};
constinit TLibraryBinding ComDlg32("COMDLG32.DLL", ComDlg32Slots);

}  // namespace

BOOL GetOpenFileNameA(OPENFILENAMEA* dialog) noexcept {
    return CallBound<ComDlg32, GetOpenFileNameASlot>(FALSE, dialog);
}

BOOL GetSaveFileNameA(OPENFILENAMEA* dialog) noexcept {
    return CallBound<ComDlg32, GetSaveFileNameASlot>(FALSE, dialog);
}

}  // namespace orvex
