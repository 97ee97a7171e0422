#include "tests/wine/support/ListHost.h"

#include <array>

namespace orvex::test {

namespace {

const orvex::TWindowClassDecl HostClass{"OrvexTestListHost"};

constexpr std::array<orvex::TControlDecl, 1> HostControls{{
    {TListHost::ListId,
     WC_LISTVIEWA,
     "",
     {4, 4, 392, 292},
     LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER,
     0,
     orvex::akAll},
}};

}  // namespace

TListHost::TListHost(TKind kind, const std::vector<TColumnSpec>& columns) : kind_(kind), columns_(columns) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    Create(HostClass, "Orvex list host", WS_OVERLAPPEDWINDOW, 0, 20, 20, 400, 300, nullptr);
}

int TListHost::AddRow(const std::vector<std::string>& cells, int image) {
    const HWND list = List();
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = ListView_GetItemCount(list);
    item.iImage = image;
    item.pszText = const_cast<char*>(cells.empty() ? "" : cells[0].c_str());
    const int index = static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (std::size_t c = 1; c < cells.size(); ++c) {
        LVITEMA sub{};
        sub.iSubItem = static_cast<int>(c);
        sub.pszText = const_cast<char*>(cells[c].c_str());
        ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
    }
    return index;
}

void TListHost::Render() {
    const HWND list = List();
    RECT client{};
    ::GetClientRect(list, &client);
    if (oldBitmap_) ::SelectObject(dc_.get(), oldBitmap_);
    oldBitmap_ = nullptr;
    bitmap_.reset();
    dc_.reset();
    orvex::TWindowDC screen(list);
    dc_.reset(::CreateCompatibleDC(screen.get()));
    bitmap_.reset(::CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
    oldBitmap_ = ::SelectObject(dc_.get(), bitmap_.get());
    ::SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.get()), PRF_CLIENT | PRF_ERASEBKGND);
}

COLORREF TListHost::Pixel(int x, int y) const { return ::GetPixel(dc_.get(), x, y); }

LRESULT TListHost::WindowMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        orvex::CreateDeclaredControls(Handle(), HostControls, nullptr, {0, 0}, anchors_);
        const HWND list = List();
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            LVCOLUMNA c{};
            c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            c.pszText = const_cast<char*>(columns_[i].Caption);
            c.cx = columns_[i].Width;
            c.fmt = columns_[i].Format;
            ::SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
        }
        sortable_.Attach(list);
        return 0;
    }
    case WM_SIZE:
        anchors_.Apply(LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (hdr->idFrom != ListId) break;
        if (hdr->code == LVN_COLUMNCLICK && kind_ == TKind::Sortable) {
            sortable_.ColumnClick(reinterpret_cast<NMLISTVIEW*>(lp)->iSubItem);
            return 0;
        }
        if (hdr->code == NM_CUSTOMDRAW) {
            ++customDraws_;
            auto& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(lp);
            return kind_ == TKind::Sortable ? sortable_.CustomDraw(draw) : painter_.CustomDraw(draw);
        }
        break;
    }
    default:
        break;
    }
    return DefaultMessage(msg, wp, lp);
}

}  // namespace orvex::test
