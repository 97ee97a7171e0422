#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/pure/OXI_InventoryDiff.h"

using namespace orvex;

namespace {

TProcessInfo Process(std::uint32_t pid, const char* path, std::int64_t created = 0, const char* user = "") {
    TProcessInfo p;
    p.PID = pid;
    std::string name = path;
    name = name.substr(name.find_last_of('\\') + 1);
    p.Name = name;
    p.ImageName = path;
    p.CreateTime = created;
    p.UserName = user;
    return p;
}

TServiceInfo Service(const char* name, std::int32_t startup = 3, std::int32_t status = 1) {
    TServiceInfo s;
    s.Name = name;
    s.DisplayName = std::string("Display ") + name;
    s.ImageName = "C:\\Windows\\svc.exe";
    s.ObjectName = "LocalSystem";
    s.Startup = startup;
    s.Status = status;
    s.Typ = 4;
    return s;
}

TDriverInfo Driver(const char* name, std::uintptr_t base, std::int64_t size) {
    TDriverInfo d;
    d.Name = name;
    d.Base = base;
    d.Size = size;
    return d;
}

TInventory Machine(const char* machine) {
    TInventory inv;
    inv.Info.Machine = machine;
    return inv;
}

std::string Text(const TDiffRow& r) {
    std::string s;
    for (const std::string& f : DiffRowFields(r)) s += f + "|";
    return s;
}

std::vector<std::string> Texts(const std::vector<TDiffRow>& rows) {
    std::vector<std::string> t;
    for (const TDiffRow& r : rows) t.push_back(Text(r));
    return t;
}

}  // namespace

TEST(InventoryDiff, IdenticalInventoriesGiveNoRows) {
    TInventory a = Machine("HOST");
    a.Processes = {Process(4, "C:\\a.exe", 100), Process(8, "C:\\a.exe", 200)};
    a.Drivers = {Driver("\\SystemRoot\\ntoskrnl.exe", 0x80000000, 4096)};
    a.Services = {Service("Spooler"), Service("EventLog", 2, 4)};
    EXPECT_TRUE(CompareInventories(a, a).empty());
}

TEST(InventoryDiff, ServiceStartTypeChangeIsOneChangedRow) {
    TInventory a = Machine("HOST"), b = Machine("HOST");
    a.Services = {Service("Alpha"), Service("OrvexTest", 3), Service("Zeta")};
    b.Services = a.Services;
    b.Services[1].Startup = 4;
    EXPECT_EQ(Texts(CompareInventories(a, b)),
              (std::vector<std::string>{"service|OrvexTest|changed|start type|Manual|Disabled|"}));
}

TEST(InventoryDiff, ServiceKeysIgnoreCaseAndEveryFieldIsCompared) {
    TInventory a, b;
    a.Services = {Service("Spooler", 2, 4), Service("Gone")};
    TServiceInfo s = Service("SPOOLER", 3, 1);  // same service, other spelling of its key
    s.DisplayName = "Print";
    s.Typ = 5;
    s.ImageName = "C:\\new.exe";
    s.ObjectName = "NT AUTHORITY\\LocalService";
    s.DependOnService = "RPCSS http";
    b.Services = {s, Service("New")};
    EXPECT_EQ(Texts(CompareInventories(a, b)),
              (std::vector<std::string>{
                  "service|Gone|removed||||",
                  "service|New|added||||",
                  "service|Spooler|changed|account|LocalSystem|NT AUTHORITY\\LocalService|",
                  "service|Spooler|changed|dependencies||RPCSS http|",
                  "service|Spooler|changed|display name|Display Spooler|Print|",
                  "service|Spooler|changed|path|C:\\Windows\\svc.exe|C:\\new.exe|",
                  "service|Spooler|changed|start type|Automatic|Manual|",
                  "service|Spooler|changed|state|Running|Stopped|",
                  "service|Spooler|changed|type|Own Process|Shared Process|",
              }));
}

TEST(InventoryDiff, DriversByNameWithBaseInHexAndSize) {
    TInventory a, b;
    a.Drivers = {Driver("\\SystemRoot\\System32\\drivers\\a.sys", 0xF7A30000, 4096),
                 Driver("\\SystemRoot\\System32\\drivers\\b.sys", 0x1000, 10)};
    b.Drivers = {Driver("\\SYSTEMROOT\\system32\\DRIVERS\\B.SYS", 0x1000, 10),
                 Driver("\\SystemRoot\\System32\\drivers\\a.sys", 0xF7B40000, 8192)};
    EXPECT_EQ(Texts(CompareInventories(a, b)),
              (std::vector<std::string>{
                  "driver|\\SystemRoot\\System32\\drivers\\a.sys|changed|base|0xF7A30000|0xF7B40000|",
                  "driver|\\SystemRoot\\System32\\drivers\\a.sys|changed|size|4096|8192|",
                  "driver|\\SystemRoot\\System32\\drivers\\b.sys|changed|path|"
                  "\\SystemRoot\\System32\\drivers\\b.sys|\\SYSTEMROOT\\system32\\DRIVERS\\B.SYS|",
              }));
}

TEST(InventoryDiff, ProcessesOfAnotherBootCompareAsMultisetOfImages) {
    // Another boot: ids and creation times differ everywhere.
    TInventory a = Machine("HOST"), b = Machine("HOST");
    a.Processes = {Process(10, "C:\\w\\a.exe", 1, "HOST/ann"), Process(11, "C:\\w\\a.exe", 2, "HOST/ann"),
                   Process(12, "C:\\w\\b.exe", 3), Process(0, "")};
    a.Processes[3].Name = "System";
    b.Processes = {Process(20, "c:\\W\\A.EXE", 5, "host/ANN"), Process(21, "C:\\w\\a.exe", 6, "HOST/bob"),
                   Process(22, "C:\\w\\a.exe", 7, "HOST/ann"), Process(30, "C:\\w\\c.exe", 8), Process(0, "")};
    b.Processes[4].Name = "SYSTEM";
    ASSERT_FALSE(SameBoot(a, b));
    EXPECT_EQ(Texts(CompareInventories(a, b)),
              (std::vector<std::string>{
                  "process|C:\\w\\a.exe|changed|count|2|3|",
                  "process|C:\\w\\a.exe|changed|path|C:\\w\\a.exe|C:\\w\\a.exe; c:\\W\\A.EXE|",
                  "process|C:\\w\\a.exe|changed|user|HOST/ann|host/ANN; HOST/bob|",
                  "process|C:\\w\\b.exe|removed||1||",
                  "process|C:\\w\\c.exe|added|||1|",
              }));
}

TEST(InventoryDiff, SameBootKeysProcessesByIdAndCreationTime) {
    TInventory a = Machine("HOST"), b = Machine("host");
    a.Processes = {Process(4, "C:\\sys.exe", 1000), Process(40, "C:\\svc.exe", 2000, "HOST/ann"),
                   Process(44, "C:\\keep.exe", 3000, "HOST/ann")};
    // svc.exe restarted (new id and time); keep.exe's user became readable
    // under another name.
    b.Processes = {Process(4, "C:\\sys.exe", 1000), Process(48, "C:\\svc.exe", 5000, "HOST/ann"),
                   Process(44, "C:\\keep.exe", 3000, "HOST/bob")};
    ASSERT_TRUE(SameBoot(a, b));
    const auto rows = CompareInventories(a, b);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(Text(rows[0]), "process|C:\\keep.exe (PID 44)|changed|user|HOST/ann|HOST/bob|");
    EXPECT_EQ(rows[1].Key, "C:\\svc.exe (PID 40)");
    EXPECT_EQ(rows[1].Change, TDiffChange::Removed);
    EXPECT_EQ(rows[2].Key, "C:\\svc.exe (PID 48)");
    EXPECT_EQ(rows[2].Change, TDiffChange::Added);
    // The creation time tells two processes of one id apart.
    EXPECT_EQ(rows[2].NewValue, "1601-01-01T00:00:00.000Z");

    // Account names compare without regard to case.
    b.Processes[2].UserName = "host/ANN";
    EXPECT_EQ(CompareInventories(a, b).size(), 2u);
    b.Processes[2].UserName = "HOST/bob";

    // A process that reuses an id with another creation time is another process.
    b.Processes[1].PID = 40;
    const auto reused = CompareInventories(a, b);
    ASSERT_EQ(reused.size(), 3u);
    EXPECT_EQ(reused[1].Change, TDiffChange::Removed);
    EXPECT_EQ(reused[2].Change, TDiffChange::Added);
    EXPECT_EQ(reused[1].Key, reused[2].Key);
}

// Where one side could not read a process's creation time, the process is
// paired by id and name: an id reused by another program is one removed and
// one added; the same program, its time read on one side only, is compared.
TEST(InventoryDiff, SameBootPairsProcessesWithoutCreationTimeByIdAndName) {
    TInventory a = Machine("HOST"), b = Machine("HOST");
    a.Processes = {Process(4, "C:\\sys.exe", 1000), Process(60, "C:\\a.exe"), Process(61, "C:\\b.exe"),
                   Process(62, "C:\\c.exe", 7000, "HOST/ann"), Process(63, "C:\\d.exe", 80000000)};
    b.Processes = {Process(4, "C:\\sys.exe", 1000), Process(60, "C:\\other.exe"), Process(61, "C:\\B.EXE"),
                   Process(62, "C:\\c.exe"), Process(63, "C:\\d.exe", 90000000)};
    b.Processes[2].ImageName = "C:\\b.exe";
    ASSERT_TRUE(SameBoot(a, b));
    std::vector<std::string> texts;
    for (const TDiffRow& r : CompareInventories(a, b)) texts.push_back(Text(r));
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "process|C:\\a.exe (PID 60)|removed||||",
                         "process|C:\\c.exe (PID 62)|changed|user|HOST/ann||",
                         // Both times known and different: another process.
                         "process|C:\\d.exe (PID 63)|removed||1601-01-01T00:00:08.000Z||",
                         "process|C:\\d.exe (PID 63)|added|||1601-01-01T00:00:09.000Z|",
                         "process|C:\\other.exe (PID 60)|added||||",
                     }));
}

TEST(InventoryDiff, SameBootNeedsSameMachineAndSharedCreatedProcess) {
    TInventory a = Machine("HOST"), b = Machine("HOST");
    a.Processes = {Process(4, "C:\\sys.exe", 1000)};
    b.Processes = {Process(4, "C:\\sys.exe", 1000)};
    EXPECT_TRUE(SameBoot(a, b));
    b.Info.Machine = "OTHER";
    EXPECT_FALSE(SameBoot(a, b));
    b.Info.Machine = "HOST";
    b.Processes[0].CreateTime = 1001;  // after a restart
    EXPECT_FALSE(SameBoot(a, b));
    a.Processes[0].CreateTime = b.Processes[0].CreateTime = 0;  // no creation times (9x)
    EXPECT_FALSE(SameBoot(a, b));
    EXPECT_FALSE(SameBoot(TInventory{}, TInventory{}));
}

TEST(InventoryDiff, RowsAreSortedAndIndependentOfListOrder) {
    TInventory a, b;
    a.Processes = {Process(1, "C:\\z.exe"), Process(2, "C:\\B.exe")};
    a.Drivers = {Driver("y.sys", 1, 1), Driver("X.sys", 1, 1)};
    a.Services = {Service("svcB"), Service("SvcA")};
    b.Processes = {Process(3, "C:\\a.exe")};
    b.Services = {Service("svcC")};
    auto rows = CompareInventories(a, b);
    std::vector<std::string> expected{
        "process|C:\\a.exe|added|||1|", "process|C:\\B.exe|removed||1||", "process|C:\\z.exe|removed||1||",
        "driver|X.sys|removed||||",     "driver|y.sys|removed||||",       "service|SvcA|removed||||",
        "service|svcB|removed||||",     "service|svcC|added||||",
    };
    EXPECT_EQ(Texts(rows), expected);
    std::reverse(a.Processes.begin(), a.Processes.end());
    std::reverse(a.Drivers.begin(), a.Drivers.end());
    std::reverse(a.Services.begin(), a.Services.end());
    EXPECT_EQ(Texts(CompareInventories(a, b)), expected);
    // Swapping the sides swaps added and removed.
    auto back = CompareInventories(b, a);
    ASSERT_EQ(back.size(), rows.size());
    EXPECT_EQ(back[0].Change, TDiffChange::Removed);
    EXPECT_EQ(back[1].Change, TDiffChange::Added);
}

TEST(InventoryDiff, ColumnsAndTexts) {
    EXPECT_EQ(DiffColumnCaptions(),
              (std::vector<std::string>{"Kind", "Key", "Change", "Field", "Old value", "New value"}));
    TDiffRow row{TDiffKind::Driver, "k", TDiffChange::Removed, "f", "o", "n"};
    EXPECT_EQ(DiffRowFields(row), (std::vector<std::string>{"driver", "k", "removed", "f", "o", "n"}));
    EXPECT_STREQ(DiffKindText(TDiffKind::Process), "process");
    EXPECT_STREQ(DiffKindText(TDiffKind::Service), "service");
    EXPECT_STREQ(DiffChangeText(TDiffChange::Added), "added");
    EXPECT_STREQ(DiffChangeText(TDiffChange::Changed), "changed");
}
