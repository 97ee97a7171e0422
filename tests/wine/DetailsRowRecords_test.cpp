// The rows and nodes of the details dialogs carry their records: the move to
// a child process and the growth of a dependency tree act on the record a row
// or node was made from, never on another whose text reads the same.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/PrcDetails.h"
#include "app/PrcDetailsLayout.h"
#include "app/SvcDetails.h"
#include "app/SvcDetailsLayout.h"
#include "engine/OXI_Processes.h"
#include "tests/wine/DetailsProbe.h"
#include "tests/wine/support/GuiDriver.h"

namespace {

using orvex::test::TDialogProbe;
using orvex::test::TTreeNodeView;
using orvex::test::WindowText;

orvex::TProcessInfo Process(std::uint32_t pid, std::uint32_t parent, std::int64_t created, const char* name) {
    orvex::TProcessInfo p;
    p.PID = pid;
    p.ParentPID = parent;
    p.CreateTime = created;
    p.Name = name;
    return p;
}

orvex::TServiceInfo Service(const char* key, const char* display, const char* dependOn) {
    orvex::TServiceInfo s;
    s.Name = key;
    s.DisplayName = display;
    s.DependOnService = dependOn;
    s.Status = 1;
    s.Startup = 3;
    return s;
}

// The texts of the children of Node, after expanding it.
std::vector<std::string> ChildTexts(HWND tree, HTREEITEM node) {
    orvex::test::ExpandByKey(tree, node);
    std::vector<std::string> texts;
    for (HTREEITEM child = TreeView_GetChild(tree, node); child; child = TreeView_GetNextSibling(tree, child)) {
        for (const TTreeNodeView& n : orvex::test::TreeNodes(tree))
            if (n.Item == child) texts.push_back(n.Text);
    }
    return texts;
}

TEST(DetailsRowRecords, AChildWhoseProcessIdWasReusedIsNotEntered) {
    orvex::TOrvex_ProcessList records;
    records.AddProcess(Process(100, 4, 10, "parent.exe"));
    records.AddProcess(Process(200, 100, 20, "child.exe"));
    std::string before, after;
    TDialogProbe probe("Process Details", [&](HWND dialog) {
        const HWND children = GetDlgItem(dialog, orvex::IdPrcCPList);
        orvex::test::SelectListRow(children, 0);
        // The child ended and a later process got its identifier; the list
        // still shows the child's row.
        records.Clear();
        records.AddProcess(Process(100, 4, 10, "parent.exe"));
        records.AddProcess(Process(200, 100, 90, "later.exe"));
        before = WindowText(GetDlgItem(dialog, orvex::IdDetailsName));
        orvex::test::SendClick(dialog, orvex::IdPrcGoToProcess);
        after = WindowText(GetDlgItem(dialog, orvex::IdDetailsName));
    });
    orvex::ShowProcessDetails(nullptr, records, 0);
    ASSERT_TRUE(probe.Finish());
    EXPECT_EQ(before, "parent.exe");
    EXPECT_EQ(after, "parent.exe");
}

TEST(DetailsRowRecords, SortedChildRowsEnterTheirOwnProcess) {
    orvex::TOrvex_ProcessList records;
    records.AddProcess(Process(100, 4, 10, "parent.exe"));
    records.AddProcess(Process(200, 100, 20, "b.exe"));
    records.AddProcess(Process(300, 100, 30, "a.exe"));
    orvex::ResetSortState();
    std::string entered;
    TDialogProbe probe("Process Details", [&](HWND dialog) {
        const HWND children = GetDlgItem(dialog, orvex::IdPrcCPList);
        orvex::test::ClickColumnHeader(children, 1);  // by name: a.exe first
        if (orvex::test::ListRow(children, 0).at(1) != "a.exe") return;
        orvex::test::SelectListRow(children, 0);
        orvex::test::SendClick(dialog, orvex::IdPrcGoToProcess);
        entered = WindowText(GetDlgItem(dialog, orvex::IdDetailsName));
    });
    orvex::ShowProcessDetails(nullptr, records, 0);
    ASSERT_TRUE(probe.Finish());
    orvex::ResetSortState();
    EXPECT_EQ(entered, "a.exe");
}

// Two services whose display names the ANSI code page turned into the same
// "Windows ??": each node grows the dependencies of its own service.
TEST(DetailsRowRecords, DependencyNodesOfTheSameTextGrowTheirOwnService) {
    orvex::TOrvex_ProcessList records;
    records.AddService(Service("Both", "Both Service", "Upd Tim"));
    records.AddService(Service("Upd", "Windows ??", "Net"));
    records.AddService(Service("Tim", "Windows ??", ""));
    records.AddService(Service("Net", "Net Service", ""));
    std::vector<std::vector<std::string>> dep1Children;
    TDialogProbe probe("Service Details", [&](HWND d) {
        const HWND tree = GetDlgItem(d, orvex::IdSvcDep1Tree);
        for (const TTreeNodeView& n : orvex::test::TreeNodes(tree))
            if (n.Depth == 0) dep1Children.push_back(ChildTexts(tree, n.Item));
    });
    orvex::ShowServiceDetails(nullptr, records, 0);  // Both depends on the two
    ASSERT_TRUE(probe.Finish());
    // Upd depends on Net, Tim on nothing.
    ASSERT_EQ(dep1Children.size(), 2u);
    EXPECT_EQ(std::count(dep1Children.begin(), dep1Children.end(), std::vector<std::string>{"Net Service"}), 1);
    EXPECT_EQ(std::count(dep1Children.begin(), dep1Children.end(), std::vector<std::string>{}), 1);
}

TEST(DetailsRowRecords, DependentNodesOfTheSameTextGrowTheirOwnService) {
    orvex::TOrvex_ProcessList records;
    records.AddService(Service("Net", "Net Service", ""));
    records.AddService(Service("Upd", "Windows ??", "Net"));
    records.AddService(Service("Tim", "Windows ??", "Net"));
    records.AddService(Service("User", "User Service", "Tim"));
    std::vector<std::vector<std::string>> grown;
    TDialogProbe probe("Service Details", [&](HWND d) {
        const HWND tree = GetDlgItem(d, orvex::IdSvcDep2Tree);
        for (const TTreeNodeView& n : orvex::test::TreeNodes(tree))
            if (n.Depth == 0) grown.push_back(ChildTexts(tree, n.Item));
    });
    orvex::ShowServiceDetails(nullptr, records, 0);
    ASSERT_TRUE(probe.Finish());
    // Nothing depends on Upd; User depends on Tim.
    ASSERT_EQ(grown.size(), 2u);
    EXPECT_EQ(std::count(grown.begin(), grown.end(), std::vector<std::string>{"User Service"}), 1);
    EXPECT_EQ(std::count(grown.begin(), grown.end(), std::vector<std::string>{}), 1);
}

}  // namespace
