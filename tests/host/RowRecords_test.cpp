#include <gtest/gtest.h>

#include "app/pure/RowRecords.h"

#include <vector>

using namespace orvex;
using namespace orvex::app;

namespace {

TProcessInfo Process(std::uint32_t pid, std::int64_t created) {
    TProcessInfo p;
    p.PID = pid;
    p.CreateTime = created;
    return p;
}

TServiceInfo Service(const char* key, const char* display) {
    TServiceInfo s;
    s.Name = key;
    s.DisplayName = display;
    return s;
}

template <typename Record>
auto KeysOf(const std::vector<Record>& records, TRecordKey (*key)(const Record&)) {
    return [&records, key](int i) { return key(records[static_cast<std::size_t>(i)]); };
}

}  // namespace

// A table filled from one list, then matched against the list as it is at
// the command: the same, refreshed, shortened or replaced.
TEST(RowRecords, ProcessRowsMatchOnlyTheirOwnRecord) {
    const std::vector<TProcessInfo> filled = {Process(0, 0), Process(4, 100), Process(1200, 5000)};
    TRowRecords rows;
    for (int i = 0; i < static_cast<int>(filled.size()); ++i)
        EXPECT_EQ(rows.Add(i, ProcessKey(filled[static_cast<std::size_t>(i)])), i);

    struct Case {
        const char* what;
        std::vector<TProcessInfo> now;
        std::vector<int> expected;  // per row of the table: its index now, -1 when gone
    };
    const std::vector<Case> cases = {
        {"unchanged", filled, {0, 1, 2}},
        {"the last ended", {Process(0, 0), Process(4, 100)}, {0, 1, -1}},
        {"all gone", {}, {-1, -1, -1}},
        {"a process started before the last",
         {Process(0, 0), Process(4, 100), Process(88, 4000), Process(1200, 5000)},
         {0, 1, -1}},
        {"the last's id reused by a later process", {Process(0, 0), Process(4, 100), Process(1200, 9000)}, {0, 1, -1}},
        {"same creation time, another id", {Process(0, 0), Process(4, 100), Process(1204, 5000)}, {0, 1, -1}},
    };
    for (const Case& c : cases) {
        for (int r = 0; r < 3; ++r) {
            const TRowRecord* row = rows.Find(r);
            ASSERT_NE(row, nullptr);
            EXPECT_EQ(MatchRowRecord(*row, static_cast<int>(c.now.size()), KeysOf(c.now, &ProcessKey)),
                      c.expected[static_cast<std::size_t>(r)])
                << c.what << ", row " << r;
        }
    }
}

TEST(RowRecords, ServicesWithTheSameTextAreKeptApartByKeyName) {
    // What a code page 1252 system hands for two names it cannot hold.
    const std::vector<TServiceInfo> filled = {Service("wuauserv", "Windows ??"), Service("W32Time", "Windows ??")};
    TRowRecords rows;
    rows.Add(0, ServiceKey(filled[0]));
    rows.Add(1, ServiceKey(filled[1]));
    const auto keys = KeysOf(filled, &ServiceKey);
    EXPECT_EQ(ResolveRow(rows, 1, 2, keys).Index, 1);
    EXPECT_EQ(ResolveRow(rows, 0, 2, keys).Index, 0);

    // The first removed: the second's row is gone, not moved to index 0.
    const std::vector<TServiceInfo> after = {filled[1]};
    const TRowTarget second = ResolveRow(rows, 1, 1, KeysOf(after, &ServiceKey));
    EXPECT_TRUE(second.Gone());
    EXPECT_FALSE(second.Found());
    const TRowTarget first = ResolveRow(rows, 0, 1, KeysOf(after, &ServiceKey));
    EXPECT_TRUE(first.Gone());
}

TEST(RowRecords, ResolveTellsNoSelectionFromAGoneRecord) {
    const std::vector<TDriverInfo> drivers(2);
    std::vector<TDriverInfo> filled = drivers;
    filled[0].LoadCount = 1;
    filled[1].LoadCount = 2;
    TRowRecords rows;
    rows.Add(0, DriverKey(filled[0]));
    rows.Add(1, DriverKey(filled[1]));
    const auto keys = KeysOf(filled, &DriverKey);

    struct Case {
        const char* what;
        std::optional<std::intptr_t> data;
        int count;
        bool selected;
        int index;
    };
    const Case cases[] = {
        {"no row selected", std::nullopt, 2, false, -1}, {"a row of this table", 1, 2, true, 1},
        {"index out of range", 1, 1, true, -1},          {"item data the table never gave", 7, 2, true, -1},
        {"negative item data", -1, 2, true, -1},
    };
    for (const Case& c : cases) {
        const TRowTarget t = ResolveRow(rows, c.data, c.count, keys);
        EXPECT_EQ(t.Selected, c.selected) << c.what;
        EXPECT_EQ(t.Index, c.index) << c.what;
        EXPECT_EQ(t.Gone(), c.selected && c.index < 0) << c.what;
    }
}

TEST(RowRecords, KeysOfEachKind) {
    TDriverInfo d;
    d.LoadCount = 7;
    d.Name = "\\SystemRoot\\system32\\drivers\\ntfs.sys";
    TDriverInfo other = d;
    other.LoadCount = 8;
    EXPECT_EQ(DriverKey(d), DriverKey(d));
    EXPECT_NE(DriverKey(d), DriverKey(other));

    TWindowInfo w;
    w.Handle = 0x10040;
    TWindowInfo w2 = w;
    w2.Handle = 0x10042;
    EXPECT_EQ(WindowKey(w).Id, 0x10040u);
    EXPECT_NE(WindowKey(w), WindowKey(w2));

    TModuleInfo m;
    m.Base = 0x10000000;
    m.ImageName = "C:\\a\\x.dll";
    TModuleInfo m2 = m;
    m2.ImageName = "C:\\b\\x.dll";  // the same base in another process's copy
    EXPECT_NE(ModuleKey(m), ModuleKey(m2));

    EXPECT_NE(ServiceKey(Service("a", "Same")), ServiceKey(Service("b", "Same")));
    EXPECT_EQ(ServiceKey(Service("a", "One")), ServiceKey(Service("a", "Other")));
}

TEST(RowRecords, ClearForgetsTheRows) {
    TRowRecords rows;
    rows.Add(0, ProcessKey(Process(8, 1)));
    ASSERT_NE(rows.Find(0), nullptr);
    rows.Clear();
    EXPECT_EQ(rows.Find(0), nullptr);
    EXPECT_EQ(rows.Size(), 0u);
    EXPECT_EQ(rows.Add(3, ProcessKey(Process(9, 1))), 0);
}
