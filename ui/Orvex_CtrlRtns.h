// What every list view of the program shares: the one sort state with the
// column-click protocol, the row comparison, the tint of the sorted column,
// and the owner-drawn separator, heading and check-box rows of the general
// property lists.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/Orvex_GuiResources.h"
#include "ui/pure/Orvex_ListCompare.h"
#include "ui/pure/Orvex_OwnerDraw.h"
#include "ui/pure/Orvex_SortState.h"

namespace orvex {

// The texts of row Index of a report-style list view: its caption and one
// sub-item per further column.
TListItemText ReadListItem(HWND list, int index);

// The user's locale as the comparison reads it: separators, the locale's
// date-time conversion and its text order (CompareStringA, no flags).
const TListCompareRules& UserListCompareRules();

// CompareListItems on rows of a list view; an index of no row gives 0.
int CompareListItems(HWND list, int item1, int item2, int column);

// Sorts all rows of the list by the shared sort state (stable: rows that
// compare equal keep their order). Each row keeps its own item data.
void SortListView(HWND list);

// One sortable list view. Its sorting starts off and is switched on by the
// first column click; from then on Resort keeps it sorted after a refill.
class TSortableList {
public:
    TSortableList() = default;
    explicit TSortableList(HWND list) noexcept : list_(list) {}
    void Attach(HWND list) noexcept { list_ = list; }
    HWND Handle() const noexcept { return list_; }
    bool Sorting() const noexcept { return sorting_; }

    // A click on the header of Column: the shared sort state changes and the
    // whole list is sorted again.
    void ColumnClick(int column);
    // Sorts again when the list's sorting is on.
    void Resort();
    // The list keeps the order its rows are added in until the next click.
    void StopSorting() noexcept { sorting_ = false; }
    // Custom drawing: the cells of the shared sort column on the tooltip
    // background colour, the others on white.
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;

private:
    HWND list_ = nullptr;
    bool sorting_ = false;
};

// The background colours of the sorted and the other cells.
COLORREF SortedColumnColor() noexcept;
inline constexpr COLORREF UnsortedColumnColor = RGB(255, 255, 255);

// The drawing state of one custom-draw step: the device context and the
// colours the step found and hands back to the control.
struct TListCanvas {
    HDC Dc = nullptr;
    COLORREF Brush = RGB(255, 255, 255);
    COLORREF Pen = RGB(0, 0, 0);
    COLORREF Font = RGB(0, 0, 0);
};

// Draws row Item as a horizontal line across all columns. The brush colour
// is as it was found afterwards.
void DrawSeparatorItem(HWND list, int item, UINT state, COLORREF lineColor, TListCanvas& canvas);

// Draws cell SubItem (>= 1) of row Item as a check box, ticked when the
// cell's text equals CheckedText. Brush and pen colours are as they were
// found afterwards.
void DrawCheckBoxSubItem(HWND list, int item, int subItem, UINT state, const std::string& checkedText,
                         TListCanvas& canvas);

// The custom drawing of a general property list: heading rows in bold, a
// hot row underlined, separator rows and check-box cells owner-drawn.
class TGeneralListPainter {
public:
    TGeneralListPainter() = default;
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw);

private:
    // The list's font in plain, bold, underlined or both, made once per font.
    HFONT FontFor(HWND list, bool bold, bool underline);
    HFONT base_ = nullptr;
    TFont fonts_[4];
};

}  // namespace orvex
