// Small list-view routines: columns, rows and cell texts of report-style
// list views.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

namespace orvex {

// Appends a column (LVCFMT_LEFT, LVCFMT_RIGHT or LVCFMT_CENTER).
// width is in pixels at 96 DPI: the column gets it at the list's DPI.
void AddListColumn(HWND list, const char* caption, int width, int format);
void SetListColumnCaption(HWND list, int column, const char* caption);

// Empties the list and makes room for count rows at once, so that filling
// it does not grow its storage row by row.
void ClearListFor(HWND list, std::size_t count);

// Appends a row: Cells[0] is the caption, the rest its sub-items; Image is
// the item's image index (the row style of general lists), Data its item
// data. Returns the row's index.
int AppendListRow(HWND list, const std::vector<std::string>& cells, int image = 0, LPARAM data = 0);

// The item data of a row; none for a row that does not exist.
std::optional<LPARAM> ListRowData(HWND list, int row);
void SetListRowData(HWND list, int row, LPARAM data);
// The item data of the first selected row; none when no row is selected.
std::optional<LPARAM> SelectedRowData(HWND list);

// The text of one cell; "" for a row or column that does not exist.
std::string ListCellText(HWND list, int row, int column);
// Replaces the text of one cell of an existing row.
void SetListCellText(HWND list, int row, int column, const std::string& text);
// The captions of a report-style list's columns, in column order.
std::vector<std::string> ListColumnCaptions(HWND list);

// The first selected row, -1 when none is.
int SelectedListRow(HWND list);

}  // namespace orvex
