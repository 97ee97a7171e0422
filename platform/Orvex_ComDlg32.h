// The common dialogs the program uses, bound at run time from the system
// (platform/Orvex_LibraryBinding.h), never imported: Windows 95 and NT 4 look
// for an imported common-dialog library next to the program first. Where the
// library cannot be bound each answers FALSE, as for a cancelled dialog.
#pragma once

#include <windows.h>
#include <commdlg.h>

namespace orvex {

BOOL GetOpenFileNameA(OPENFILENAMEA* dialog) noexcept;
BOOL GetSaveFileNameA(OPENFILENAMEA* dialog) noexcept;

}  // namespace orvex
