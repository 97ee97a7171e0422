#include <gtest/gtest.h>

#include "app/pure/LiveChanges.h"

#include <ostream>
#include <string>
#include <vector>

using namespace orvex;
using namespace orvex::app;

namespace orvex::app {
void PrintTo(const TLiveRow& r, std::ostream* os) {
    *os << "{" << r.Index << ", " << static_cast<int>(r.Change) << "}";
}
}  // namespace orvex::app

namespace {

TServiceInfo Service(const char* name, std::int32_t status = 4, std::int32_t startup = 2) {
    TServiceInfo s;
    s.Name = name;
    s.Status = status;
    s.Startup = startup;
    return s;
}

// The rows as "name+", "name-", "name*" or "name" texts.
std::vector<std::string> Marked(const TServiceList& before, const TServiceList& now) {
    std::vector<std::string> texts;
    for (const TLiveRow& r : LiveRows(before, now)) {
        const TServiceInfo& s = r.Change == TLiveChange::Removed ? before[r.Index] : now[r.Index];
        const char* mark = r.Change == TLiveChange::Added     ? "+"
                           : r.Change == TLiveChange::Removed ? "-"
                           : r.Change == TLiveChange::Changed ? "*"
                                                              : "";
        texts.push_back(s.Name.str() + mark);
    }
    return texts;
}

TEST(LiveChanges, AddedRemovedAtTheirPlaceAndChangedServices) {
    struct TCase {
        const char* Label;
        TServiceList Before, Now;
        std::vector<std::string> Expected;
    };
    const TCase cases[] = {
        {"nothing changed", {Service("a"), Service("b")}, {Service("a"), Service("b")}, {"a", "b"}},
        {"a new service", {Service("a")}, {Service("a"), Service("b")}, {"a", "b+"}},
        {"a vanished service stays after its former neighbour",
         {Service("a"), Service("b"), Service("c")},
         {Service("a"), Service("c")},
         {"a", "b-", "c"}},
        {"vanished at the start stand first",
         {Service("x"), Service("y"), Service("a")},
         {Service("a")},
         {"x-", "y-", "a"}},
        {"state and start type changes; a case change of the key is the same service",
         {Service("a", 4, 2), Service("b", 4, 2), Service("c")},
         {Service("A", 1, 2), Service("b", 4, 4), Service("c")},
         {"A*", "b*", "c"}},
        {"everything new", {}, {Service("a")}, {"a+"}},
        {"everything gone", {Service("a"), Service("b")}, {}, {"a-", "b-"}},
    };
    for (const TCase& c : cases) EXPECT_EQ(Marked(c.Before, c.Now), c.Expected) << c.Label;
}

TEST(LiveChanges, ProcessesByIdAndCreationTime) {
    TProcessInfo a;
    a.PID = 10;
    a.CreateTime = 100;
    a.Name = "a.exe";
    TProcessInfo reused = a;
    reused.CreateTime = 200;  // the id taken by a later process
    const std::vector<TLiveRow> rows = LiveRows(TProcList{a}, TProcList{reused});
    ASSERT_EQ(rows.size(), 2u);
    // the vanished process had no neighbour before it: it stands first
    EXPECT_EQ(rows[0], (TLiveRow{0, TLiveChange::Removed}));
    EXPECT_EQ(rows[1], (TLiveRow{0, TLiveChange::Added}));
    EXPECT_EQ(ChangeSummary(rows), "+1 -1 changed 0");
    // Without creation times, the id and the name, without regard to case.
    TProcessInfo old = a, same = a;
    old.CreateTime = same.CreateTime = 0;
    same.Name = "A.EXE";
    EXPECT_EQ(LiveRows(TProcList{old}, TProcList{same}), (std::vector<TLiveRow>{{0, TLiveChange::None}}));
    EXPECT_EQ(LiveKey(old), LiveKey(same));
    // A process's counters change all the time: never a change mark.
    TProcessInfo busy = a;
    busy.HandleCount = 999;
    EXPECT_EQ(LiveRows(TProcList{a}, TProcList{busy}), (std::vector<TLiveRow>{{0, TLiveChange::None}}));
}

TEST(LiveChanges, DriversByPathWithoutRegardToCase) {
    TDriverInfo d;
    d.Name = "\\SystemRoot\\system32\\drivers\\a.sys";
    TDriverInfo upper = d;
    upper.Name = "\\SYSTEMROOT\\SYSTEM32\\DRIVERS\\A.SYS";
    TDriverInfo other;
    other.Name = "\\SystemRoot\\system32\\drivers\\b.sys";
    const std::vector<TLiveRow> rows = LiveRows(TDriverList{d, other}, TDriverList{upper});
    EXPECT_EQ(rows, (std::vector<TLiveRow>{{0, TLiveChange::None}, {1, TLiveChange::Removed}}));
    EXPECT_EQ(ChangeSummary(rows), "+0 -1 changed 0");
}

}  // namespace
