// Layouts are declared for 96 dots per inch (100%); a window on a screen of
// another DPI takes every size and place times DPI / 96.
#pragma once

#include "ui/pure/Orvex_Geometry.h"

namespace orvex {

inline constexpr int BaseDpi = 96;

// value (pixels at 96 DPI) at dpi, rounded to the nearest pixel (halves
// away from zero, so that a length and its negative stay opposite). A dpi
// of zero or less counts as 96.
int ScaledToDpi(int value, int dpi) noexcept;
// The same from one DPI to another (for a window that moves between
// screens).
int ScaledBetween(int value, int fromDpi, int toDpi) noexcept;
// Each edge of rect scaled; widths and heights follow the edges, so that
// controls placed edge to edge at 96 DPI stay edge to edge.
TPixelRect ScaledBetween(const TPixelRect& rect, int fromDpi, int toDpi) noexcept;

}  // namespace orvex
