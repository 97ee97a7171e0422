#include "app/DetailsLists.h"

#include "ui/pure/Orvex_OwnerDraw.h"

namespace orvex {

namespace {

constexpr int MaxCellText = 1024;

void AddColumns(HWND list, std::span<const TColumnDef> columns) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        c.fmt = columns[i].Align == TColumnAlign::Right ? LVCFMT_RIGHT : LVCFMT_LEFT;
        c.cx = columns[i].Width;
        c.pszText = const_cast<char*>(columns[i].Caption);
        c.iSubItem = static_cast<int>(i);
        ::SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
    }
}

void UseFullRowSelect(HWND list) {
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

void SetCell(HWND list, int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Adds a row; an image index of 0 leaves the row the index a new row gets.
int AddRow(HWND list, const std::string& caption, int image) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<char*>(caption.c_str());
    if (image != 0) {
        item.mask |= LVIF_IMAGE;
        item.iImage = image;
    }
    return static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
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
    for (std::size_t i = 0; i < widths.size(); ++i) {
        LVCOLUMNA c{};
        c.mask = LVCF_WIDTH | LVCF_SUBITEM;
        c.cx = widths[i];
        c.iSubItem = static_cast<int>(i);
        ::SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
    }
    UseFullRowSelect(list);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    ListView_SetBkColor(list, face);
    ListView_SetTextBkColor(list, face);
}

void SetupPropertyList(HWND list, std::span<const TColumnDef> columns) {
    AddColumns(list, columns);
    UseFullRowSelect(list);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    ListView_SetBkColor(list, face);
    ListView_SetTextBkColor(list, face);
}

void SetupColumnList(HWND list, std::span<const TColumnDef> columns) {
    AddColumns(list, columns);
    UseFullRowSelect(list);
}

void FillPropertyList(HWND list, const TPropertyRows& rows) {
    ListView_DeleteAllItems(list);
    for (const TPropertyRow& r : rows) {
        const int row = AddRow(list, r.Caption, RowStyleImage(r.Style));
        for (std::size_t v = 0; v < r.Values.size(); ++v) SetCell(list, row, static_cast<int>(v + 1), r.Values[v]);
    }
}

void FillColumnList(HWND list, const TListRows& rows) {
    ListView_DeleteAllItems(list);
    for (const TListRow& r : rows) {
        if (r.empty()) continue;
        const int row = AddRow(list, r[0], 0);
        for (std::size_t c = 1; c < r.size(); ++c) SetCell(list, row, static_cast<int>(c), r[c]);
    }
}

int SelectedListRow(HWND list) noexcept { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

std::string ListCellText(HWND list, int row, int column) {
    char buffer[MaxCellText] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = MaxCellText;
    ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
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
