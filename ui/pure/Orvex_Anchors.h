// How a control follows its parent's size.
#pragma once

#include "ui/pure/Orvex_Geometry.h"

namespace orvex {

// Sides of the parent a control keeps its distance to. Left and right
// together stretch the control with the parent's width, right alone moves it;
// likewise top and bottom. A control anchored to neither side of an axis
// stays where it is on that axis.
enum TAnchor : unsigned {
    akLeft = 1,
    akTop = 2,
    akRight = 4,
    akBottom = 8,
    akTopLeft = akLeft | akTop,
    akBottomRight = akRight | akBottom,
    akAll = akLeft | akTop | akRight | akBottom,
};

// Where a control at Rect, laid out for a parent client area of OldWidth by
// OldHeight, lands for one of NewWidth by NewHeight. A control never gets a
// negative size.
TPixelRect AnchorPlace(const TPixelRect& rect, int oldWidth, int oldHeight, int newWidth, int newHeight,
                       unsigned anchors) noexcept;

}  // namespace orvex
