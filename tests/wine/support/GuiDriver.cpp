#include "tests/wine/support/GuiDriver.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/Orvex_GuiResources.h"
#include "ui/Orvex_ListView.h"
#include "ui/Orvex_Window.h"

namespace orvex::test {

namespace {

constexpr UINT SendTimeoutMs = 2000;

// Reads a text across threads without waiting forever.
std::string TextOf(HWND hwnd) {
    char buffer[2048] = {};
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK,
                               SendTimeoutMs, &result))
        return {};
    return buffer;
}

struct TDialogSearch {
    DWORD ThreadId;
    std::vector<HWND> Found;
};

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<TDialogSearch*>(lp);
    DWORD pid = 0;
    const DWORD tid = ::GetWindowThreadProcessId(hwnd, &pid);
    const bool ours = search->ThreadId == AnyThread ? pid == ::GetCurrentProcessId() : tid == search->ThreadId;
    if (ours && ::IsWindowVisible(hwnd) && ClassNameOf(hwnd) == "#32770") search->Found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Descendants(HWND hwnd) {
    std::vector<HWND> all;
    ::EnumChildWindows(hwnd, CollectChild, reinterpret_cast<LPARAM>(&all));
    return all;
}

TSeenDialog Describe(HWND dialog) {
    TSeenDialog seen;
    seen.Title = TextOf(dialog);
    seen.Owner = ::GetWindow(dialog, GW_OWNER);
    for (HWND child : Descendants(dialog)) {
        if (::GetParent(child) != dialog) continue;
        const std::string cls = ClassNameOf(child);
        if (_stricmp(cls.c_str(), "Static") == 0) {
            const std::string text = TextOf(child);
            if (!text.empty()) seen.Text += (seen.Text.empty() ? "" : "\n") + text;
        } else if (_stricmp(cls.c_str(), "ComboBox") == 0) {
            DWORD_PTR count = 0;
            if (!::SendMessageTimeoutA(child, CB_GETCOUNT, 0, 0, SMTO_BLOCK, SendTimeoutMs, &count)) continue;
            for (DWORD_PTR i = 0; i<count&& static_cast<LONG_PTR>(count)> 0; ++i) {
                char text[512] = {};
                DWORD_PTR length = 0;
                if (::SendMessageTimeoutA(child, CB_GETLBTEXTLEN, i, 0, SMTO_BLOCK, SendTimeoutMs, &length) &&
                    length < sizeof text &&
                    ::SendMessageTimeoutA(child, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text), SMTO_BLOCK,
                                          SendTimeoutMs, &length))
                    seen.ComboItems.emplace_back(text);
            }
        } else if (_stricmp(cls.c_str(), "Button") == 0 && ::IsWindowVisible(child)) {
            const LONG_PTR type = ::GetWindowLongPtrA(child, GWL_STYLE) & BS_TYPEMASK;
            if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
                seen.ButtonIds.push_back(::GetDlgCtrlID(child));
                seen.ButtonTexts.push_back(TextOf(child));
            }
        }
    }
    return seen;
}

HWND FindEdit(HWND dialog, int editId) {
    if (editId != 0) {
        for (HWND child : Descendants(dialog))
            if (::GetDlgCtrlID(child) == editId && _stricmp(ClassNameOf(child).c_str(), "Edit") == 0) return child;
        // A combo box of that identifier holds the edit field.
        for (HWND child : Descendants(dialog))
            if (::GetDlgCtrlID(child) == editId) {
                if (HWND inner = ::FindWindowExA(child, nullptr, "Edit", nullptr)) return inner;
            }
        return nullptr;
    }
    for (HWND child : Descendants(dialog))
        if (_stricmp(ClassNameOf(child).c_str(), "Edit") == 0 && ::IsWindowVisible(child)) return child;
    return nullptr;
}

}  // namespace

std::string WindowText(HWND hwnd) { return TextOf(hwnd); }

std::string ClassNameOf(HWND hwnd) {
    char name[256] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    return name;
}

namespace {

struct TWindowSearch {
    DWORD Pid;
    const char* ClassName;
    HWND Found;
};

BOOL CALLBACK FindOfProcess(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<TWindowSearch*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->Pid && ClassNameOf(hwnd) == s->ClassName) {
        s->Found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND WindowOfProcess(DWORD pid, const char* className) {
    TWindowSearch s{pid, className, nullptr};
    ::EnumWindows(FindOfProcess, reinterpret_cast<LPARAM>(&s));
    return s.Found;
}

HWND AwaitVisibleWindow(DWORD pid, const char* className) {
    for (int i = 0; i < 300; ++i) {
        const HWND w = WindowOfProcess(pid, className);
        if (w && ::IsWindowVisible(w)) return w;
        ::Sleep(100);
    }
    return nullptr;
}

void PumpMessages(DWORD ms) {
    const DWORD start = ::GetTickCount();
    do {
        orvex::ProcessPendingMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (::GetTickCount() - start < ms);
    orvex::ProcessPendingMessages();
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        orvex::ProcessPendingMessages();
        if (done()) return true;
        if (::GetTickCount() - start >= timeoutMs) return done();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::vector<HWND> ThreadDialogs(DWORD threadId) {
    TDialogSearch search{threadId, {}};
    ::EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

TDialogAnswerer::TDialogAnswerer(std::vector<TDialogAnswer> answers, DWORD threadId, DWORD timeoutMs)
    : answers_(std::move(answers)), threadId_(threadId), timeoutMs_(timeoutMs), worker_([this] { Run(); }) {}

TDialogAnswerer::~TDialogAnswerer() {
    {
        TLock guard(lock_);
        stop_ = true;
    }
    worker_.join();
}

bool TDialogAnswerer::Finish() {
    worker_.join();
    TLock guard(lock_);
    return seen_.size() == answers_.size();
}

std::vector<TSeenDialog> TDialogAnswerer::Seen() {
    TLock guard(lock_);
    return seen_;
}

void TDialogAnswerer::Run() {
    // The dialog answered last is not answered again until another one was;
    // a dialog that came back after a box of its own is.
    HWND last = nullptr;
    for (const TDialogAnswer& answer : answers_) {
        HWND dialog = nullptr;
        const DWORD start = ::GetTickCount();
        while (!dialog) {
            {
                TLock guard(lock_);
                if (stop_) return;
            }
            for (HWND candidate : ThreadDialogs(threadId_))
                if (candidate != last && ::IsWindowEnabled(candidate)) {
                    dialog = candidate;
                    break;
                }
            if (dialog) {
                // Let the dialog finish its initialisation; one that went
                // away meanwhile (a dialog answered before, seen between
                // its own box closing and its end) is not the next one.
                ::Sleep(100);
                if (::IsWindow(dialog) && ::IsWindowVisible(dialog) && ::IsWindowEnabled(dialog)) break;
                dialog = nullptr;
            }
            if (last && !::IsWindow(last)) last = nullptr;
            if (::GetTickCount() - start > timeoutMs_) return;
            ::Sleep(20);
        }
        TSeenDialog seen = Describe(dialog);
        if (answer.TypeText) {
            if (HWND edit = FindEdit(dialog, answer.EditId)) {
                DWORD_PTR result = 0;
                ::SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.EditText.c_str()),
                                      SMTO_BLOCK, SendTimeoutMs, &result);
            }
        }
        last = dialog;
        {
            TLock guard(lock_);
            seen_.push_back(std::move(seen));
        }
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(answer.ButtonId, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, answer.ButtonId)));
    }
}

std::vector<std::string> ListHeaders(HWND list) { return orvex::ListColumnCaptions(list); }

std::vector<std::string> ListRow(HWND list, int row) {
    std::vector<std::string> cells;
    const HWND header = ListView_GetHeader(list);
    const int columns = header ? Header_GetItemCount(header) : 1;
    for (int c = 0; c < columns; ++c) cells.push_back(orvex::ListCellText(list, row, c));
    return cells;
}

std::vector<std::vector<std::string>> ListRows(HWND list) {
    std::vector<std::vector<std::string>> rows;
    const int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i) rows.push_back(ListRow(list, i));
    return rows;
}

std::vector<std::string> ListColumn(HWND list, int column) {
    std::vector<std::string> cells;
    for (const auto& row : ListRows(list))
        cells.push_back(static_cast<std::size_t>(column) < row.size() ? row[column] : "");
    return cells;
}

int FindListRow(HWND list, int column, const std::string& text) {
    const auto cells = ListColumn(list, column);
    const auto it = std::find(cells.begin(), cells.end(), text);
    return it == cells.end() ? -1 : static_cast<int>(it - cells.begin());
}

void SelectListRow(HWND list, int row) {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void DoubleClickRow(HWND list, int row) {
    // A row below the visible ones is scrolled to first, as a user would:
    // a click at its place would land outside the list.
    ListView_EnsureVisible(list, row, FALSE);
    RECT r{};
    r.left = LVIR_LABEL;
    ::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM(r.left + 4, (r.top + r.bottom) / 2);
    ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(list, WM_LBUTTONUP, 0, at);
    ::SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::SendMessageA(list, WM_LBUTTONUP, 0, at);
}

void ClickColumnHeader(HWND list, int column) {
    const HWND header = ListView_GetHeader(list);
    RECT r{};
    Header_GetItemRect(header, column, &r);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::SendMessageA(header, WM_MOUSEMOVE, 0, at);
    ::SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(header, WM_LBUTTONUP, 0, at);
}

std::vector<std::string> TabCaptions(HWND tab) {
    std::vector<std::string> captions;
    const int count = TabCtrl_GetItemCount(tab);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        captions.emplace_back(text);
    }
    return captions;
}

void ClickTab(HWND tab, int index) {
    RECT r{};
    TabCtrl_GetItemRect(tab, index, &r);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::SendMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(tab, WM_LBUTTONUP, 0, at);
}

namespace {

std::vector<std::string> MenuCaptions(HMENU menu) {
    std::vector<std::string> captions;
    const int count = menu ? ::GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        captions.emplace_back(text);
    }
    return captions;
}

}  // namespace

std::vector<std::string> MenuBarCaptions(HWND window) { return MenuCaptions(::GetMenu(window)); }

std::vector<std::string> MenuItemCaptions(HWND window, const std::string& menuCaption) {
    const HMENU bar = ::GetMenu(window);
    const std::vector<std::string> top = MenuCaptions(bar);
    for (std::size_t i = 0; i < top.size(); ++i)
        if (top[i] == menuCaption) return MenuCaptions(::GetSubMenu(bar, static_cast<int>(i)));
    return {};
}

std::vector<std::string> StatusTexts(HWND statusBar) {
    std::vector<std::string> texts;
    const int parts = static_cast<int>(::SendMessageA(statusBar, SB_GETPARTS, 0, 0));
    for (int i = 0; i < parts; ++i) {
        char text[512] = {};
        ::SendMessageA(statusBar, SB_GETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        texts.emplace_back(text);
    }
    return texts;
}

void PostKey(HWND hwnd, UINT vk) {
    const UINT scan = ::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    ::PostMessageA(hwnd, WM_KEYDOWN, vk, 1 | (static_cast<LPARAM>(scan) << 16));
    ::PostMessageA(hwnd, WM_KEYUP, vk, 1 | (static_cast<LPARAM>(scan) << 16) | (3LL << 30));
}

void SendCommand(HWND hwnd, int id) { ::SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void PaintNow(HWND hwnd) {
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::GdiFlush();
    // The system hands painted windows to the screen while the thread waits
    // for messages.
    PumpMessages(100);
}

std::vector<std::uint32_t> ScreenPixels(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const orvex::TWindowDC screen(nullptr);
    if (!screen.get()) return {};
    void* bits = nullptr;
    const orvex::TBitmap bitmap(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const orvex::TMemoryDC memory(::CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory || !bits) return {};
    {
        const orvex::TSelectObject selected(memory.get(), bitmap.get());
        if (!::BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY)) return {};
    }
    ::GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first, first + static_cast<std::size_t>(width) * height);
    for (std::uint32_t& p : pixels) p &= 0x00FFFFFF;
    return pixels;
}

RECT ScreenRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

}  // namespace orvex::test
