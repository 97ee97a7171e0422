// Geometry and colours of the owner-drawn rows of the general property lists:
// separator rows (a horizontal line) and check-box cells. Rows are taken to
// be 16 pixels high from the item's top.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "ui/pure/Orvex_DpiScale.h"
#include "ui/pure/Orvex_Geometry.h"

namespace orvex {

// Row styles of a general list, carried in the item's image index.
inline constexpr int rsSeparator = -2;  // the row is a horizontal line
inline constexpr int rsHeading = -3;    // caption and value in bold
inline constexpr int rsCheckBox = -4;   // the value cell is a check box, ticked for "1"

// The text of a ticked check-box cell.
inline constexpr const char* CheckBoxCheckedText = "1";
// Line colour of separator rows, RGB(128,128,128) as a COLORREF.
inline constexpr std::uint32_t SeparatorLineGray = 0x808080;

// The row height at 96 DPI; every length here is scaled to the list's DPI
// (dpi, 96 when not given).
inline constexpr int OwnerDrawRowHeight = 16;

// Item state flags of the list's custom drawing that the routines look at.
inline constexpr unsigned DrawStateFocused = 0x10;  // CDIS_FOCUS
inline constexpr unsigned DrawStateHot = 0x40;      // CDIS_HOT

enum class TCellAlignment { Left, Right, Center };

// The whole row of an item at ItemPos: as wide as all columns together.
TPixelRect SeparatorRowRect(TPixelPoint itemPos, std::span<const int> columnWidths, int dpi = BaseDpi) noexcept;

// The separator's line across Row: at half its height, ending 5 pixels
// before its right edge.
TPixelLine SeparatorLine(const TPixelRect& row, int dpi = BaseDpi) noexcept;

// The cell of column SubItem (>= 1) of the item at ItemPos. A column that
// does not exist gives an empty rectangle at the row's right end.
TPixelRect CheckBoxCellRect(TPixelPoint itemPos, std::span<const int> columnWidths, int subItem,
                            int dpi = BaseDpi) noexcept;

// Top-left corner of the box (11 by 11 at 96 DPI) inside Cell for the
// column's alignment.
TPixelPoint CheckBoxOrigin(const TPixelRect& cell, TCellAlignment alignment, int dpi = BaseDpi) noexcept;

// The box's white face (right and bottom edges excluded) and its outline as
// a closed polyline of five points.
TPixelRect CheckBoxFace(TPixelPoint origin, int dpi = BaseDpi) noexcept;
std::array<TPixelPoint, 5> CheckBoxOutline(TPixelPoint origin, int dpi = BaseDpi) noexcept;
// The outline's pen width: one pixel at 96 DPI.
int CheckBoxLineWidth(int dpi) noexcept;

// The tick: vertical strokes of three pixels, seven of them at 96 DPI; as
// many more, as long and as far down the box at a higher DPI.
std::vector<TPixelLine> CheckBoxTick(TPixelPoint origin, int dpi = BaseDpi) noexcept;

// Fill colour of an owner-drawn row or cell: the highlight colour for a
// focused row (the hot-light colour when it is also hot) in a list that has a
// selection, otherwise the brush colour found on entry.
std::uint32_t OwnerDrawFillColor(unsigned state, bool listHasSelection, std::uint32_t entryBrush,
                                 std::uint32_t highlight, std::uint32_t hotLight) noexcept;

// Colour of the separator line: LineColor on an unhighlighted row, the entry
// brush colour (the list's background) on a highlighted one.
std::uint32_t SeparatorLineColor(std::uint32_t fill, std::uint32_t entryBrush, std::uint32_t lineColor) noexcept;

}  // namespace orvex
