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

TPixelRect SeparatorRowRect(TPixelPoint itemPos, std::span<const int> columnWidths) noexcept {
    return {itemPos.X, itemPos.Y, itemPos.X + WidthSum(columnWidths, columnWidths.size()),
            itemPos.Y + OwnerDrawRowHeight};
}

TPixelLine SeparatorLine(const TPixelRect& row) noexcept {
    const int y = row.Top + (row.Bottom - row.Top) / 2;
    return {{row.Left, y}, {row.Right - 5, y}};
}

TPixelRect CheckBoxCellRect(TPixelPoint itemPos, std::span<const int> columnWidths, int subItem) noexcept {
    const std::size_t index = subItem > 0 ? static_cast<std::size_t>(subItem) : 0;
    const int left = itemPos.X + WidthSum(columnWidths, index);
    const int width = index < columnWidths.size() ? columnWidths[index] : 0;
    return {left, itemPos.Y, left + width, itemPos.Y + OwnerDrawRowHeight};
}

TPixelPoint CheckBoxOrigin(const TPixelRect& cell, TCellAlignment alignment) noexcept {
    const int y0 = cell.Top + (cell.Bottom - cell.Top - BoxSize) / 2;
    switch (alignment) {
    case TCellAlignment::Right:
        return {cell.Right - 20, y0};
    case TCellAlignment::Center:
        return {cell.Left + (cell.Right - cell.Left - BoxSize) / 2, y0};
    case TCellAlignment::Left:
        break;
    }
    return {cell.Left + 5, y0};
}

TPixelRect CheckBoxFace(TPixelPoint o) noexcept { return {o.X, o.Y, o.X + 10, o.Y + 10}; }

std::array<TPixelPoint, 5> CheckBoxOutline(TPixelPoint o) noexcept {
    return {{{o.X, o.Y}, {o.X + 10, o.Y}, {o.X + 10, o.Y + 10}, {o.X, o.Y + 10}, {o.X, o.Y}}};
}

std::array<TPixelLine, 7> CheckBoxTick(TPixelPoint o) noexcept {
    constexpr int offsets[7] = {4, 5, 6, 5, 4, 3, 2};
    std::array<TPixelLine, 7> strokes{};
    for (int i = 0; i < 7; ++i) {
        const int x = o.X + 2 + i;
        strokes[static_cast<std::size_t>(i)] = {{x, o.Y + offsets[i]}, {x, o.Y + offsets[i] + 3}};
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
