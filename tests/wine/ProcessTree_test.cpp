// The process tree of the main window: the helper, its child and its
// grandchild stand indented under the test process; a click on a column
// header sorts the list flat, and the next "Process tree" brings the tree
// back. Modern and NT 4 modes.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "app/MainLayout.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/HelperProcess.h"

namespace {

using namespace orvex::app;
using Strings = std::vector<std::string>;

// The row of process Pid and its depth (the name's indent in blanks, three
// per level); -1 for none.
struct TTreeCell {
    int Row = -1;
    int Depth = -1;
};

TTreeCell FindProcessRow(HWND list, std::uint32_t pid) {
    const int row = orvex::test::FindListRow(list, 1, std::to_string(pid));
    if (row < 0) return {};
    const std::string name = orvex::test::ListRow(list, row)[0];
    const std::size_t blanks = name.find_first_not_of(' ');
    return {row, static_cast<int>(blanks == std::string::npos ? name.size() : blanks) / 3};
}

bool TreeChecked(Twnd_Main& w) {
    const HMENU bar = GetMenu(w.Handle());
    for (int i = 0; i < GetMenuItemCount(bar); ++i)
        if (const HMENU popup = GetSubMenu(bar, i))
            if (const UINT state = GetMenuState(popup, cmProcessTreeId, MF_BYCOMMAND); state != static_cast<UINT>(-1))
                return (state & MF_CHECKED) != 0;
    ADD_FAILURE() << "no menu holds Process tree";
    return false;
}

// The grandchild of the helper: the process whose parent is the helper's
// child, once a refresh shows it.
std::uint32_t Grandchild(Twnd_Main& w, std::uint32_t child) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        w.RefreshView(false);
        for (int i = 0; i < w.ProcList.ProcessCount(); ++i) {
            orvex::TProcessInfo p;
            w.ProcList.GetProcess(static_cast<std::uint32_t>(i), p);
            if (p.ParentPID == child && p.PID != child) return p.PID;
        }
        Sleep(100);
    }
    return 0;
}

void ExpectTheChainAsATree() {
    orvex::ResetSortState();
    Twnd_Main w(nullptr, false);
    auto helper = std::make_unique<orvex::test::THelperProcess>("--no-window --chain=2");
    ASSERT_TRUE(helper->started());
    const auto child = static_cast<std::uint32_t>(std::stoul(helper->value("child")));
    ASSERT_NE(child, 0u);
    const std::uint32_t grandchild = Grandchild(w, child);
    ASSERT_NE(grandchild, 0u) << "the grandchild did not start";
    EXPECT_FALSE(w.ProcessTreeShown()) << "off by default";
    EXPECT_EQ(FindProcessRow(w.PrcList(), helper->pid()).Depth, 0) << "flat: no indent";

    orvex::test::SendCommand(w.Handle(), cmProcessTreeId);
    EXPECT_TRUE(w.ProcessTreeShown());
    EXPECT_TRUE(TreeChecked(w));
    EXPECT_EQ(ListView_GetItemCount(w.PrcList()), w.ProcList.ProcessCount()) << "every process once";
    const TTreeCell self = FindProcessRow(w.PrcList(), GetCurrentProcessId());
    const TTreeCell h = FindProcessRow(w.PrcList(), helper->pid());
    const TTreeCell c = FindProcessRow(w.PrcList(), child);
    const TTreeCell g = FindProcessRow(w.PrcList(), grandchild);
    ASSERT_GE(self.Row, 0);
    ASSERT_GE(h.Row, 0);
    ASSERT_GE(c.Row, 0);
    ASSERT_GE(g.Row, 0);
    EXPECT_EQ(h.Depth, self.Depth + 1);
    EXPECT_EQ(c.Depth, self.Depth + 2);
    EXPECT_EQ(g.Depth, self.Depth + 3);
    EXPECT_LT(self.Row, h.Row);
    EXPECT_LT(h.Row, c.Row);
    EXPECT_LT(c.Row, g.Row);
    // The helper's subtree stands together under it.
    for (int row = h.Row + 1; row <= g.Row; ++row)
        EXPECT_GT(FindProcessRow(w.PrcList(),
                                 static_cast<std::uint32_t>(std::stoul(orvex::test::ListRow(w.PrcList(), row)[1])))
                      .Depth,
                  h.Depth)
            << "row " << row;
    // Each row carries its own record: the child's row is the child's.
    orvex::test::SelectListRow(w.PrcList(), c.Row);
    EXPECT_EQ(orvex::test::ListRow(w.PrcList(), c.Row)[1], std::to_string(child));

    // A click on a header sorts flat; the next "Process tree" brings it back.
    orvex::test::ClickColumnHeader(w.PrcList(), 1);
    EXPECT_FALSE(w.ProcessTreeShown());
    EXPECT_FALSE(TreeChecked(w));
    EXPECT_EQ(FindProcessRow(w.PrcList(), grandchild).Depth, 0);
    orvex::test::SendCommand(w.Handle(), cmProcessTreeId);
    EXPECT_TRUE(w.ProcessTreeShown());
    EXPECT_EQ(FindProcessRow(w.PrcList(), grandchild).Depth, g.Depth);
    // F5 keeps the tree.
    w.RefreshView(false);
    EXPECT_EQ(FindProcessRow(w.PrcList(), helper->pid()).Depth, h.Depth);
    orvex::ResetSortState();
    // The chain ends with the helper: no link outlives the test.
    const HANDLE last = OpenProcess(SYNCHRONIZE, FALSE, grandchild);
    helper.reset();
    if (last) {
        EXPECT_EQ(WaitForSingleObject(last, 10000), WAIT_OBJECT_0);
        CloseHandle(last);
    }
}

TEST(ProcessTreeView, TheHelpersChildrenIndentedUnderIt) { ExpectTheChainAsATree(); }

TEST(Nt40ProcessTreeView, TheHelpersChildrenIndentedUnderIt) { ExpectTheChainAsATree(); }

}  // namespace
