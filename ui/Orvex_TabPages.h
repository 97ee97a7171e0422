// A tab control whose tabs stand for pages: each tab's item data is the
// number of the page it shows, so tabs of hidden pages can be left out
// while every page keeps its number.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace orvex {

// Inserts the tab of Page at position Index with Caption.
void InsertPageTab(HWND tabs, int index, int page, const char* caption);

// The page of the tab at Index, -1 when there is no such tab.
int PageOfTab(HWND tabs, int index);

// The page of the selected tab, -1 when no tab is selected.
int SelectedPage(HWND tabs);

// Selects the tab of Page; false (and the selection unchanged) when no tab
// shows the page.
bool SelectPage(HWND tabs, int page);

// Sets the caption of the tab of Page; nothing when no tab shows the page.
void SetPageTabCaption(HWND tabs, int page, const char* caption);

// True when the mouse cursor is over one of the tabs themselves, not over
// the page area they frame.
bool CursorOverTab(HWND tabs);

}  // namespace orvex
