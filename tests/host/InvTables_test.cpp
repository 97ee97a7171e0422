#include <gtest/gtest.h>

#include "console/pure/InvTables.h"

#include <string>
#include <vector>

using namespace orvex;
using namespace orvex::console;

namespace {

TInventory Sample() {
    TInventory inv;
    inv.Info.Machine = "HOST";
    inv.Info.OSName = "Windows NT";
    inv.Info.MajorVersion = 4;
    inv.Info.BuildNumber = 1381;
    inv.Info.CSDVersion = "Service Pack 6";
    inv.Info.Timestamp = 25'569.5;
    TProcessInfo p;
    p.PID = 1234;
    p.Name = "a.exe";
    p.ImageName = "C:\\dir\\a.exe";
    p.UserName = "HOST/ann";
    p.UserTime = 600'000'000;   // 60 s
    p.KernelTime = 50'000'000;  // 5 s
    p.CreateTime = 116'444'736'000'000'000;
    inv.Processes = {p};
    TDriverInfo d;
    d.Name = "\\SystemRoot\\System32\\drivers\\tab\there.sys";
    d.Base = 0xF7A30000;
    d.Size = 4096;
    d.LoadCount = 2;
    inv.Drivers = {d};
    TServiceInfo s;
    s.Name = "Svc";
    s.DisplayName = "Some, service";
    s.Startup = 3;
    s.Status = 4;
    s.Typ = 4;
    inv.Services = {s};
    return inv;
}

}  // namespace

TEST(InvTables, ListsWithTheirColumns) {
    const TInventory inv = Sample();
    const TTable p = ListTable(inv, TInvList::Processes);
    ASSERT_EQ(p.Rows.size(), 1u);
    ASSERT_EQ(p.Rows[0].size(), p.Captions.size());
    EXPECT_EQ(p.Captions[1], "PID");
    EXPECT_EQ(p.Rows[0], (std::vector<std::string>{"a.exe", "1234", "00:01:05", "HOST/ann", "C:\\dir\\a.exe", "0", "0",
                                                   "0", "0", "1970-01-01T00:00:00.000Z", "", ""}));
    const TTable d = ListTable(inv, TInvList::Drivers);
    ASSERT_EQ(d.Rows.size(), 1u);
    EXPECT_EQ(d.Rows[0], (std::vector<std::string>{"tab\there.sys", "0xF7A30000", "2",
                                                   "\\SystemRoot\\System32\\drivers\\tab\there.sys", "4096", "", ""}));
    const TTable s = ListTable(inv, TInvList::Services);
    ASSERT_EQ(s.Rows.size(), 1u);
    ASSERT_EQ(s.Rows[0].size(), s.Captions.size());
    EXPECT_EQ(s.Rows[0][0], "Some, service");
    EXPECT_EQ(s.Rows[0][1], "Running");
    EXPECT_EQ(s.Rows[0][2], "Manual");
    EXPECT_EQ(s.Rows[0][4], "Own Process");
}

TEST(InvTables, CsvAndTextForms) {
    const TTable s = ListTable(Sample(), TInvList::Services);
    const std::string csv = TableCsv(s, [](std::string_view t) { return std::string(t); });
    ASSERT_EQ(csv.rfind("\xEF\xBB\xBF"
                        "Display Name,Status,Startup Type,Name,",
                        0),
              0u)
        << csv;
    EXPECT_NE(csv.find("\r\n\"Some, service\",Running,Manual,Svc,Own Process,"), std::string::npos) << csv;
    // The converter is applied to the fields.
    const std::string upper = TableCsv(s, [](std::string_view t) { return std::string(t.size(), 'x'); });
    EXPECT_NE(upper.find("\r\nxxxxxxxxxxxxx,xxxxxxx,"), std::string::npos) << upper;

    const std::string text = TableText(ListTable(Sample(), TInvList::Drivers));
    EXPECT_EQ(text,
              "Name\tBase Address\tLoad Cnt\tLocation\tSize\tSigner\tSHA-256\r\n"
              "tab here.sys\t0xF7A30000\t2\t\\SystemRoot\\System32\\drivers\\tab here.sys\t4096\t\t\r\n");
}

TEST(InvTables, InventoryTextAndDifferences) {
    const std::string text = InventoryText(Sample());
    EXPECT_EQ(text.rfind("Machine: HOST\r\nSystem: Windows NT 4.0.1381 Service Pack 6\r\nTime: 1970-01-01T12:00:00\r\n",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("\r\nProcesses (1)\r\nName\tPID\t"), std::string::npos);
    EXPECT_NE(text.find("\r\nDrivers (1)\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nServices (1)\r\n"), std::string::npos);

    const TTable diff = DiffTable(
        {{TDiffKind::Service, "Svc", TDiffChange::Changed, "start type", "Manual", "Disabled"}});
    EXPECT_EQ(TableText(diff),
              "Kind\tKey\tChange\tField\tOld value\tNew value\r\n"
              "service\tSvc\tchanged\tstart type\tManual\tDisabled\r\n");
}
