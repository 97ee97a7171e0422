#include "ui/Orvex_ListView.h"

#include "platform/Orvex_Dpi.h"
#include "ui/pure/Orvex_DpiScale.h"

namespace orvex {

void AddListColumn(HWND list, const char* caption, int width, int format) {
    const HWND header = ListView_GetHeader(list);
    const int index = header ? Header_GetItemCount(header) : 0;
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    c.pszText = const_cast<char*>(caption);
    c.cx = ScaledToDpi(width, DpiOfWindow(list));
    c.fmt = format;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&c));
}

void SetListColumnCaption(HWND list, int column, const char* caption) {
    LVCOLUMNA c{};
    c.mask = LVCF_FMT;
    ListView_GetColumn(list, column, &c);  // the alignment stays
    c.mask = LVCF_TEXT | LVCF_FMT;
    c.pszText = const_cast<char*>(caption);
    ::SendMessageA(list, LVM_SETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c));
}

void ClearListFor(HWND list, std::size_t count) {
    ListView_DeleteAllItems(list);
    ListView_SetItemCount(list, static_cast<int>(count));
}

int AppendListRow(HWND list, const std::vector<std::string>& cells, int image, LPARAM data) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = ListView_GetItemCount(list);
    item.iImage = image;
    item.lParam = data;
    item.pszText = const_cast<char*>(cells.empty() ? "" : cells[0].c_str());
    const int row = static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return row;
    for (std::size_t c = 1; c < cells.size(); ++c) {
        LVITEMA sub{};
        sub.iSubItem = static_cast<int>(c);
        sub.pszText = const_cast<char*>(cells[c].c_str());
        ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&sub));
    }
    return row;
}

std::string ListCellText(HWND list, int row, int column) {
    if (row < 0 || row >= ListView_GetItemCount(list)) return {};
    char buffer[1024] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void SetListCellText(HWND list, int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::vector<std::string> ListColumnCaptions(HWND list) {
    std::vector<std::string> captions;
    const HWND header = ListView_GetHeader(list);
    const int count = header ? Header_GetItemCount(header) : 0;
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        captions.emplace_back(text);
    }
    return captions;
}

int SelectedListRow(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

std::optional<LPARAM> ListRowData(HWND list, int row) {
    if (row < 0) return std::nullopt;
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!::SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return std::nullopt;
    return item.lParam;
}

void SetListRowData(HWND list, int row, LPARAM data) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = data;
    ::SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

std::optional<LPARAM> SelectedRowData(HWND list) { return ListRowData(list, SelectedListRow(list)); }

}  // namespace orvex
