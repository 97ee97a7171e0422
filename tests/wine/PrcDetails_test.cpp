// The process details dialog on live data: the test helper process, its
// threads, handles and windows, and this test process as its parent.
#include <gtest/gtest.h>

#include "app/PrcDetails.h"

#include <algorithm>
#include <cstdio>

#include "app/PrcDetailsLayout.h"
#include "app/pure/DetailsText.h"
#include "app/pure/PrcListRows.h"
#include "engine/OXI_ImageChecks.h"
#include "engine/OXI_Processes.h"
#include "platform/pure/Orvex_NameTables.h"
#include "platform/pure/Orvex_ScopeExit.h"
#include "tests/wine/DetailsProbe.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/HelperProcess.h"
#include "tests/wine/support/Signing.h"
#include "tests/wine/support/TempFile.h"
#include "tests/wine/support/TestMode.h"
#include "ui/pure/Orvex_OwnerDraw.h"
#include "ui/pure/Orvex_SortState.h"

namespace {

using orvex::test::ListHeaders;
using orvex::test::ListRows;
using orvex::test::TDialogProbe;
using orvex::test::WindowText;
using Rows = std::vector<std::vector<std::string>>;
using Strings = std::vector<std::string>;

std::string Hex0x(unsigned long long v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llX", v);
    return buf;
}

// The value of the property row with Caption, or "<none>".
std::string Value(const Rows& rows, const std::string& caption) {
    for (const auto& r : rows)
        if (!r.empty() && r[0] == caption) return r.size() > 1 ? r[1] : "";
    return "<none>";
}

int RowOf(const Rows& rows, const std::string& caption) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (!rows[i].empty() && rows[i][0] == caption) return static_cast<int>(i);
    return -1;
}

class PrcDetails : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(helper.started());
        list.DetectionRange = orvex::TDetectionRange::All();
        list.RefreshData();
        index = list.FindProcess(helper.pid());
        ASSERT_GE(index, 0);
    }
    orvex::test::THelperProcess helper{"--name=OrvexDetailsMutex"};
    orvex::TOrvex_ProcessList list;
    int index = -1;
};

TEST_F(PrcDetails, GeneralPageAndCaptions) {
    std::string caption, name, activeTab;
    Strings tabs;
    Rows general;
    std::vector<int> images, widths;
    std::vector<int> otherPagesShown;
    TDialogProbe probe("Process Details", [&](HWND dialog) {
        // The lists of the other pages were filled while hidden and stay so.
        for (int id : {orvex::IdPrcCntList, orvex::IdPrcModList, orvex::IdPrcThdList, orvex::IdPrcHList,
                       orvex::IdPrcSecList, orvex::IdPrcCPList})
            if (IsWindowVisible(GetDlgItem(dialog, id))) otherPagesShown.push_back(id);
        caption = WindowText(dialog);
        name = WindowText(GetDlgItem(dialog, orvex::IdDetailsName));
        tabs = orvex::test::TabCaptions(GetDlgItem(dialog, orvex::IdDetailsPages));
        activeTab = orvex::test::ActiveTabCaption(GetDlgItem(dialog, orvex::IdDetailsPages));
        const HWND gen = GetDlgItem(dialog, orvex::IdPrcGenList);
        general = ListRows(gen);
        for (std::size_t i = 0; i < general.size(); ++i) images.push_back(orvex::test::ListRowImage(gen, int(i)));
        widths = orvex::test::ListColumnWidths(gen);
        orvex::test::SaveScreenshot(dialog, "process_details_general");
    });
    orvex::ShowProcessDetails(nullptr, list, index);
    ASSERT_TRUE(probe.Finish());

    EXPECT_EQ(caption, "Process Details");
    EXPECT_EQ(name, "orvex_test_helper.exe");
    orvex::TProcessInfo p;
    list.GetProcess(index, p);
    ASSERT_EQ(tabs.size(), 8u);
    EXPECT_EQ(tabs[0], " General ");
    EXPECT_EQ(tabs[1], " Performance ");
    EXPECT_EQ(tabs[2], " Modules (" + std::to_string(p.Modules.size()) + ") ");
    EXPECT_EQ(tabs[3], " Threads (3) ");
    EXPECT_EQ(tabs[4].rfind(" Handles (", 0), 0u) << tabs[4];
    EXPECT_EQ(tabs[5].rfind(" Windows (", 0), 0u) << tabs[5];
    EXPECT_EQ(tabs[6], " Security ");
    EXPECT_EQ(tabs[7], " Child Procs (0) ");
    EXPECT_EQ(activeTab, " General ");
    EXPECT_TRUE(otherPagesShown.empty()) << otherPagesShown.front();

    EXPECT_EQ(widths, (std::vector<int>{125, 270}));
    EXPECT_EQ(Value(general, "Description"), "Orvex test helper");
    EXPECT_EQ(Value(general, "Version"), "1.2.3.4-helper");
    EXPECT_EQ(Value(general, "Product Name"), "Orvex Test Suite");
    EXPECT_EQ(Value(general, "Company Name"), "Orvex Test Company");
    EXPECT_EQ(Value(general, "PID"), std::to_string(helper.pid()));
    EXPECT_EQ(Value(general, "Parent PID"), std::to_string(GetCurrentProcessId()));
    EXPECT_EQ(Value(general, "Image name"), p.ImageName.str());
    EXPECT_NE(Value(general, "Command line").find("--name=OrvexDetailsMutex"), std::string::npos)
        << Value(general, "Command line");
    EXPECT_EQ(Value(general, "User Name"), p.UserName.str());
    EXPECT_EQ(Value(general, "Thread Count"), "3");
    EXPECT_EQ(Value(general, "Handle Count"), std::to_string(p.HandleCount));
    EXPECT_EQ(Value(general, "Process Usage"), "<none>");

    ASSERT_EQ(general.size(), 17u);
    const std::vector<int> styles{orvex::rsHeading,
                                  0,
                                  0,
                                  0,
                                  orvex::rsSeparator,
                                  orvex::rsHeading,
                                  0,
                                  0,
                                  0,
                                  orvex::rsSeparator,
                                  orvex::rsHeading,
                                  orvex::rsHeading,
                                  0,
                                  0,
                                  orvex::rsSeparator,
                                  0,
                                  0};
    EXPECT_EQ(images, styles);
}

TEST_F(PrcDetails, PerformancePage) {
    Strings headers;
    Rows counters;
    std::vector<int> widths;
    TDialogProbe probe("Process Details", [&](HWND dialog) {
        const HWND cnt = GetDlgItem(dialog, orvex::IdPrcCntList);
        headers = ListHeaders(cnt);
        counters = ListRows(cnt);
        widths = orvex::test::ListColumnWidths(cnt);
        orvex::test::SelectTab(dialog, GetDlgItem(dialog, orvex::IdDetailsPages), " Performance ");
        orvex::test::SaveScreenshot(dialog, "process_details_performance");
    });
    orvex::ShowProcessDetails(nullptr, list, index);
    ASSERT_TRUE(probe.Finish());

    EXPECT_EQ(headers, (Strings{"Name", "Current", "Peak"}));
    EXPECT_EQ(widths, (std::vector<int>{200, 100, 100}));
    ASSERT_EQ(counters.size(), 20u);
    EXPECT_EQ(counters[0], (Strings{"CPU Times", "", ""}));
    orvex::TProcessInfo p;
    list.GetProcess(index, p);
    const auto kernel = RowOf(counters, "Kernel Time");
    ASSERT_GE(kernel, 0);
    EXPECT_EQ(counters[kernel][2], "-");
    EXPECT_EQ(counters[kernel][1].size(), 8u) << counters[kernel][1];  // hh:mm:ss
    const int ws = RowOf(counters, "Working Set Size");
    ASSERT_GE(ws, 0);
    EXPECT_EQ(counters[ws][1], std::to_string(p.VMCounters.WorkingSetSize) + " B");
    EXPECT_EQ(counters[ws][2], std::to_string(p.VMCounters.PeakWorkingSetSize) + " B");
    const int reads = RowOf(counters, "Read Operation Count");
    ASSERT_GE(reads, 0);
    EXPECT_EQ(counters[reads][1], std::to_string(p.IOCounters.ReadOperationCount));
}

TEST_F(PrcDetails, ListPagesOfTheHelper) {
    Strings modHeaders, thdHeaders, hHeaders, cpHeaders;
    Rows modules, threads, handles, children, security;
    std::vector<int> secImages, thdWidths;
    std::vector<orvex::test::TTreeNodeView> windows;
    Strings tabs;
    TDialogProbe probe("Process Details", [&](HWND dialog) {
        const HWND mod = GetDlgItem(dialog, orvex::IdPrcModList);
        const HWND thd = GetDlgItem(dialog, orvex::IdPrcThdList);
        const HWND hl = GetDlgItem(dialog, orvex::IdPrcHList);
        const HWND cp = GetDlgItem(dialog, orvex::IdPrcCPList);
        const HWND sec = GetDlgItem(dialog, orvex::IdPrcSecList);
        modHeaders = ListHeaders(mod);
        thdHeaders = ListHeaders(thd);
        hHeaders = ListHeaders(hl);
        cpHeaders = ListHeaders(cp);
        modules = ListRows(mod);
        threads = ListRows(thd);
        thdWidths = orvex::test::ListColumnWidths(thd);
        handles = ListRows(hl);
        children = ListRows(cp);
        security = ListRows(sec);
        for (std::size_t i = 0; i < security.size(); ++i) secImages.push_back(orvex::test::ListRowImage(sec, int(i)));
        windows = orvex::test::TreeNodes(GetDlgItem(dialog, orvex::IdPrcWinTree));
        tabs = orvex::test::TabCaptions(GetDlgItem(dialog, orvex::IdDetailsPages));
        const HWND pages = GetDlgItem(dialog, orvex::IdDetailsPages);
        for (const char* page : {"Modules", "Threads", "Handles", "Windows", "Security"}) {
            for (const std::string& c : orvex::test::TabCaptions(pages))
                if (c.find(page) != std::string::npos) orvex::test::SelectTab(dialog, pages, c);
            orvex::test::SaveScreenshot(dialog, std::string("process_details_") + page);
        }
    });
    orvex::ShowProcessDetails(nullptr, list, index);
    ASSERT_TRUE(probe.Finish());
    orvex::TProcessInfo p;
    list.GetProcess(index, p);

    // Modules: the image itself, with its full path.
    EXPECT_EQ(modHeaders, (Strings{"Name", "Size [B]", "Base Address", "Entry Point", "Location", "Signer"}));
    ASSERT_EQ(modules.size(), p.Modules.size());
    const auto exe = std::find_if(modules.begin(), modules.end(),
                                  [](const Strings& r) { return r[0] == "orvex_test_helper.exe"; });
    ASSERT_NE(exe, modules.end());
    EXPECT_EQ((*exe)[4], p.ImageName.str());
    EXPECT_EQ((*exe)[2].rfind("0x", 0), 0u);

    // Threads: the three threads the helper reported, in decimal.
    EXPECT_EQ(thdHeaders, (Strings{"ID", "Start Address", "Base Pri", "Dyn Pri", "State", "CntxSwitch Cnt",
                                   "Kernel Time", "User Time"}));
    EXPECT_EQ(thdWidths, (std::vector<int>{50, orvex::AddressColumnWidth, 55, 50, 100, 85, 70, 70}));
    Strings tids;
    for (const auto& r : threads) tids.push_back(r[0]);
    Strings expectedTids = helper.values("tid");
    std::sort(tids.begin(), tids.end());
    std::sort(expectedTids.begin(), expectedTids.end());
    EXPECT_EQ(tids, expectedTids);
    for (const auto& r : threads) {
        EXPECT_EQ(r[1].size(), 2 + 2 * sizeof(void*)) << r[1];  // 0x and the full pointer
        EXPECT_EQ(r[6].size(), 8u) << r[6];
        // The state as the record holds it (Wine reports every thread as
        // initialised; a waiting thread's text is made in the rows' tests).
        const auto t = std::find_if(p.Threads.begin(), p.Threads.end(),
                                    [&](const orvex::TThreadInfo& t) { return std::to_string(t.TID) == r[0]; });
        ASSERT_NE(t, p.Threads.end());
        std::string state = orvex::ThreadStateName(t->ThreadState);
        if (t->ThreadState == orvex::ThreadStateWait) state += ":" + orvex::WaitReasonName(t->WaitReason);
        EXPECT_EQ(r[4], state);
        EXPECT_EQ(r[2], std::to_string(t->BasePriority));
        EXPECT_EQ(r[3], std::to_string(t->Priority));
        EXPECT_EQ(r[5], std::to_string(t->ContextSwitches));
    }

    // Handles: the helper's event and named mutex are among them.
    EXPECT_EQ(hHeaders, (Strings{"Handle", "Type", "Access", "Name"}));
    EXPECT_EQ(tabs[4], " Handles (" + std::to_string(handles.size()) + ") ");
    const auto handle = [&](const std::string& key) {
        const std::string value = Hex0x(helper.hex(key));
        return std::find_if(handles.begin(), handles.end(), [&](const Strings& r) { return r[0] == value; });
    };
    ASSERT_NE(handle("event"), handles.end());
    EXPECT_EQ((*handle("event"))[1], "Event");
    ASSERT_NE(handle("mutex"), handles.end());
    EXPECT_NE((*handle("mutex"))[3].find("OrvexDetailsMutex"), std::string::npos) << (*handle("mutex"))[3];

    // Windows: the main window at the top, its two controls under it.
    EXPECT_EQ(tabs[5], " Windows (" + std::to_string(windows.size()) + ") ");
    const auto node = [&](const std::string& key) {
        const unsigned long long hwnd = helper.hex(key);
        return std::find_if(windows.begin(), windows.end(),
                            [&](const auto& n) { return static_cast<unsigned long long>(n.Data) == hwnd; });
    };
    ASSERT_NE(node("hwnd"), windows.end());
    ASSERT_NE(node("button"), windows.end());
    ASSERT_NE(node("edit"), windows.end());
    EXPECT_EQ(node("hwnd")->Text, "(" + Hex0x(helper.hex("hwnd")) + ") \"Orvex Test Helper\": OrvexTestHelperWnd");
    EXPECT_EQ(node("hwnd")->Depth, 0);
    EXPECT_EQ(node("hwnd")->Image, 1);  // visible
    EXPECT_EQ(node("hwnd")->SelectedImage, 1);
    EXPECT_EQ(node("button")->Depth, 1);
    EXPECT_EQ(node("button")->Text, "(" + Hex0x(helper.hex("button")) + ") \"Helper Button\": Button");
    EXPECT_EQ(node("edit")->Depth, 1);
    EXPECT_GT(node("button") - windows.begin(), node("hwnd") - windows.begin());

    // Security: groups, then the privileges as check boxes.
    ASSERT_GE(security.size(), 3u);
    EXPECT_EQ(security[0][0], "Groups");
    EXPECT_EQ(secImages[0], orvex::rsHeading);
    const int privileges = RowOf(security, "Privileges");
    ASSERT_GT(privileges, 0);
    EXPECT_EQ(secImages[privileges], orvex::rsHeading);
    EXPECT_EQ(secImages[privileges - 1], orvex::rsSeparator);
    EXPECT_EQ(privileges - 2, static_cast<int>(p.Groups.size()));
    EXPECT_EQ(security.size() - privileges - 1, p.Privileges.size());
    for (std::size_t i = privileges + 1; i < security.size(); ++i) {
        EXPECT_EQ(secImages[i], orvex::rsCheckBox);
        EXPECT_TRUE(security[i][1] == "1" || security[i][1] == "0") << security[i][1];
    }

    // Child processes: the helper has none.
    EXPECT_EQ(cpHeaders, (Strings{"PID", "Name"}));
    EXPECT_TRUE(children.empty());
}

TEST_F(PrcDetails, GoToParentThenBackToTheChild) {
    std::string parentName, parentPid, childBack, pageAfterGoTo, pageAfterParent;
    Rows children;
    TDialogProbe probe("Process Details", [&](HWND dialog) {
        const HWND pages = GetDlgItem(dialog, orvex::IdDetailsPages);
        orvex::test::SendClick(dialog, orvex::IdPrcGoToParent);
        parentName = WindowText(GetDlgItem(dialog, orvex::IdDetailsName));
        parentPid = Value(ListRows(GetDlgItem(dialog, orvex::IdPrcGenList)), "PID");
        pageAfterParent = orvex::test::ActiveTabCaption(pages);
        const HWND cp = GetDlgItem(dialog, orvex::IdPrcCPList);
        children = ListRows(cp);
        for (const std::string& c : orvex::test::TabCaptions(pages))
            if (c.find("Child Procs") != std::string::npos) orvex::test::SelectTab(dialog, pages, c);
        orvex::test::SaveScreenshot(dialog, "process_details_children");
        const int row = orvex::test::FindListRow(cp, 0, std::to_string(helper.pid()));
        if (row < 0) return;
        orvex::test::SelectListRow(cp, row);
        orvex::test::SendClick(dialog, orvex::IdPrcGoToProcess);
        childBack = WindowText(GetDlgItem(dialog, orvex::IdDetailsName));
        pageAfterGoTo = orvex::test::ActiveTabCaption(pages);
    });
    orvex::ShowProcessDetails(nullptr, list, index);
    ASSERT_TRUE(probe.Finish());

    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string selfName = std::string(self).substr(std::string(self).find_last_of('\\') + 1);
    EXPECT_EQ(_stricmp(parentName.c_str(), selfName.c_str()), 0) << parentName;
    EXPECT_EQ(parentPid, std::to_string(GetCurrentProcessId()));
    EXPECT_EQ(pageAfterParent, " General ");
    const auto helperRow = std::find(children.begin(), children.end(),
                                     Strings{std::to_string(helper.pid()), "orvex_test_helper.exe"});
    EXPECT_NE(helperRow, children.end());
    EXPECT_EQ(childBack, "orvex_test_helper.exe");
    EXPECT_EQ(pageAfterGoTo, " General ");
}

TEST_F(PrcDetails, RefreshKeepsThePageAndClosesOnceTheProcessIsGone) {
    std::string pageAfterRefresh, nameAfterRefresh;
    bool openAfterFirst = false;
    orvex::Tdlg_PrcDetails dialog(list, index);
    TDialogProbe probe("Process Details", [&](HWND d) {
        const HWND pages = GetDlgItem(d, orvex::IdDetailsPages);
        for (const std::string& c : orvex::test::TabCaptions(pages))
            if (c.find("Threads") != std::string::npos) orvex::test::SelectTab(d, pages, c);
        orvex::test::SendClick(d, orvex::IdPrcRefresh);
        openAfterFirst = IsWindow(d) && IsWindowVisible(d);
        pageAfterRefresh = orvex::test::ActiveTabCaption(pages);
        nameAfterRefresh = WindowText(GetDlgItem(d, orvex::IdDetailsName));
        TerminateProcess(helper.process(), 0);
        helper.waitForExit(5000);
        orvex::test::SendClick(d, orvex::IdPrcRefresh);
    });
    const INT_PTR result = dialog.Execute(nullptr);
    ASSERT_TRUE(probe.Finish());
    EXPECT_TRUE(openAfterFirst);
    EXPECT_EQ(pageAfterRefresh.find(" Threads ("), 0u) << pageAfterRefresh;
    EXPECT_EQ(nameAfterRefresh, "orvex_test_helper.exe");
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(list.FindProcess(helper.pid()), -1);  // the refresh reached the caller's inventory
}

TEST_F(PrcDetails, WindowDetailsFromTheWindowsPage) {
    HWND owner = nullptr;
    Rows general;
    bool enabledUnderIt = true;
    TDialogProbe probe("Process Details", [&](HWND dialog) {
        const HWND tree = GetDlgItem(dialog, orvex::IdPrcWinTree);
        for (const auto& n : orvex::test::TreeNodes(tree))
            if (static_cast<unsigned long long>(n.Data) == helper.hex("button")) TreeView_SelectItem(tree, n.Item);
        orvex::test::PostClick(dialog, orvex::IdPrcWinDetails);
        const HWND details = orvex::test::WaitForDialog(GetWindowThreadProcessId(dialog, nullptr), "Window Details",
                                                        10000, dialog);
        if (!details) return;
        owner = GetWindow(details, GW_OWNER);
        enabledUnderIt = IsWindowEnabled(dialog) != FALSE;
        general = ListRows(GetDlgItem(details, 200));
        PostMessageA(details, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        orvex::test::WaitUntil([&] { return !IsWindow(details); }, 5000);
    });
    orvex::Tdlg_PrcDetails dialog(list, index);
    dialog.Execute(nullptr);
    ASSERT_TRUE(probe.Finish());
    EXPECT_NE(owner, nullptr);
    EXPECT_FALSE(enabledUnderIt);  // modal over the process dialog
    EXPECT_EQ(Value(general, "Handle"), Hex0x(helper.hex("button")));
    EXPECT_EQ(Value(general, "Text"), "Helper Button");
    EXPECT_EQ(Value(general, "Parent Windows"), Hex0x(helper.hex("hwnd")));
}

TEST_F(PrcDetails, CloseButtonEscapeAndCloseBox) {
    const auto run = [&](const std::function<void(HWND)>& end) {
        orvex::Tdlg_PrcDetails dialog(list, index);
        TDialogProbe probe("Process Details", end);
        const INT_PTR result = dialog.Execute(nullptr);
        probe.Finish();
        return result;
    };
    EXPECT_EQ(run([](HWND d) { orvex::test::PostClick(d, IDOK); }), IDOK);
    EXPECT_EQ(run([](HWND d) { orvex::test::PostKey(GetDlgItem(d, IDOK), VK_ESCAPE); }), IDOK);
    EXPECT_EQ(run([](HWND d) { orvex::test::PostKey(GetDlgItem(d, IDOK), VK_RETURN); }), IDOK);
    EXPECT_EQ(run([](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }), IDCANCEL);
}

TEST_F(PrcDetails, ListsStartInFillOrderAndSortOnAColumnClick) {
    orvex::ResetSortState();
    orvex::SortColumn = 1;  // chosen before in another list
    Strings before, after, afterAgain;
    TDialogProbe probe("Process Details", [&](HWND dialog) {
        const HWND mod = GetDlgItem(dialog, orvex::IdPrcModList);
        before = orvex::test::ListColumn(mod, 1);
        orvex::test::ClickColumnHeader(mod, 1);
        after = orvex::test::ListColumn(mod, 1);
        orvex::test::ClickColumnHeader(mod, 1);
        afterAgain = orvex::test::ListColumn(mod, 1);
    });
    orvex::ShowProcessDetails(nullptr, list, index);
    ASSERT_TRUE(probe.Finish());
    orvex::TProcessInfo p;
    list.GetProcess(index, p);
    Strings fillOrder;
    for (const auto& m : p.Modules) fillOrder.push_back(std::to_string(m.Size));
    EXPECT_EQ(before, fillOrder);
    // The same column again: it was already the sort column, so the first
    // click reverses the direction.
    EXPECT_TRUE(std::is_sorted(after.begin(), after.end(), [](const std::string& a, const std::string& b) {
        return std::stoll(a) > std::stoll(b);
    }));
    EXPECT_TRUE(std::is_sorted(afterAgain.begin(), afterAgain.end(), [](const std::string& a, const std::string& b) {
        return std::stoll(a) < std::stoll(b);
    }));
    orvex::ResetSortState();
}

// A component holding records as a loaded report gives them, with no
// refresh: processes that are not running, an idle process, a lost parent.
orvex::TProcessInfo Record(std::uint32_t pid, std::uint32_t parent, const std::string& name, const std::string& image) {
    orvex::TProcessInfo p;
    p.PID = pid;
    p.ParentPID = parent;
    p.Name = name;
    p.ImageName = image;
    return p;
}

TEST(PrcDetailsRecords, IdleProcessIsItsOwnParentAndHasNoImageFile) {
    orvex::TOrvex_ProcessList records;
    records.AddProcess(Record(0, 0, "[System Process]", ""));
    records.AddProcess(Record(4, 0, "System", ""));
    std::string nameAfterParent;
    Rows children;
    std::vector<std::string> opened;
    TDialogProbe probe("Process Details", [&](HWND dialog) {
        children = ListRows(GetDlgItem(dialog, orvex::IdPrcCPList));
        orvex::test::SendClick(dialog, orvex::IdPrcGoToParent);
        nameAfterParent = WindowText(GetDlgItem(dialog, orvex::IdDetailsName));
        orvex::test::PostClick(dialog, orvex::IdPrcProperties);
        opened = orvex::test::CloseOtherDialogs("Process Details", 1500);
    });
    orvex::ShowProcessDetails(nullptr, records, 0);
    ASSERT_TRUE(probe.Finish());
    EXPECT_EQ(nameAfterParent, "[System Process]");
    // Every record whose parent is 0 is a child, the idle process included.
    EXPECT_EQ(children, (Rows{{"0", "[System Process]"}, {"4", "System"}}));
    EXPECT_TRUE(opened.empty()) << opened.front();
}

TEST(PrcDetailsRecords, LostParentDoesNothingAndMissingImageShowsTheDefaultIcon) {
    const std::string exe = orvex::test::ExeDir() + "orvex_test_helper.exe";
    orvex::TOrvex_ProcessList records;
    records.AddProcess(Record(5000, 4999, "child.exe", exe));  // its parent has ended
    records.AddProcess(Record(5001, 5002, "gone.exe", "C:\\no such dir\\gone.exe"));
    records.AddProcess(Record(5002, 5000, "orphan.exe", "C:\\no such dir\\orphan.exe"));
    HICON firstIcon = nullptr, afterNoop = nullptr, afterMove = nullptr;
    std::string nameAfterNoop, nameAfterMove;
    std::vector<std::string> opened;
    TDialogProbe probe("Process Details", [&](HWND dialog) {
        const HWND icon = GetDlgItem(dialog, orvex::IdDetailsIcon);
        firstIcon = orvex::test::ShownIcon(icon);
        orvex::test::SendClick(dialog, orvex::IdPrcGoToParent);
        nameAfterNoop = WindowText(GetDlgItem(dialog, orvex::IdDetailsName));
        afterNoop = orvex::test::ShownIcon(icon);
        // "Properties..." of a process above 9 asks the shell.
        orvex::test::PostClick(dialog, orvex::IdPrcProperties);
        opened = orvex::test::CloseOtherDialogs("Process Details", 2000);
    });
    orvex::ShowProcessDetails(nullptr, records, 0);
    ASSERT_TRUE(probe.Finish());
    EXPECT_EQ(nameAfterNoop, "child.exe");
    EXPECT_EQ(afterNoop, firstIcon);
    EXPECT_NE(firstIcon, LoadIcon(nullptr, IDI_APPLICATION));
    // The shell was asked: it shows its sheet, or (Wine) its refusal.
    EXPECT_FALSE(opened.empty());

    TDialogProbe second("Process Details", [&](HWND dialog) {
        orvex::test::SendClick(dialog, orvex::IdPrcGoToParent);  // gone.exe -> orphan.exe
        nameAfterMove = WindowText(GetDlgItem(dialog, orvex::IdDetailsName));
        afterMove = orvex::test::ShownIcon(GetDlgItem(dialog, orvex::IdDetailsIcon));
    });
    orvex::ShowProcessDetails(nullptr, records, 1);
    ASSERT_TRUE(second.Finish());
    EXPECT_EQ(nameAfterMove, "orphan.exe");
    EXPECT_EQ(afterMove, LoadIcon(nullptr, IDI_APPLICATION));
}

TEST(PrcDetailsRecords, IndexOutOfRangeShowsAnEmptyRecord) {
    orvex::TOrvex_ProcessList records;
    records.AddProcess(Record(5000, 4, "one.exe", ""));
    Rows general;
    std::string name;
    TDialogProbe probe("Process Details", [&](HWND dialog) {
        general = ListRows(GetDlgItem(dialog, orvex::IdPrcGenList));
        name = WindowText(GetDlgItem(dialog, orvex::IdDetailsName));
    });
    orvex::ShowProcessDetails(nullptr, records, 7);
    ASSERT_TRUE(probe.Finish());
    EXPECT_EQ(name, "");
    EXPECT_EQ(Value(general, "PID"), "0");
    EXPECT_EQ(Value(general, "Image name"), "");
}

std::string Hex(unsigned long long v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%llX", v);
    return buf;
}

// On the 9x family: no Performance, Handles and Security pages, identifiers
// in hexadecimal, fewer general rows and thread columns.
class Win98PrcDetails : public PrcDetails {};

TEST_F(Win98PrcDetails, PagesRowsAndIdentifiers) {
    Strings tabs;
    Rows general, threads, children;
    std::vector<int> images, thdWidths;
    std::string parentName, backName;
    TDialogProbe probe("Process Details", [&](HWND dialog) {
        const HWND pages = GetDlgItem(dialog, orvex::IdDetailsPages);
        tabs = orvex::test::TabCaptions(pages);
        const HWND gen = GetDlgItem(dialog, orvex::IdPrcGenList);
        general = ListRows(gen);
        for (std::size_t i = 0; i < general.size(); ++i) images.push_back(orvex::test::ListRowImage(gen, int(i)));
        const HWND thd = GetDlgItem(dialog, orvex::IdPrcThdList);
        threads = ListRows(thd);
        thdWidths = orvex::test::ListColumnWidths(thd);
        orvex::test::SaveScreenshot(dialog, "win98_process_details_general");
        for (const std::string& c : tabs)
            if (c.find("Threads") != std::string::npos) orvex::test::SelectTab(dialog, pages, c);
        orvex::test::SaveScreenshot(dialog, "win98_process_details_threads");
        // To the parent (this test program) and back through its child list,
        // whose identifiers are read back in hexadecimal.
        orvex::test::SendClick(dialog, orvex::IdPrcGoToParent);
        parentName = WindowText(GetDlgItem(dialog, orvex::IdDetailsName));
        const HWND cp = GetDlgItem(dialog, orvex::IdPrcCPList);
        children = ListRows(cp);
        const int row = orvex::test::FindListRow(cp, 0, Hex(helper.pid()));
        if (row < 0) return;
        orvex::test::SelectListRow(cp, row);
        orvex::test::SendClick(dialog, orvex::IdPrcGoToProcess);
        backName = WindowText(GetDlgItem(dialog, orvex::IdDetailsName));
    });
    orvex::ShowProcessDetails(nullptr, list, index);
    ASSERT_TRUE(probe.Finish());
    orvex::TProcessInfo p;
    list.GetProcess(index, p);

    ASSERT_EQ(tabs.size(), 5u);
    EXPECT_EQ(tabs[0], " General ");
    EXPECT_EQ(tabs[1], " Modules (" + std::to_string(p.Modules.size()) + ") ");
    EXPECT_EQ(tabs[2], " Threads (" + std::to_string(p.ThreadCount) + ") ");
    EXPECT_EQ(tabs[3].rfind(" Windows (", 0), 0u) << tabs[3];
    EXPECT_EQ(tabs[4], " Child Procs (0) ");

    EXPECT_EQ(Value(general, "PID"), Hex(helper.pid()));
    EXPECT_EQ(Value(general, "Parent PID"), Hex(GetCurrentProcessId()));
    EXPECT_EQ(Value(general, "Command line"), "");  // no way to read it on this family
    EXPECT_EQ(Value(general, "User Name"), "<none>");
    EXPECT_EQ(Value(general, "Handle Count"), "<none>");
    EXPECT_EQ(Value(general, "Process Usage"), std::to_string(p.Usage));
    const int priority = RowOf(general, "Priority");
    ASSERT_GE(priority, 0);
    EXPECT_EQ(images[priority], 0);  // a plain row here
    EXPECT_EQ(general.size(), 16u);

    EXPECT_EQ(thdWidths, (std::vector<int>{80, 0, 55, 50, 0, 0, 0, 0}));
    Strings tids, expected;
    for (const auto& r : threads) tids.push_back(r[0]);
    for (const std::string& tid : helper.values("tid")) expected.push_back(Hex0x(std::stoul(tid)));
    std::sort(tids.begin(), tids.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(tids, expected);

    EXPECT_NE(std::find(children.begin(), children.end(), Strings{Hex(helper.pid()), "orvex_test_helper.exe"}),
              children.end());
    EXPECT_NE(parentName, "orvex_test_helper.exe");
    EXPECT_EQ(backName, "orvex_test_helper.exe");
}

// The signed helper's details: the signer and hash of its file come from
// the dialog's check job, the modules' signers as their checks answer.
TEST(PrcDetailsChecks, SignerAndHashOfTheSignedHelper) {
    ASSERT_TRUE(orvex::test::TrustTestAuthority());
    const std::string signedHelper = orvex::test::SigningFile("orvex_helper_signed.exe");
    orvex::test::THelperProcess helper("--name=OrvexSignedDetails", signedHelper);
    ASSERT_TRUE(helper.started());
    orvex::TOrvex_ProcessList list;
    list.RefreshData();
    const int index = list.FindProcess(helper.pid());
    ASSERT_GE(index, 0);
    std::string firstSigner, signer, hash;
    Strings moduleSigners;
    TDialogProbe probe("Process Details", [&](HWND dialog) {
        const HWND gen = GetDlgItem(dialog, orvex::IdPrcGenList);
        const HWND mod = GetDlgItem(dialog, orvex::IdPrcModList);
        firstSigner = Value(ListRows(gen), "Signer");
        auto allAnswered = [&] {
            for (const auto& r : ListRows(mod))
                if (r[orvex::ModuleSignerColumn] == orvex::CheckingText) return false;
            return Value(ListRows(gen), "SHA-256") != orvex::CheckingText;
        };
        orvex::test::WaitUntil(allAnswered, 60000);
        signer = Value(ListRows(gen), "Signer");
        hash = Value(ListRows(gen), "SHA-256");
        for (const auto& r : ListRows(mod)) moduleSigners.push_back(r[orvex::ModuleSignerColumn]);
    });
    orvex::ShowProcessDetails(nullptr, list, index);
    ASSERT_TRUE(probe.Finish());
    EXPECT_TRUE(firstSigner == orvex::CheckingText || firstSigner == signer) << firstSigner;
    EXPECT_EQ(signer, "Signed: Orvex Test Signer");
    EXPECT_EQ(hash, orvex::test::IndependentHashes()["orvex_helper_signed.exe"]);
    ASSERT_FALSE(moduleSigners.empty());
    for (const std::string& s : moduleSigners)
        EXPECT_TRUE(s == "Unsigned" || s.starts_with("Signed: ") || s.starts_with("Not checked: ") ||
                    s.starts_with("Not trusted: "))
            << s;
}

HANDLE checksRelease = CreateEventA(nullptr, TRUE, FALSE, nullptr);

bool ChecksUntilReleased(HANDLE, const std::wstring&, std::wstring&) {
    WaitForSingleObject(checksRelease, INFINITE);
    return false;
}

// Checks that do not return hold neither the dialog's opening nor its
// closing: it shows "Checking..." at once, the given-up check as "Not
// checked: timed out", and closes while the checks still hang.
TEST(PrcDetailsChecks, ChecksThatDoNotReturnDoNotHoldTheDialog) {
    // A copy of the helper whose file no check has seen yet.
    orvex::test::TTempFile copy;
    const std::string exe = copy.name() + ".exe";
    ASSERT_TRUE(CopyFileA((orvex::test::ExeDir() + "orvex_test_helper.exe").c_str(), exe.c_str(), FALSE));
    orvex::TScopeExit removeCopy([&] { DeleteFileA(exe.c_str()); });
    ResetEvent(checksRelease);
    orvex::SetDefaultImageCheck(ChecksUntilReleased, 300);
    orvex::TScopeExit restore([] {
        orvex::SetDefaultImageCheck(nullptr, 0);
        SetEvent(checksRelease);
    });
    std::string first, later;
    {
        orvex::test::THelperProcess helper("--name=OrvexStuckChecks", exe);
        ASSERT_TRUE(helper.started());
        orvex::TOrvex_ProcessList list;
        list.RefreshData();
        const int index = list.FindProcess(helper.pid());
        ASSERT_GE(index, 0);
        TDialogProbe probe("Process Details", [&](HWND dialog) {
            const HWND gen = GetDlgItem(dialog, orvex::IdPrcGenList);
            first = Value(ListRows(gen), "Signer");
            orvex::test::WaitUntil([&] { return Value(ListRows(gen), "Signer") != orvex::CheckingText; }, 10000);
            later = Value(ListRows(gen), "Signer");
        });
        orvex::ShowProcessDetails(nullptr, list, index);
        ASSERT_TRUE(probe.Finish());
    }
    EXPECT_EQ(first, orvex::CheckingText);
    EXPECT_EQ(later, "Not checked: timed out");
    SetEvent(checksRelease);
    orvex::test::WaitUntil([] { return orvex::TBoundedQuery::StuckWorkers() == 0; }, 10000);
    EXPECT_EQ(orvex::TBoundedQuery::StuckWorkers(), 0);
}

}  // namespace
