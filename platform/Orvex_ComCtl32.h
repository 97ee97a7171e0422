// The common-control functions the program uses, bound at run time from the
// system (platform/Orvex_LibraryBinding.h), never imported: a library
// imported by name would be looked for next to the program first on the
// systems that do not treat it as one of their own. Where the library
// cannot be bound each answers failure: no controls registered, no image list.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace orvex {

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) noexcept;
HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow) noexcept;
int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask) noexcept;
BOOL ImageList_Destroy(HIMAGELIST list) noexcept;

}  // namespace orvex
