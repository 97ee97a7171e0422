#include "ui/pure/Orvex_OwnerDraw.h"

namespace orvex {

namespace {

constexpr int BoxSize = 11;  // the box spans x0 .. x0 + 10 inclusive

int WidthSum(std::span<const int> widths, std::size_t count) noexcept {
    int sum = 0;
    for (std::size_t i = 0; i < count && i < widths.size(); ++i) sum += widths[i];
    return sum;
}

}  // namespace

TPixelRect SeparatorRowRect(TPixelPoint itemPos, std::span<const int> columnWidths, int dpi) noexcept {
    return {itemPos.X, itemPos.Y, itemPos.X + WidthSum(columnWidths, columnWidths.size()),
            itemPos.Y + ScaledToDpi(OwnerDrawRowHeight, dpi)};
}

TPixelLine SeparatorLine(const TPixelRect& row, int dpi) noexcept {
    const int y = row.Top + (row.Bottom - row.Top) / 2;
    return {{row.Left, y}, {row.Right - ScaledToDpi(5, dpi), y}};
}

TPixelRect CheckBoxCellRect(TPixelPoint itemPos, std::span<const int> columnWidths, int subItem, int dpi) noexcept {
    const std::size_t index = subItem > 0 ? static_cast<std::size_t>(subItem) : 0;
    const int left = itemPos.X + WidthSum(columnWidths, index);
    const int width = index < columnWidths.size() ? columnWidths[index] : 0;
    return {left, itemPos.Y, left + width, itemPos.Y + ScaledToDpi(OwnerDrawRowHeight, dpi)};
}

TPixelPoint CheckBoxOrigin(const TPixelRect& cell, TCellAlignment alignment, int dpi) noexcept {
    const int box = ScaledToDpi(BoxSize, dpi);
    const int y0 = cell.Top + (cell.Bottom - cell.Top - box) / 2;
    switch (alignment) {
    case TCellAlignment::Right:
        return {cell.Right - ScaledToDpi(20, dpi), y0};
    case TCellAlignment::Center:
        return {cell.Left + (cell.Right - cell.Left - box) / 2, y0};
    case TCellAlignment::Left:
        break;
    }
    return {cell.Left + ScaledToDpi(5, dpi), y0};
}

TPixelRect CheckBoxFace(TPixelPoint o, int dpi) noexcept {
    const int edge = ScaledToDpi(BoxSize, dpi) - 1;
    return {o.X, o.Y, o.X + edge, o.Y + edge};
}

std::array<TPixelPoint, 5> CheckBoxOutline(TPixelPoint o, int dpi) noexcept {
    const int edge = ScaledToDpi(BoxSize, dpi) - 1;
    return {{{o.X, o.Y}, {o.X + edge, o.Y}, {o.X + edge, o.Y + edge}, {o.X, o.Y + edge}, {o.X, o.Y}}};
}

int CheckBoxLineWidth(int dpi) noexcept {
    const int width = ScaledToDpi(1, dpi);
    return width > 0 ? width : 1;
}

std::vector<TPixelLine> CheckBoxTick(TPixelPoint o, int dpi) noexcept {
    constexpr int offsets[7] = {4, 5, 6, 5, 4, 3, 2};
    const int count = ScaledToDpi(7, dpi);
    const int length = ScaledToDpi(3, dpi);
    std::vector<TPixelLine> strokes;
    strokes.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int j = 0; j < count; ++j) {
        // The stroke of the 96-DPI tick this one stands in for.
        const int i = j * 7 / count;
        const int x = o.X + ScaledToDpi(2, dpi) + j;
        const int y = o.Y + ScaledToDpi(offsets[i], dpi);
        strokes.push_back({{x, y}, {x, y + length}});
    }
    return strokes;
}

std::uint32_t OwnerDrawFillColor(unsigned state, bool listHasSelection, std::uint32_t entryBrush,
                                 std::uint32_t highlight, std::uint32_t hotLight) noexcept {
    if ((state & DrawStateFocused) == 0 || !listHasSelection) return entryBrush;
    return (state & DrawStateHot) != 0 ? hotLight : highlight;
}

std::uint32_t SeparatorLineColor(std::uint32_t fill, std::uint32_t entryBrush, std::uint32_t lineColor) noexcept {
    return fill == entryBrush ? lineColor : entryBrush;
}

}  // namespace orvex
