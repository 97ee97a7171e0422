// Filling the list views and trees of the details dialogs from their rows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <span>
#include <string>

#include "app/pure/DetailsText.h"
#include "ui/Orvex_ListView.h"  // SelectedListRow, ListCellText

namespace orvex {

// The image index that carries a row's style (the general lists' row
// styles); 0 for a plain row.
int RowStyleImage(TRowStyle style) noexcept;

// A general property list: whole-row selection, the face colour of buttons
// behind it, and columns of the given widths (it shows no headers, unless the
// columns carry captions and the control was created with headers).
void SetupPropertyList(HWND list, std::span<const int> widths);
void SetupPropertyList(HWND list, std::span<const TColumnDef> columns);
// A sortable column list: headers, whole-row selection, white background.
void SetupColumnList(HWND list, std::span<const TColumnDef> columns);

// Replaces the list's rows.
void FillPropertyList(HWND list, const TPropertyRows& rows);
// Replaces the value of the first row captioned caption.
void SetPropertyValue(HWND list, const std::string& caption, const std::string& value);
// Row i gets RowData[i] as its item data (0 past its end).
void FillColumnList(HWND list, const TListRows& rows, std::span<const std::intptr_t> rowData = {});

// Tree nodes: the node's text, and a new node as the last child of Parent
// (TVI_ROOT for a top-level node). MarkHasChildren gives the node its
// expansion button before it has children; otherwise the button follows the
// children it gets.
std::string TreeNodeText(HWND tree, HTREEITEM node);
HTREEITEM AddTreeNode(HWND tree, HTREEITEM parent, const std::string& text, int image, LPARAM data,
                      bool markHasChildren);
// Sets or clears the expansion button of a node that has not been expanded.
void SetTreeNodeHasChildren(HWND tree, HTREEITEM node, bool hasChildren);

}  // namespace orvex
