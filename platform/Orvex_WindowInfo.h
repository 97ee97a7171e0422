// The description of one window: its window and class data and the names of
// its style bits.
#pragma once

#include <windows.h>

#include "platform/pure/Orvex_Records.h"

namespace orvex {

// Fills every field of Info for the window. False, with Info untouched, when
// the handle names no window.
bool DescribeWindow(HWND handle, TWindowInfo& info);

}  // namespace orvex
