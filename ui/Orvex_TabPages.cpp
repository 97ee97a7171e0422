#include "ui/Orvex_TabPages.h"

namespace orvex {

namespace {

// The position of the tab of Page, -1 when no tab shows it.
int TabOfPage(HWND tabs, int page) {
    const int count = TabCtrl_GetItemCount(tabs);
    for (int i = 0; i < count; ++i)
        if (PageOfTab(tabs, i) == page) return i;
    return -1;
}

}  // namespace

void InsertPageTab(HWND tabs, int index, int page, const char* caption) {
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<char*>(caption);
    item.lParam = page;
    ::SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int PageOfTab(HWND tabs, int index) {
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    if (index < 0 || !::SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        return -1;
    return static_cast<int>(item.lParam);
}

int SelectedPage(HWND tabs) { return PageOfTab(tabs, TabCtrl_GetCurSel(tabs)); }

bool SelectPage(HWND tabs, int page) {
    const int index = TabOfPage(tabs, page);
    if (index < 0) return false;
    TabCtrl_SetCurSel(tabs, index);
    return true;
}

void SetPageTabCaption(HWND tabs, int page, const char* caption) {
    const int index = TabOfPage(tabs, page);
    if (index < 0) return;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption);
    ::SendMessageA(tabs, TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

bool CursorOverTab(HWND tabs) {
    TCHITTESTINFO hit{};
    ::GetCursorPos(&hit.pt);
    ::ScreenToClient(tabs, &hit.pt);
    return TabCtrl_HitTest(tabs, &hit) >= 0;
}

}  // namespace orvex
