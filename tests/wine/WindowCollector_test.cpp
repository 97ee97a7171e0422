// The window tree: the desktop first, then every window followed directly
// by its whole subtree.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_Processes.h"
#include "platform/Orvex_WindowInfo.h"
#include "platform/Orvex_WindowText.h"
#include "tests/wine/support/HelperProcess.h"
#include "tests/wine/support/TestThread.h"
#include "ui/Orvex_GuiResources.h"

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
        orvex::TWindowHandle shown(::CreateWindowExA(0, wc.lpszClassName, "shown", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                                     0, 200, 100, nullptr, nullptr, inst, nullptr));
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
    // At least 30 walks, and more (within a bound) until one has met the
    // helper's windows: on a loaded machine the helper may start churning late.
    for (int round = 0; round < 30 || (helpersWindows == 0 && round < 1000); ++round) {
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

// A thread of this process that owns a top-level window with a child and then
// stops answering messages until it is released (or a minute has passed,
// which it records: anything that waited for it that long waited on it).
class THungThread {
public:
    THungThread()
        : ready_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          release_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          thread_([this] { Run(); }) {
        ::WaitForSingleObject(ready_.get(), 10000);
    }
    ~THungThread() { Release(); }
    void Release() {
        ::SetEvent(release_.get());
        thread_.join();
    }
    HWND top() const { return top_; }
    HWND child() const { return child_; }
    DWORD id() const { return id_; }
    bool waitedOut() const { return waitedOut_; }

private:
    void Run() {
        id_ = ::GetCurrentThreadId();
        top_ = ::CreateWindowExA(0, "STATIC", "Hung window", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                 nullptr);
        child_ = ::CreateWindowExA(0, "STATIC", "Hung child", WS_CHILD, 0, 0, 10, 10, top_, nullptr, nullptr, nullptr);
        ::SetEvent(ready_.get());
        waitedOut_ = ::WaitForSingleObject(release_.get(), 60000) != WAIT_OBJECT_0;
        if (top_) ::DestroyWindow(top_);
    }
    orvex::THandle ready_, release_;
    HWND top_ = nullptr, child_ = nullptr;
    DWORD id_ = 0;
    bool waitedOut_ = false;
    orvex::test::TTestThread thread_;
};

// The walk reads no window text by waiting on the thread that owns the
// window: a hung thread of this process (whose windows a plain text request
// would wait on) and a hung process leave the walk finishing, with their
// windows listed and their texts either as the system keeps them or empty.
TEST(AllModesWindowCollector, HungThreadsAndProcessesDoNotHoldUpTheWalk) {
    orvex::test::THelperProcess helper("--hang");
    ASSERT_TRUE(helper.started());
    ASSERT_TRUE(helper.hasWindow());
    orvex::THandle resume(::OpenEventA(EVENT_MODIFY_STATE, FALSE, helper.value("resume").c_str()));
    ASSERT_TRUE(resume);
    THungThread hung;
    ASSERT_NE(hung.top(), nullptr);
    ASSERT_NE(hung.child(), nullptr);

    TWindowList list;
    orvex::test::TTestThread walker([&] { Collect(list); });
    const bool finished = walker.finished(30000);
    ::SetEvent(resume.get());
    hung.Release();
    walker.join();
    ASSERT_TRUE(finished) << "the walk waited on a hung window";
    EXPECT_FALSE(hung.waitedOut());

    const int helpers = IndexOf(list, helper.hex("hwnd"));
    ASSERT_GT(helpers, 0);
    EXPECT_TRUE(list[helpers].Text == "Orvex Test Helper" || list[helpers].Text.empty()) << list[helpers].Text.str();
    EXPECT_EQ(list[helpers].ClassName, "OrvexTestHelperWnd");
    const int top = IndexOf(list, reinterpret_cast<std::uintptr_t>(hung.top()));
    ASSERT_GT(top, 0);
    ASSERT_LT(top + 1, static_cast<int>(list.size()));
    EXPECT_EQ(list[top + 1].Handle, reinterpret_cast<std::uintptr_t>(hung.child()));
    EXPECT_EQ(list[top].ThreadID, hung.id());
    EXPECT_TRUE(list[top].Text == "Hung window" || list[top].Text.empty()) << list[top].Text.str();
}

// Both forms of reading a window's text on live windows: a window of this
// thread, the helper's answering window, a title longer than a record holds,
// a hung thread's windows and a destroyed window.
TEST(AllModesWindowText, BothFormsReadLiveWindowsAndNeitherWaitsOnAHungOne) {
    using TSource = orvex::TWindowTextReader::TSource;
    orvex::test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    ASSERT_TRUE(helper.hasWindow());
    const HWND helpers = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(helper.hex("hwnd")));
    const std::string longTitle(300, 'x');
    orvex::TWindowHandle own(
        ::CreateWindowExA(0, "STATIC", "Own window", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr));
    orvex::TWindowHandle longOne(
        ::CreateWindowExA(0, "STATIC", longTitle.c_str(), WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(own);
    ASSERT_TRUE(longOne);
    const std::string cut(orvex::WindowTextCapacity, 'x');

    EXPECT_EQ(orvex::SendForWindowText(own.get(), orvex::WindowTextWaitMs), "Own window");
    EXPECT_EQ(orvex::SendForWindowText(helpers, orvex::WindowTextWaitMs), "Orvex Test Helper");
    EXPECT_EQ(orvex::SendForWindowText(longOne.get(), orvex::WindowTextWaitMs), cut);
    if (orvex::InternalWindowTextBound()) {
        EXPECT_EQ(orvex::ReadStoredWindowText(own.get()), "Own window");
        EXPECT_EQ(orvex::ReadStoredWindowText(helpers), "Orvex Test Helper");
        EXPECT_EQ(orvex::ReadStoredWindowText(longOne.get()), cut);
    } else {
        EXPECT_FALSE(orvex::ReadStoredWindowText(own.get()).has_value());
    }
    for (TSource source : {TSource::Stored, TSource::Message}) {
        if (source == TSource::Stored && !orvex::InternalWindowTextBound()) continue;
        orvex::TWindowTextReader reader(source);
        EXPECT_EQ(reader.Read(own.get(), ::GetCurrentThreadId()), "Own window");
        EXPECT_EQ(reader.Read(longOne.get(), ::GetCurrentThreadId()), cut);
        EXPECT_EQ(reader.Read(helpers, static_cast<DWORD>(std::stoul(helper.value("tid")))), "Orvex Test Helper");
    }

    {
        THungThread hung;
        ASSERT_NE(hung.top(), nullptr);
        std::optional<std::string> sent{"not asked"}, stored;
        std::string messageTop{"not asked"}, messageChild{"not asked"}, storedTop;
        orvex::test::TTestThread reader([&] {
            sent = orvex::SendForWindowText(hung.top(), orvex::WindowTextWaitMs);
            orvex::TWindowTextReader byMessage(TSource::Message);
            messageTop = byMessage.Read(hung.top(), hung.id());
            messageChild = byMessage.Read(hung.child(), hung.id());
            stored = orvex::ReadStoredWindowText(hung.top());
            orvex::TWindowTextReader byDefault;
            storedTop = byDefault.Read(hung.top(), hung.id());
        });
        const bool finished = reader.finished(30000);
        hung.Release();
        reader.join();
        ASSERT_TRUE(finished) << "a text request waited on a hung thread";
        EXPECT_FALSE(hung.waitedOut());
        EXPECT_FALSE(sent.has_value()) << *sent;
        EXPECT_EQ(messageTop, "");
        EXPECT_EQ(messageChild, "");
        if (orvex::InternalWindowTextBound()) {
            EXPECT_EQ(stored, "Hung window");
            EXPECT_EQ(storedTop, "Hung window");
        } else {
            EXPECT_EQ(storedTop, "");
        }
    }

    const HWND gone = own.get();
    own.reset();
    EXPECT_FALSE(orvex::SendForWindowText(gone, orvex::WindowTextWaitMs).has_value());
    EXPECT_FALSE(orvex::ReadStoredWindowText(gone).has_value());
    EXPECT_EQ(orvex::TWindowTextReader(TSource::Message).Read(gone, 1), "");
}

}  // namespace
