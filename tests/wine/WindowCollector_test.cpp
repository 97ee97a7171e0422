// The window tree: the desktop first, then every window followed directly
// by its whole subtree.
#include <windows.h>

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_Processes.h"
#include "platform/Orvex_WindowInfo.h"
#include "ui/Orvex_GuiResources.h"
#include "tests/wine/support/HelperProcess.h"

namespace {

using orvex::TWindowInfo;
using orvex::TWindowList;

bool Has(const std::vector<std::string>& names, const char* name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

int IndexOf(const TWindowList& list, std::uintptr_t handle) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].Handle == handle) return static_cast<int>(i);
    return -1;
}

void Collect(TWindowList& list) { orvex::CollectWindows(list); }

TEST(AllModesWindowCollector, DesktopFirstThenEveryWindowOnce) {
    TWindowList list;
    Collect(list);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list[0].Handle, reinterpret_cast<std::uintptr_t>(::GetDesktopWindow()));
    std::set<std::uintptr_t> handles;
    for (const TWindowInfo& w : list) EXPECT_TRUE(handles.insert(w.Handle).second) << w.Handle;
    // Pre-order: a window's parent comes before it.
    for (std::size_t i = 1; i < list.size(); ++i) {
        const HWND parent = ::GetAncestor(reinterpret_cast<HWND>(list[i].Handle), GA_PARENT);
        const int p = IndexOf(list, reinterpret_cast<std::uintptr_t>(parent));
        if (p >= 0) EXPECT_LT(p, static_cast<int>(i));
    }
}

TEST(AllModesWindowCollector, TheHelpersWindowIsFollowedByItsControls) {
    orvex::test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    ASSERT_TRUE(helper.hasWindow());
    TWindowList list;
    Collect(list);
    const int main = IndexOf(list, helper.hex("hwnd"));
    ASSERT_GT(main, 0);
    ASSERT_LT(main + 2, static_cast<int>(list.size()));
    const std::set<std::uintptr_t> children{list[main + 1].Handle, list[main + 2].Handle};
    EXPECT_EQ(children, (std::set<std::uintptr_t>{helper.hex("button"), helper.hex("edit")}));

    const TWindowInfo& w = list[main];
    EXPECT_EQ(w.ClassName, "OrvexTestHelperWnd");
    EXPECT_EQ(w.Text, "Orvex Test Helper");
    EXPECT_EQ(w.ProcessID, helper.pid());
    EXPECT_TRUE(Has(w.ClassStyleNames, "CS_DBLCLKS"));
    for (int i : {main + 1, main + 2}) {
        const TWindowInfo& c = list[i];
        EXPECT_EQ(c.ParentWindow, w.Handle);
        EXPECT_TRUE(Has(c.StyleNames, "WS_CHILD"));
        EXPECT_TRUE(Has(c.StyleNames, "WS_VISIBLE"));
    }
    const TWindowInfo& edit = list[IndexOf(list, helper.hex("edit"))];
    EXPECT_EQ(edit.ClassName.str().size(), 4u);
    EXPECT_TRUE(Has(edit.ExStyleNames, "WS_EX_CLIENTEDGE"));
}

// The walk reads each class once and derives visibility from the parent's:
// every record of the helper's windows and of this process's equals the
// description of its window on its own. This process registers a class of
// the helper's class name with other class data, and holds a hidden window
// with a child of the visible style, two children of one class, and a
// visible window with a visible child.
TEST(AllModesWindowCollector, EachRecordEqualsItsWindowDescribedAlone) {
    orvex::test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    ASSERT_TRUE(helper.hasWindow());
    const HINSTANCE inst = ::GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.style = CS_NOCLOSE;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.cbWndExtra = 16;
    wc.hInstance = inst;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "OrvexTestHelperWnd";
    const ATOM atom = ::RegisterClassA(&wc);
    ASSERT_NE(atom, 0);
    {
        orvex::TWindowHandle hidden(::CreateWindowExA(0, wc.lpszClassName, "hidden", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                                      100, nullptr, nullptr, inst, nullptr));
        orvex::TWindowHandle shown(::CreateWindowExA(0, wc.lpszClassName, "shown", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                                     0, 0, 200, 100, nullptr, nullptr, inst, nullptr));
        ASSERT_TRUE(hidden);
        ASSERT_TRUE(shown);
        for (HWND parent : {hidden.get(), shown.get()})
            for (const char* text : {"one", "two"})
                ASSERT_NE(::CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent, nullptr,
                                            inst, nullptr),
                          nullptr);
        TWindowList list;
        Collect(list);
        int ours = 0, helpers = 0, visible = 0, hiddenVisibleStyle = 0;
        for (const TWindowInfo& w : list) {
            if (w.ProcessID != ::GetCurrentProcessId() && w.ProcessID != helper.pid()) continue;
            TWindowInfo alone;
            ASSERT_TRUE(orvex::DescribeWindow(reinterpret_cast<HWND>(w.Handle), alone));
            EXPECT_TRUE(w == alone) << w.ClassName.str() << " \"" << w.Text.str() << "\" " << std::hex << w.Handle
                                    << (w.Visible == alone.Visible ? "" : " visibility")
                                    << (w.ClassStyle == alone.ClassStyle ? "" : " class style")
                                    << (w.Background == alone.Background ? "" : " background")
                                    << (w.WindowExtra == alone.WindowExtra ? "" : " window extra");
            ++(w.ProcessID == helper.pid() ? helpers : ours);
            if (w.Visible) ++visible;
            if (!w.Visible && (w.Style & WS_VISIBLE)) ++hiddenVisibleStyle;
        }
        EXPECT_GE(ours, 6);
        EXPECT_GE(helpers, 3);
        EXPECT_GE(visible, 3);
        EXPECT_GE(hiddenVisibleStyle, 2) << "the hidden window's children";
    }
    ::UnregisterClassA(wc.lpszClassName, inst);
}

// Windows that another process destroys while the walk runs leave no record
// behind, in the refreshed window list as in the collector's own.
TEST(AllModesWindowCollector, WindowsDestroyedDuringTheWalkLeaveNoEmptyRecord) {
    orvex::test::THelperProcess helper("--no-window --churn");
    ASSERT_TRUE(helper.started());
    orvex::TOrvex_ProcessList component;
    component.DetectionRange = orvex::TDetectionRange{orvex::dtWindows};
    int helpersWindows = 0;
    for (int round = 0; round < 30; ++round) {
        component.RefreshData();
        ASSERT_GT(component.WindowCount(), 0);
        for (int i = 0; i < component.WindowCount(); ++i) {
            TWindowInfo w;
            component.GetWindow(static_cast<std::uint32_t>(i), w);
            ASSERT_NE(w.Handle, 0u) << "record " << i << " of round " << round;
            if (w.ProcessID == helper.pid()) ++helpersWindows;
        }
        TWindowList list;
        Collect(list);
        for (const TWindowInfo& w : list) ASSERT_NE(w.Handle, 0u) << "round " << round;
    }
    EXPECT_GT(helpersWindows, 0) << "the walks met the helper's short-lived windows";
}

}  // namespace
