#include "tests/wine/DetailsProbe.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "tests/wine/support/GuiDriver.h"
#include "ui/Orvex_GuiResources.h"

namespace orvex::test {

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start >= timeoutMs) return done();
        ::Sleep(20);
    }
    return true;
}

HWND WaitForDialog(DWORD threadId, const std::string& caption, DWORD timeoutMs, HWND except) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND dialog : ThreadDialogs(threadId))
                if (dialog != except && WindowText(dialog) == caption) {
                    found = dialog;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

TDialogProbe::TDialogProbe(std::string caption, TScript script, DWORD timeoutMs)
    : caption_(std::move(caption)),
      script_(std::move(script)),
      timeoutMs_(timeoutMs),
      threadId_(::GetCurrentThreadId()),
      worker_([this] {
          const HWND dialog = WaitForDialog(threadId_, caption_, timeoutMs_);
          if (!dialog) return;
          script_(dialog);
          ran_ = true;
          if (::IsWindow(dialog)) ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      }) {}

TDialogProbe::~TDialogProbe() = default;

bool TDialogProbe::Finish() {
    worker_.join();
    return ran_;
}

void PostClick(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void SendClick(HWND dialog, int id) {
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

std::string ActiveTabCaption(HWND tabs) {
    const int index = TabCtrl_GetCurSel(tabs);
    const std::vector<std::string> captions = TabCaptions(tabs);
    return index >= 0 && static_cast<std::size_t>(index) < captions.size() ? captions[index] : std::string();
}

bool SelectTab(HWND dialog, HWND tabs, const std::string& caption) {
    const std::vector<std::string> captions = TabCaptions(tabs);
    for (std::size_t i = 0; i < captions.size(); ++i) {
        if (captions[i] != caption) continue;
        TabCtrl_SetCurSel(tabs, static_cast<int>(i));
        NMHDR header{tabs, static_cast<UINT_PTR>(::GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
        ::SendMessageA(dialog, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
        return true;
    }
    return false;
}

int ListRowImage(HWND list, int row) {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ::SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

std::vector<int> ListColumnWidths(HWND list) {
    std::vector<int> widths;
    const HWND header = ListView_GetHeader(list);
    const int count = header ? Header_GetItemCount(header) : 0;
    for (int i = 0; i < count; ++i) widths.push_back(ListView_GetColumnWidth(list, i));
    return widths;
}

namespace {

void CollectNodes(HWND tree, HTREEITEM first, int depth, std::vector<TTreeNodeView>& out) {
    for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(tree, item)) {
        char text[512] = {};
        TVITEMA tv{};
        tv.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = sizeof text;
        ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
        out.push_back({item, text, depth, tv.iImage, tv.iSelectedImage, tv.cChildren, tv.lParam});
        CollectNodes(tree, TreeView_GetChild(tree, item), depth + 1, out);
    }
}

void TreeKey(HWND tree, HTREEITEM node, UINT vk) {
    TreeView_SelectItem(tree, node);
    const UINT scan = ::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    ::SendMessageA(tree, WM_KEYDOWN, vk, 1 | (static_cast<LPARAM>(scan) << 16));
    ::SendMessageA(tree, WM_KEYUP, vk, 1 | (static_cast<LPARAM>(scan) << 16) | (3LL << 30));
}

}  // namespace

std::vector<TTreeNodeView> TreeNodes(HWND tree) {
    std::vector<TTreeNodeView> nodes;
    CollectNodes(tree, TreeView_GetRoot(tree), 0, nodes);
    return nodes;
}

void ExpandByKey(HWND tree, HTREEITEM node) { TreeKey(tree, node, VK_RIGHT); }
void CollapseByKey(HWND tree, HTREEITEM node) { TreeKey(tree, node, VK_LEFT); }

std::vector<std::string> CloseOtherDialogs(const std::string& keep, DWORD ms) {
    std::vector<std::string> titles;
    std::vector<HWND> closed;
    const auto others = [&] {
        std::vector<HWND> found;
        for (HWND d : ThreadDialogs(AnyThread))
            if (WindowText(d) != keep) found.push_back(d);
        return found;
    };
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        for (HWND d : others()) {
            if (std::find(closed.begin(), closed.end(), d) == closed.end()) {
                closed.push_back(d);
                titles.push_back(WindowText(d));
            }
            ::PostMessageA(d, WM_CLOSE, 0, 0);
        }
        ::Sleep(50);
    }
    WaitUntil([&] { return others().empty(); }, 5000);
    return titles;
}

HICON ShownIcon(HWND image) { return reinterpret_cast<HICON>(::SendMessageA(image, STM_GETICON, 0, 0)); }

void SaveScreenshot(HWND window, const std::string& name) {
    const char* dir = std::getenv("ORVEX_SCREENSHOT_DIR");
    if (!dir || !*dir) return;
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::Sleep(300);
    RECT r{};
    ::GetWindowRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    orvex::TWindowDC screen(nullptr);
    orvex::TMemoryDC memory(::CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    orvex::TBitmap bitmap(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !memory || !bits) return;
    orvex::TSelectObject use(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
    ::GdiFlush();
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageSize;
    std::ofstream out(std::string(dir) + "\\" + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), imageSize);
}

}  // namespace orvex::test
