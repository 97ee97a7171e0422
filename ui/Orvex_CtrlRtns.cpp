#include "ui/Orvex_CtrlRtns.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

#include "platform/Orvex_Dpi.h"
#include "platform/Orvex_Locale.h"
#include "ui/Orvex_ListView.h"
#include "ui/Orvex_SystemError.h"

namespace orvex {

namespace {

constexpr int MaxCellText = 1024;

int ColumnCount(HWND list) noexcept {
    const HWND header = ListView_GetHeader(list);
    return header ? Header_GetItemCount(header) : 0;
}

std::string CellText(HWND list, int index, int column) {
    char buffer[MaxCellText] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = MaxCellText;
    ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

std::vector<int> ColumnWidths(HWND list) {
    std::vector<int> widths(static_cast<std::size_t>(ColumnCount(list)));
    for (std::size_t i = 0; i < widths.size(); ++i) widths[i] = ListView_GetColumnWidth(list, static_cast<int>(i));
    return widths;
}

TPixelPoint ItemPosition(HWND list, int item) noexcept {
    POINT p{};
    ListView_GetItemPosition(list, item, &p);
    return {p.x, p.y};
}

int CompareTextByLocale(std::string_view a, std::string_view b) {
    const int r = ::CompareStringA(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                                   static_cast<int>(b.size()));
    if (r == 0) {
        const DWORD error = ::GetLastError();
        throw TSystemError("CompareStringA failed.", error);
    }
    return r - CSTR_EQUAL;
}

int CALLBACK CompareByRank(LPARAM a, LPARAM b, LPARAM ranks) {
    const auto& rank = *reinterpret_cast<const std::vector<int>*>(ranks);
    const auto at = [&](LPARAM i) { return i >= 0 && static_cast<std::size_t>(i) < rank.size() ? rank[i] : 0; };
    return at(a) - at(b);
}

COLORREF FillColorFor(HWND list, UINT state, COLORREF entry) {
    return OwnerDrawFillColor(state, ListView_GetSelectedCount(list) > 0, entry, ::GetSysColor(COLOR_HIGHLIGHT),
                              ::GetSysColor(COLOR_HOTLIGHT));
}

// Fills R with one colour, border and inside alike.
void FillFramed(HDC dc, const TPixelRect& r, COLORREF color) {
    TBrush brush(::CreateSolidBrush(color));
    TPen pen(::CreatePen(PS_SOLID, 1, color));
    TSelectObject useBrush(dc, brush.get());
    TSelectObject usePen(dc, pen.get());
    ::Rectangle(dc, r.Left, r.Top, r.Right, r.Bottom);
}

void DrawLine(HDC dc, const TPixelLine& line, COLORREF color) {
    TPen pen(::CreatePen(PS_SOLID, 1, color));
    TSelectObject usePen(dc, pen.get());
    ::MoveToEx(dc, line.From.X, line.From.Y, nullptr);
    ::LineTo(dc, line.To.X, line.To.Y);
}

TCellAlignment ColumnAlignment(HWND list, int column) noexcept {
    LVCOLUMNA c{};
    c.mask = LVCF_FMT;
    if (!ListView_GetColumn(list, column, &c)) return TCellAlignment::Left;
    switch (c.fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
        return TCellAlignment::Right;
    case LVCFMT_CENTER:
        return TCellAlignment::Center;
    default:
        return TCellAlignment::Left;
    }
}

int ItemImage(HWND list, int index) noexcept {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    if (!::SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return item.iImage;
}

COLORREF EntryBrush(HWND list, COLORREF textBk) noexcept {
    if (textBk != CLR_DEFAULT && textBk != CLR_NONE) return textBk;
    const COLORREF bk = ListView_GetBkColor(list);
    return bk == CLR_NONE ? ::GetSysColor(COLOR_WINDOW) : bk;
}

}  // namespace

TListItemText ReadListItem(HWND list, int index) {
    TListItemText row;
    row.Caption = CellText(list, index, 0);
    const int columns = ColumnCount(list);
    for (int c = 1; c < columns; ++c) row.SubItems.push_back(CellText(list, index, c));
    return row;
}

const TListCompareRules& UserListCompareRules() {
    static const TListCompareRules rules{UserNumberFormat(), UserDateTimeFormat(), LocaleConvertDateTime,
                                         CompareTextByLocale};
    return rules;
}

int CompareListItems(HWND list, int item1, int item2, int column) {
    const int count = ListView_GetItemCount(list);
    if (item1 < 0 || item2 < 0 || item1 >= count || item2 >= count) return 0;
    const TListItemText a = ReadListItem(list, item1);
    const TListItemText b = ReadListItem(list, item2);
    return CompareListItems(&a, &b, column, UserListCompareRules());
}

void SortListView(HWND list) {
    const int count = ListView_GetItemCount(list);
    if (count < 2) return;
    // ListView_SortItems hands the compare routine the rows' item data, not
    // their indexes (LVM_SORTITEMSEX, which hands indexes, needs comctl32
    // 5.80, which Windows 95 and NT 4 with Internet Explorer 4 lack). While
    // they are sorted the rows carry their former index as item data, which
    // the compare routine turns into their rank; then each gets its own data
    // back.
    std::vector<TListItemText> rows;
    std::vector<LPARAM> data;
    rows.reserve(static_cast<std::size_t>(count));
    data.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        rows.push_back(ReadListItem(list, i));
        data.push_back(ListRowData(list, i).value_or(0));
        SetListRowData(list, i, i);
    }
    const TListCompareRules& rules = UserListCompareRules();
    const int column = SortColumn;
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return ApplySortDirection(CompareListItems(&rows[a], &rows[b], column, rules)) < 0;
    });
    std::vector<int> rank(rows.size());
    for (std::size_t k = 0; k < order.size(); ++k) rank[static_cast<std::size_t>(order[k])] = static_cast<int>(k);
    ListView_SortItems(list, CompareByRank, reinterpret_cast<LPARAM>(&rank));
    // Each row's former index is read back from it rather than taken from
    // Order, so whatever order the control chose, every row gets its own data.
    for (int k = 0; k < count; ++k) {
        const LPARAM was = ListRowData(list, k).value_or(-1);
        if (was >= 0 && was < count) SetListRowData(list, k, data[static_cast<std::size_t>(was)]);
    }
}

void TSortableList::ColumnClick(int column) {
    sorting_ = false;
    ChooseSortColumn(column);
    sorting_ = true;
    SortListView(list_);
}

void TSortableList::Resort() {
    if (sorting_) SortListView(list_);
}

COLORREF SortedColumnColor() noexcept { return ::GetSysColor(COLOR_INFOBK); }

LRESULT TSortableList::CustomDraw(NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        draw.clrTextBk = SortColumn == 0 ? SortedColumnColor() : UnsortedColumnColor;
        return CDRF_NOTIFYSUBITEMDRAW | CDRF_NEWFONT;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        draw.clrTextBk = draw.iSubItem == SortColumn ? SortedColumnColor() : UnsortedColumnColor;
        return CDRF_NEWFONT;
    default:
        return CDRF_DODEFAULT;
    }
}

void DrawSeparatorItem(HWND list, int item, UINT state, COLORREF lineColor, TListCanvas& canvas) {
    const std::vector<int> widths = ColumnWidths(list);
    const int dpi = DpiOfWindow(list);
    const TPixelRect row = SeparatorRowRect(ItemPosition(list, item), widths, dpi);
    const COLORREF entry = canvas.Brush;
    const COLORREF fill = FillColorFor(list, state, entry);
    FillFramed(canvas.Dc, row, fill);
    const COLORREF line = SeparatorLineColor(fill, entry, lineColor);
    DrawLine(canvas.Dc, SeparatorLine(row, dpi), line);
    canvas.Pen = line;
    canvas.Brush = entry;
}

void DrawCheckBoxSubItem(HWND list, int item, int subItem, UINT state, const std::string& checkedText,
                         TListCanvas& canvas) {
    const std::vector<int> widths = ColumnWidths(list);
    const int dpi = DpiOfWindow(list);
    const TPixelRect cell = CheckBoxCellRect(ItemPosition(list, item), widths, subItem, dpi);
    const COLORREF entryBrush = canvas.Brush;
    const COLORREF entryPen = canvas.Pen;
    FillFramed(canvas.Dc, cell, FillColorFor(list, state, entryBrush));

    const TPixelPoint origin = CheckBoxOrigin(cell, ColumnAlignment(list, subItem), dpi);
    const TPixelRect face = CheckBoxFace(origin, dpi);
    const RECT faceRect{face.Left, face.Top, face.Right, face.Bottom};
    TBrush white(::CreateSolidBrush(RGB(255, 255, 255)));
    ::FillRect(canvas.Dc, &faceRect, white.get());

    TPen outlinePen(::CreatePen(PS_SOLID, CheckBoxLineWidth(dpi), canvas.Font));
    TPen tickPen(::CreatePen(PS_SOLID, 1, canvas.Font));
    TSelectObject usePen(canvas.Dc, outlinePen.get());
    const auto outline = CheckBoxOutline(origin, dpi);
    std::array<POINT, std::tuple_size_v<decltype(outline)>> points{};
    for (std::size_t i = 0; i < outline.size(); ++i) points[i] = {outline[i].X, outline[i].Y};
    ::Polyline(canvas.Dc, points.data(), static_cast<int>(points.size()));
    if (CellText(list, item, subItem) == checkedText) {
        TSelectObject useTick(canvas.Dc, tickPen.get());
        for (const TPixelLine& stroke : CheckBoxTick(origin, dpi)) {
            ::MoveToEx(canvas.Dc, stroke.From.X, stroke.From.Y, nullptr);
            ::LineTo(canvas.Dc, stroke.To.X, stroke.To.Y);
        }
    }
    canvas.Brush = entryBrush;
    canvas.Pen = entryPen;
}

HFONT TGeneralListPainter::FontFor(HWND list, bool bold, bool underline) {
    HFONT base = reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0));
    if (!base) base = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (base != base_) {
        for (TFont& f : fonts_) f.reset();
        base_ = base;
    }
    TFont& slot = fonts_[(bold ? 1 : 0) + (underline ? 2 : 0)];
    if (!slot) {
        LOGFONTA lf{};
        ::GetObjectA(base, sizeof lf, &lf);
        lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        lf.lfUnderline = underline ? TRUE : FALSE;
        slot.reset(::CreateFontIndirectA(&lf));
    }
    return slot ? slot.get() : base;
}

LRESULT TGeneralListPainter::CustomDraw(NMLVCUSTOMDRAW& draw) {
    const HWND list = draw.nmcd.hdr.hwndFrom;
    const int item = static_cast<int>(draw.nmcd.dwItemSpec);
    const UINT state = draw.nmcd.uItemState;
    const bool hot = (state & DrawStateHot) != 0;
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const int style = ItemImage(list, item);
        ::SelectObject(draw.nmcd.hdc, FontFor(list, style == rsHeading, hot));
        draw.clrText = RGB(0, 0, 0);
        if (style == rsSeparator) {
            TListCanvas canvas{draw.nmcd.hdc, EntryBrush(list, draw.clrTextBk), RGB(0, 0, 0), draw.clrText};
            DrawSeparatorItem(list, item, state, SeparatorLineGray, canvas);
            // The row is complete: the control's own painting of its empty
            // cells would cover the line.
            return CDRF_SKIPDEFAULT;
        }
        return CDRF_NEWFONT | CDRF_NOTIFYSUBITEMDRAW;
    }
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        const int style = ItemImage(list, item);
        ::SelectObject(draw.nmcd.hdc, FontFor(list, style == rsHeading, hot));
        draw.clrText = RGB(0, 0, 0);
        if (style == rsCheckBox && draw.iSubItem >= 1) {
            TListCanvas canvas{draw.nmcd.hdc, EntryBrush(list, draw.clrTextBk), RGB(0, 0, 0), draw.clrText};
            DrawCheckBoxSubItem(list, item, draw.iSubItem, state, CheckBoxCheckedText, canvas);
            // The box stands for the cell's text, which is not drawn over it.
            return CDRF_SKIPDEFAULT;
        }
        draw.clrTextBk = EntryBrush(list, CLR_DEFAULT);
        return CDRF_NEWFONT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

}  // namespace orvex
