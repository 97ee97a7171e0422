#include "app/DetailsLists.h"

#include "ui/Orvex_GuiResources.h"
#include "ui/pure/Orvex_OwnerDraw.h"

namespace orvex {

namespace {

constexpr int MaxCellText = 1024;

void AddColumns(HWND list, std::span<const TColumnDef> columns) {
    for (const TColumnDef& c : columns)
        AddListColumn(list, c.Caption, c.Width, c.Align == TColumnAlign::Right ? LVCFMT_RIGHT : LVCFMT_LEFT);
}

void UseFullRowSelect(HWND list) {
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

void UseFaceColour(HWND list) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    ListView_SetBkColor(list, face);
    ListView_SetTextBkColor(list, face);
}

}  // namespace

int RowStyleImage(TRowStyle style) noexcept {
    switch (style) {
    case TRowStyle::Heading:
        return rsHeading;
    case TRowStyle::Separator:
        return rsSeparator;
    case TRowStyle::CheckBox:
        return rsCheckBox;
    default:
        return 0;
    }
}

void SetupPropertyList(HWND list, std::span<const int> widths) {
    for (int width : widths) AddListColumn(list, "", width, LVCFMT_LEFT);
    UseFullRowSelect(list);
    UseFaceColour(list);
}

void SetupPropertyList(HWND list, std::span<const TColumnDef> columns) {
    AddColumns(list, columns);
    UseFullRowSelect(list);
    UseFaceColour(list);
}

void SetupColumnList(HWND list, std::span<const TColumnDef> columns) {
    AddColumns(list, columns);
    UseFullRowSelect(list);
}

void FillPropertyList(HWND list, const TPropertyRows& rows) {
    TRedrawLock lock(list);
    ClearListFor(list, rows.size());
    for (const TPropertyRow& r : rows) {
        std::vector<std::string> cells{r.Caption};
        cells.insert(cells.end(), r.Values.begin(), r.Values.end());
        AppendListRow(list, cells, RowStyleImage(r.Style));
    }
}

void SetPropertyValue(HWND list, const std::string& caption, const std::string& value) {
    const int rows = ListView_GetItemCount(list);
    for (int row = 0; row < rows; ++row)
        if (ListCellText(list, row, 0) == caption) {
            SetListCellText(list, row, 1, value);
            return;
        }
}

void FillColumnList(HWND list, const TListRows& rows, std::span<const std::intptr_t> rowData) {
    TRedrawLock lock(list);
    ClearListFor(list, rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) AppendListRow(list, rows[i], 0, i < rowData.size() ? rowData[i] : 0);
}

std::string TreeNodeText(HWND tree, HTREEITEM node) {
    char buffer[MaxCellText] = {};
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = buffer;
    item.cchTextMax = MaxCellText;
    if (!::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return {};
    return buffer;
}

HTREEITEM AddTreeNode(HWND tree, HTREEITEM parent, const std::string& text, int image, LPARAM data,
                      bool markHasChildren) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    insert.item.lParam = data;
    if (markHasChildren) {
        insert.item.mask |= TVIF_CHILDREN;
        insert.item.cChildren = 1;
    }
    return reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void SetTreeNodeHasChildren(HWND tree, HTREEITEM node, bool hasChildren) {
    TVITEMA item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = node;
    item.cChildren = hasChildren ? 1 : 0;
    ::SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace orvex
