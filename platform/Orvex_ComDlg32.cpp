#include "platform/Orvex_ComDlg32.h"

#include "platform/Orvex_LibraryBinding.h"

namespace orvex {

namespace {

decltype(&::GetOpenFileNameA) OpenSlot = nullptr;
decltype(&::GetSaveFileNameA) SaveSlot = nullptr;

constexpr TSlotBinding ComDlg32Slots[] = {
    BindSlot<OpenSlot>("GetOpenFileNameA"),
    BindSlot<SaveSlot>("GetSaveFileNameA"),
};
constinit TLibraryBinding ComDlg32("COMDLG32.DLL", ComDlg32Slots);

}  // namespace

BOOL GetOpenFileNameA(OPENFILENAMEA* dialog) noexcept { return CallBound<ComDlg32, OpenSlot>(FALSE, dialog); }

BOOL GetSaveFileNameA(OPENFILENAMEA* dialog) noexcept { return CallBound<ComDlg32, SaveSlot>(FALSE, dialog); }

}  // namespace orvex
