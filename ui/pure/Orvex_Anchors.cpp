#include "ui/pure/Orvex_Anchors.h"

namespace orvex {

TPixelRect AnchorPlace(const TPixelRect& r, int oldWidth, int oldHeight, int newWidth, int newHeight,
                       unsigned anchors) noexcept {
    TPixelRect out = r;
    const int dx = newWidth - oldWidth;
    const int dy = newHeight - oldHeight;
    if ((anchors & akRight) != 0) {
        out.Right += dx;
        if ((anchors & akLeft) == 0) out.Left += dx;
    }
    if ((anchors & akBottom) != 0) {
        out.Bottom += dy;
        if ((anchors & akTop) == 0) out.Top += dy;
    }
    if (out.Right < out.Left) out.Right = out.Left;
    if (out.Bottom < out.Top) out.Bottom = out.Top;
    return out;
}

}  // namespace orvex
