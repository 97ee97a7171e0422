#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/pure/OXI_InventoryJson.h"
#include "tests/JsonReader.h"
#include "tests/Latin1Text.h"

using namespace orvex;
using namespace orvex::test;

namespace {

TInventory Sample(bool live) {
    TInventory inv;
    inv.Live = live;
    inv.Info.Machine = "HOST-1";
    inv.Info.OSName = "Windows \"NT\" \\ 4.0";
    inv.Info.Platform = 2;
    inv.Info.BuildNumber = 1381;
    inv.Info.Timestamp = 25'569.5;
    inv.Info.Rights = "Admin";
    inv.Info.VMWare = true;
    TProcessInfo p;
    p.PID = 4242;
    p.Name = "caf\xE9.exe";
    p.ImageName = "C:\\dir\\caf\xE9.exe";
    p.UserName = "line1\nline2\x01\x1F";
    p.Priority = -2;
    p.CreateTime = 125'963'012'967'890'000;
    p.UserTime = 9'007'199'254'740'993;  // 2^53 + 1
    TThreadInfo t;
    t.TID = 7;
    t.OwnerPID = 4242;
    t.StartAddress = 0x7FF612340000ull & UINTPTR_MAX;
    p.Threads = {t};
    TModuleInfo m;
    m.Name = "ntdll.dll";
    m.Base = 0x77000000;
    p.Modules = {m};
    inv.Processes = {p};
    TDriverInfo d;
    d.Name = "\\SystemRoot\\a.sys";
    d.Base = 0xF7A30000;
    d.Size = 4096;
    inv.Drivers = {d};
    TServiceInfo s;
    s.Name = "Svc";
    s.DisplayName = "Tab\there";
    s.Startup = 4;
    s.Status = -1;
    s.Typ = 4;
    inv.Services = {s};
    return inv;
}

}  // namespace

TEST(InventoryJson, OneValidObjectWithEveryPart) {
    const TJson doc = ParseJson(InventoryJson(Sample(false), Latin1ToUtf8));
    ASSERT_EQ(doc.Type, TJson::Object);
    const TJson& h = doc["header"];
    EXPECT_EQ(h["machine"].Text, "HOST-1");
    EXPECT_EQ(h["osName"].Text, "Windows \"NT\" \\ 4.0");
    EXPECT_EQ(h["platform"].Text, "2");
    EXPECT_EQ(h["buildNumber"].Text, "1381");
    EXPECT_EQ(h["timestamp"].Text, "1970-01-01T12:00:00");
    EXPECT_EQ(h["rights"].Text, "Admin");
    EXPECT_TRUE(h["vmware"].B);
    EXPECT_EQ(h["vpc"].Type, TJson::Bool);
    EXPECT_FALSE(h["vpc"].B);
    EXPECT_EQ(doc["live"].Type, TJson::Bool);
    EXPECT_FALSE(doc["live"].B);
    EXPECT_EQ(h["viewLimit"].Type, TJson::String);
    EXPECT_EQ(h["viewLimit"].Text, "");

    ASSERT_EQ(doc["processes"].Items.size(), 1u);
    const TJson& p = doc["processes"].Items[0];
    EXPECT_EQ(p["pid"].Text, "4242");
    EXPECT_EQ(p["name"].Text, "caf\xC3\xA9.exe");
    EXPECT_EQ(p["imageName"].Text, "C:\\dir\\caf\xC3\xA9.exe");
    EXPECT_EQ(p["userName"].Text, "line1\nline2\x01\x1F");
    EXPECT_EQ(p["priority"].Text, "-2");
    EXPECT_EQ(p["createTime"].Text, "2000-02-29T12:34:56.789Z");
    EXPECT_EQ(p["createTimeRaw"].Text, "125963012967890000");
    EXPECT_EQ(p["userTime"].Text, "9007199254740993");
    EXPECT_FALSE(p.Has("threads"));  // reports hold no threads or modules
    EXPECT_FALSE(p.Has("modules"));

    ASSERT_EQ(doc["drivers"].Items.size(), 1u);
    EXPECT_EQ(doc["drivers"].Items[0]["name"].Text, "\\SystemRoot\\a.sys");
    EXPECT_EQ(doc["drivers"].Items[0]["base"].Text, "0xF7A30000");
    EXPECT_EQ(doc["drivers"].Items[0]["size"].Text, "4096");
    ASSERT_EQ(doc["services"].Items.size(), 1u);
    const TJson& s = doc["services"].Items[0];
    EXPECT_EQ(s["displayName"].Text, "Tab\there");
    EXPECT_EQ(s["startup"].Text, "4");
    EXPECT_EQ(s["startupName"].Text, "Disabled");
    EXPECT_EQ(s["status"].Text, "-1");
    EXPECT_EQ(s["typeName"].Text, "Own Process");
}

TEST(InventoryJson, LiveProcessesHoldThreadsAndModules) {
    const TJson doc = ParseJson(InventoryJson(Sample(true), Latin1ToUtf8));
    EXPECT_TRUE(doc["live"].B);
    const TJson& p = doc["processes"].Items.at(0);
    ASSERT_EQ(p["threads"].Items.size(), 1u);
    EXPECT_EQ(p["threads"].Items[0]["tid"].Text, "7");
    EXPECT_EQ(p["threads"].Items[0]["createTime"].Text, "");
    EXPECT_EQ(p["threads"].Items[0]["createTimeRaw"].Text, "0");
    ASSERT_EQ(p["modules"].Items.size(), 1u);
    EXPECT_EQ(p["modules"].Items[0]["name"].Text, "ntdll.dll");
    EXPECT_EQ(p["modules"].Items[0]["base"].Text, "0x77000000");
}

// What live data lack is said in the inventory's header, and only there:
// the comparison's headers describe reports, which never carry it.
TEST(InventoryJson, ViewLimitInTheInventorysHeaderOnly) {
    TInventory inv = Sample(true);
    inv.ViewLimit = "32-bit view: caf\xE9";
    const TJson doc = ParseJson(InventoryJson(inv, Latin1ToUtf8));
    EXPECT_EQ(doc["header"]["viewLimit"].Text, "32-bit view: caf\xC3\xA9");
    const TJson diff = ParseJson(DiffJson({}, inv.Info, inv.Info, Latin1ToUtf8));
    EXPECT_FALSE(diff["before"].Has("viewLimit"));
    EXPECT_FALSE(diff["after"].Has("viewLimit"));
}

TEST(InventoryJson, EmptyInventoryAndTextsThatAreNotUtf8) {
    const TJson empty = ParseJson(InventoryJson(TInventory{}, Latin1ToUtf8));
    EXPECT_EQ(empty["processes"].Type, TJson::Array);
    EXPECT_TRUE(empty["processes"].Items.empty());
    EXPECT_EQ(empty["header"]["timestamp"].Text, "");
    // A converter that hands back bytes that are no UTF-8 still gives valid JSON.
    TInventory inv = Sample(false);
    const auto passThrough = [](std::string_view s) { return std::string(s); };
    const TJson doc = ParseJson(InventoryJson(inv, passThrough));
    EXPECT_EQ(doc["processes"].Items.at(0)["name"].Text, "caf\xEF\xBF\xBD.exe");
}

TEST(InventoryJson, DifferencesWithBothHeaders) {
    TStorageInfoRecord before, after;
    before.Machine = "A";
    after.Machine = "B";
    const std::vector<TDiffRow> rows{
        {TDiffKind::Service, "Svc\"1\"", TDiffChange::Changed, "start type", "Manual", "Disabled"},
        {TDiffKind::Process, "C:\\x\xE9.exe", TDiffChange::Added, "", "", "1"},
    };
    const TJson doc = ParseJson(DiffJson(rows, before, after, Latin1ToUtf8));
    EXPECT_EQ(doc["before"]["machine"].Text, "A");
    EXPECT_EQ(doc["after"]["machine"].Text, "B");
    const TJson& d = doc["differences"];
    ASSERT_EQ(d.Items.size(), 2u);
    EXPECT_EQ(d.Items[0]["kind"].Text, "service");
    EXPECT_EQ(d.Items[0]["key"].Text, "Svc\"1\"");
    EXPECT_EQ(d.Items[0]["change"].Text, "changed");
    EXPECT_EQ(d.Items[0]["field"].Text, "start type");
    EXPECT_EQ(d.Items[0]["oldValue"].Text, "Manual");
    EXPECT_EQ(d.Items[0]["newValue"].Text, "Disabled");
    EXPECT_EQ(d.Items[1]["key"].Text, "C:\\x\xC3\xA9.exe");
    EXPECT_EQ(d.Items[1]["change"].Text, "added");
    EXPECT_TRUE(ParseJson(DiffJson({}, before, after, Latin1ToUtf8))["differences"].Items.empty());
}
