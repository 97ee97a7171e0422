#include "ui/pure/Orvex_DpiScale.h"

#include <cstdint>

namespace orvex {

int ScaledBetween(int value, int fromDpi, int toDpi) noexcept {
    if (fromDpi <= 0) fromDpi = BaseDpi;
    if (toDpi <= 0) toDpi = BaseDpi;
    const std::int64_t product = static_cast<std::int64_t>(value) * toDpi;
    const std::int64_t half = fromDpi / 2;
    const std::int64_t rounded = product >= 0 ? (product + half) / fromDpi : -((-product + half) / fromDpi);
    return static_cast<int>(rounded);
}

int ScaledToDpi(int value, int dpi) noexcept { return ScaledBetween(value, BaseDpi, dpi); }

TPixelRect ScaledBetween(const TPixelRect& rect, int fromDpi, int toDpi) noexcept {
    return {ScaledBetween(rect.Left, fromDpi, toDpi), ScaledBetween(rect.Top, fromDpi, toDpi),
            ScaledBetween(rect.Right, fromDpi, toDpi), ScaledBetween(rect.Bottom, fromDpi, toDpi)};
}

}  // namespace orvex
