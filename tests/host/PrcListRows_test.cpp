#include <gtest/gtest.h>

#include "app/pure/PrcListRows.h"

using namespace orvex;

namespace {

TProcessInfo Proc(std::uint32_t pid, std::uint32_t parent, const char* name) {
    TProcessInfo p;
    p.PID = pid;
    p.ParentPID = parent;
    p.Name = name;
    return p;
}

TWindowInfo Window(std::uintptr_t handle, std::uint32_t pid, std::uintptr_t parent, const char* text, const char* cls,
                   bool visible = true) {
    TWindowInfo w;
    w.Handle = handle;
    w.ProcessID = pid;
    w.ParentWindow = parent;
    w.Text = text;
    w.ClassName = cls;
    w.Visible = visible;
    return w;
}

}  // namespace

TEST(ProcessListPages, CountedCaptions) {
    EXPECT_EQ(ModulesCaption(12), " Modules (12) ");
    EXPECT_EQ(ThreadsCaption(0), " Threads (0) ");
    EXPECT_EQ(ChildProcsCaption(3), " Child Procs (3) ");
    EXPECT_EQ(HandlesCaption(1024), " Handles (1024) ");
    EXPECT_EQ(WindowsCaption(0), " Windows (0) ");
}

TEST(ModuleRows, CellsInColumnOrder) {
    TModuleInfo m;
    m.Name = "kernel32.dll";
    m.ImageName = "C:\\windows\\system32\\kernel32.dll";
    m.Size = 0xC0000;
    m.Base = 0x7FFE0000;
    m.EntryPoint = 0x7FFE1234;
    TModuleInfo empty;
    const TListRows rows = ModuleRows({m, empty});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (TListRow{"kernel32.dll", "786432", "0x7FFE0000", "0x7FFE1234",
                                 "C:\\windows\\system32\\kernel32.dll", ""}));
    EXPECT_EQ(rows[1], (TListRow{"", "0", "0x0", "0x0", "", ""}));
    EXPECT_EQ(rows[0].size(), std::size(ModuleColumns));
    EXPECT_STREQ(ModuleColumns[ModulePathColumn].Caption, "Location");
}

TEST(ThreadRows, StateNamesAndWaitReasons) {
    EXPECT_EQ(ThreadStateText(5, 6), "Wait:UserRequest");
    EXPECT_EQ(ThreadStateText(5, 13), "Wait:WrUserRequest");
    EXPECT_EQ(ThreadStateText(2, 6), "Running");  // the wait reason only counts while waiting
    EXPECT_EQ(ThreadStateText(0, 0), "Initialized");
    // Values beyond the name tables show their number.
    EXPECT_EQ(ThreadStateText(42, 0), "Unknown (42)");
    EXPECT_EQ(ThreadStateText(5, 99), "Wait:Unknown (99)");
}

TEST(ThreadRows, NtFamily) {
    TThreadInfo t;
    t.TID = 2000;
    t.StartAddress = 0x401000;
    t.BasePriority = 8;
    t.Priority = 10;
    t.ThreadState = 5;
    t.WaitReason = 6;
    t.ContextSwitches = 12345;
    t.KernelTime = 36'000'000'000;  // one hour
    t.UserTime = 15'000'000;        // 1.5 s
    const TListRows rows = ThreadRows({t}, true);
    ASSERT_EQ(rows.size(), 1u);
    const std::string start = "0x" + FormatPointer(0x401000);
    EXPECT_EQ(rows[0], (TListRow{"2000", start, "8", "10", "Wait:UserRequest", "12345", "01:00:00", "00:00:02"}));
    EXPECT_EQ(start.size(), 2 + 2 * sizeof(std::uintptr_t));
    EXPECT_EQ(ThreadColumnWidths(true), (std::array<int, 8>{50, AddressColumnWidth, 55, 50, 100, 85, 70, 70}));
    EXPECT_EQ(AddressColumnWidth, sizeof(void*) == 8 ? 120 : 80);
}

TEST(ThreadRows, NineXFamilyShowsPrefixedHexIdsAndOnlyThePriorities) {
    TThreadInfo t;
    t.TID = 0xFFFA1234;
    t.BasePriority = 8;
    t.Priority = 9;
    const TListRows rows = ThreadRows({t}, false);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "0xFFFA1234");
    EXPECT_EQ(rows[0][2], "8");
    EXPECT_EQ(rows[0][3], "9");
    const std::array<int, 8> widths = ThreadColumnWidths(false);
    EXPECT_EQ(widths, (std::array<int, 8>{80, 0, 55, 50, 0, 0, 0, 0}));
}

TEST(ChildProcessRows, ChildrenInListOrder) {
    const TProcList procs{Proc(0, 0, "[System Process]"), Proc(4, 0, "System"), Proc(100, 4, "smss.exe"),
                          Proc(200, 100, "csrss.exe"), Proc(300, 100, "winlogon.exe")};
    EXPECT_EQ(ChildProcessRows(procs, 100, true), (TListRows{{"200", "csrss.exe"}, {"300", "winlogon.exe"}}));
    EXPECT_EQ(ChildProcessRows(procs, 200, true), TListRows{});
    EXPECT_EQ(ChildProcessRows(procs, 4, false), (TListRows{{"64", "smss.exe"}}));
}

TEST(ChildProcessRows, IdleProcessListsItselfAndEveryOrphanOfZero) {
    const TProcList procs{Proc(0, 0, "[System Process]"), Proc(4, 0, "System"), Proc(100, 4, "smss.exe")};
    EXPECT_EQ(ChildProcessRows(procs, 0, true), (TListRows{{"0", "[System Process]"}, {"4", "System"}}));
}

TEST(SecurityRows, GroupsThenPrivileges) {
    TTokenGroupInfo unresolved{"S-1-5-5-0-12345", "", "", 0xC0000007};
    TTokenGroupInfo withDomain{"S-1-5-32-544", "BUILTIN", "Administrators", 0xF};
    TTokenGroupInfo noDomain{"S-1-1-0", "", "Everyone", 0x7};
    TPrivilegeInfo enabled{"SeDebugPrivilege", "", 0x2};
    TPrivilegeInfo byDefaultOnly{"SeChangeNotifyPrivilege", "", 0x1};
    TPrivilegeInfo both{"SeShutdownPrivilege", "", 0x3};
    const TPropertyRows rows = SecurityRows({unresolved, withDomain, noDomain}, {enabled, byDefaultOnly, both});
    const TPropertyRows expected{
        {TRowStyle::Heading, "Groups", {}},
        PlainRow("S-1-5-5-0-12345", "0xC0000007"),
        PlainRow("BUILTIN\\Administrators", "0xF"),
        PlainRow("Everyone", "0x7"),
        SeparatorRow(),
        {TRowStyle::Heading, "Privileges", {}},
        CheckBoxRow("SeDebugPrivilege", true),
        {TRowStyle::CheckBox, "SeChangeNotifyPrivilege", {"0"}},
        {TRowStyle::CheckBox, "SeShutdownPrivilege", {"1"}},
    };
    EXPECT_EQ(rows, expected);
}

TEST(SecurityRows, EmptyTokenKeepsTheHeadings) {
    const TPropertyRows rows = SecurityRows({}, {});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Caption, "Groups");
    EXPECT_EQ(rows[1].Style, TRowStyle::Separator);
    EXPECT_EQ(rows[2].Caption, "Privileges");
}

TEST(HandleRows, OnlyTheProcessesOwnHandles) {
    THandleInfo a{10, 0x4, 0, 0x1F0003, 0, "", "Event"};
    THandleInfo b{11, 0x8, 0, 0x120089, 0, "\\Device\\HarddiskVolume1\\x.txt", "File"};
    THandleInfo c{10, 0x1C, 0, 0x1F0001, 0, "\\BaseNamedObjects\\M", "Mutant"};
    EXPECT_EQ(HandleRows({a, b, c}, 10),
              (TListRows{{"0x4", "Event", "0x1F0003", ""}, {"0x1C", "Mutant", "0x1F0001", "\\BaseNamedObjects\\M"}}));
    EXPECT_EQ(HandleRows({a, b, c}, 12), TListRows{});
}

TEST(WindowTree, NodeText) {
    EXPECT_EQ(WindowNodeText(Window(0x1A2B, 1, 0, "Orvex Test Helper", "OrvexTestHelperWnd")),
              "(0x1A2B) \"Orvex Test Helper\": OrvexTestHelperWnd");
    EXPECT_EQ(WindowNodeText(Window(0x10, 1, 0, "", "Static")), "(0x10) \"\": Static");
}

TEST(WindowTree, ChildrenUnderTheirParentsOthersTopLevel) {
    const TWindowList windows{
        Window(0x100, 7, 0, "Main", "Frame"),
        Window(0x200, 9, 0, "Other", "Frame"),  // another process
        Window(0x110, 7, 0x100, "OK", "Button", false),
        Window(0x120, 7, 0x100, "Edit", "Edit"),
        Window(0x121, 7, 0x120, "Inner", "Static"),
        Window(0x130, 7, 0x200, "Owned", "Dialog"),  // parent in another process
        Window(0x140, 7, 0x999, "Lost", "Dialog"),   // parent not in the list
    };
    const std::vector<TWindowNode> nodes = WindowTreeNodes(windows, 7);
    ASSERT_EQ(nodes.size(), 6u);
    EXPECT_EQ(nodes[0], (TWindowNode{0x100, -1, "(0x100) \"Main\": Frame", 1}));
    EXPECT_EQ(nodes[1], (TWindowNode{0x110, 0, "(0x110) \"OK\": Button", 0}));
    EXPECT_EQ(nodes[2].Parent, 0);
    EXPECT_EQ(nodes[3].Handle, 0x121u);
    EXPECT_EQ(nodes[3].Parent, 2);
    EXPECT_EQ(nodes[4].Parent, -1);
    EXPECT_EQ(nodes[5].Parent, -1);
    EXPECT_TRUE(WindowTreeNodes(windows, 8).empty());
}

TEST(WindowTree, ChildListedBeforeItsParentIsTopLevel) {
    const TWindowList windows{Window(0x110, 7, 0x100, "Early", "Button"), Window(0x100, 7, 0, "Late", "Frame")};
    const std::vector<TWindowNode> nodes = WindowTreeNodes(windows, 7);
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0].Parent, -1);
    EXPECT_EQ(nodes[1].Parent, -1);
}
