// Inventories as JSON lines against the inventory's JSON export: each record
// one line, its members under the export's names after the line's source.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/pure/OXI_InventoryLines.h"
#include "tests/FilledRecords.h"
#include "tests/JsonReader.h"
#include "tests/Latin1Text.h"

using namespace orvex;
using namespace orvex::test;

namespace {

constexpr std::int64_t Snapshot = 134'097'000'000'000'000;  // 2025-12-08T20:40:00Z
const char* const SourceMembers[] = {"host", "snapshotTime", "reportFile", "table"};

TInventory Sample(bool live) {
    TInventory inv;
    inv.Live = live;
    inv.Info = Filled<TStorageInfoRecord>();
    inv.Info.Machine = "H\xD6ST-1";
    inv.ViewLimit = live ? "no 64-bit modules" : "";
    for (std::int64_t base : {100, 200}) {
        TProcessInfo& p = inv.Processes.emplace_back(Filled<TProcessInfo>(base));
        p.Threads = {Filled<TThreadInfo>(base + 1), Filled<TThreadInfo>(base + 2)};
        p.Modules = {Filled<TModuleInfo>(base + 3)};
        p.Modules[0].ImageName = "C:\\caf\xE9\\line\nbreak.dll";
    }
    inv.Drivers = {Filled<TDriverInfo>(300)};
    inv.Services = {Filled<TServiceInfo>(400), Filled<TServiceInfo>(500)};
    return inv;
}

// The line's members after its source members equal expected's (names,
// order, types and values), with extra members first.
void ExpectRecordMembers(const TJson& line, const TJson& expected,
                         const std::vector<std::pair<std::string, TJson>>& extra = {}) {
    std::vector<std::pair<std::string, TJson>> want = extra;
    for (const auto& m : expected.Members)
        if (m.second.Type != TJson::Array) want.push_back(m);
    const std::size_t first = std::size(SourceMembers);
    ASSERT_EQ(line.Members.size(), first + want.size()) << line["table"].Text;
    for (std::size_t i = 0; i < want.size(); ++i) {
        const auto& [name, value] = line.Members[first + i];
        EXPECT_EQ(name, want[i].first) << line["table"].Text;
        EXPECT_EQ(value.Type, want[i].second.Type) << name;
        EXPECT_EQ(value.Text, want[i].second.Text) << name;
        EXPECT_EQ(value.B, want[i].second.B) << name;
    }
}

TJson Number(std::int64_t n) {
    TJson j;
    j.Type = TJson::Number;
    j.Text = std::to_string(n);
    return j;
}

}  // namespace

// Every table of a live inventory and of a report: the lines in table order,
// each beginning with its source, each record's members as the export
// writes them; threads and modules only where the inventory is live.
TEST(InventoryLines, EachRecordOneLineUnderTheExportsNames) {
    for (const bool live : {true, false}) {
        SCOPED_TRACE(live ? "live" : "report");
        const TInventory inv = Sample(live);
        const TLineSource source{inv.Info.Machine, Snapshot, live ? "" : "\\\\srv\\inv\\h\xF6st.ivs"};
        const std::vector<TJson> lines = ParseJsonLines(InventoryLines(inv, source, Latin1ToUtf8));
        const TJson doc = ParseJson(InventoryJson(inv, Latin1ToUtf8));

        std::vector<std::pair<std::string, const TJson*>> want{{"header", &doc["header"]}};
        for (const TJson& p : doc["processes"].Items) want.emplace_back("processes", &p);
        if (live) {
            for (const TJson& p : doc["processes"].Items)
                for (const TJson& t : p["threads"].Items) want.emplace_back("threads", &t);
            for (const TJson& p : doc["processes"].Items)
                for (const TJson& m : p["modules"].Items) want.emplace_back("modules", &m);
        }
        for (const TJson& d : doc["drivers"].Items) want.emplace_back("drivers", &d);
        for (const TJson& s : doc["services"].Items) want.emplace_back("services", &s);
        ASSERT_EQ(lines.size(), want.size());
        EXPECT_EQ(want.size(), live ? 1u + 2 + 4 + 2 + 1 + 2 : 1u + 2 + 1 + 2);

        std::size_t module = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const TJson& line = lines[i];
            for (std::size_t m = 0; m < std::size(SourceMembers); ++m)
                ASSERT_EQ(line.Members.at(m).first, SourceMembers[m]) << i;
            EXPECT_EQ(line["host"].Text, "H\xC3\x96ST-1");
            EXPECT_EQ(line["snapshotTime"].Text, "2025-12-08T20:40:00.000Z");
            EXPECT_EQ(line["reportFile"].Text, live ? "" : "\\\\srv\\inv\\h\xC3\xB6st.ivs");
            EXPECT_EQ(line["table"].Text, want[i].first) << i;
            if (want[i].first == "modules") {
                const std::int64_t owner = inv.Processes[module++].PID;
                ExpectRecordMembers(line, *want[i].second, {{"ownerPid", Number(owner)}});
            } else {
                ExpectRecordMembers(line, *want[i].second);
            }
        }
        EXPECT_EQ(lines.front()["viewLimit"].Text, inv.ViewLimit);
        EXPECT_EQ(lines.front()["timestampUtc"].Text.empty(), false);
    }
}

// An unknown moment is "", texts that are no UTF-8 after conversion are
// replaced, and an empty inventory is its header line alone.
TEST(InventoryLines, UnknownTimeBadTextsAndEmptyInventory) {
    TInventory inv;
    const auto passThrough = [](std::string_view s) { return std::string(s); };
    const std::vector<TJson> lines = ParseJsonLines(InventoryLines(inv, {"H\xD6ST", 0, "a\xFF.ivs"}, passThrough));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["table"].Text, "header");
    EXPECT_EQ(lines[0]["snapshotTime"].Text, "");
    EXPECT_EQ(lines[0]["host"].Text, "H\xEF\xBF\xBDST");
    EXPECT_EQ(lines[0]["reportFile"].Text, "a\xEF\xBF\xBD.ivs");
    EXPECT_FALSE(lines[0].Has("timestampUtc")) << "written only when the report holds it";
    EXPECT_EQ(LineTables(),
              (std::vector<std::string>{"header", "processes", "threads", "modules", "drivers", "services"}));
}

// One line per difference: the table of its kind, the baseline, and the
// comparison's action, key, field and values.
TEST(InventoryLines, DifferencesFromTheBaseline) {
    const std::vector<TDiffRow> rows{
        {TDiffKind::Process, "C:\\new\xE9.exe", TDiffChange::Added, "", "", "1"},
        {TDiffKind::Driver, "\\SystemRoot\\old.sys", TDiffChange::Removed, "", "", ""},
        {TDiffKind::Service, "Spooler", TDiffChange::Changed, "start type", "Automatic", "Disabled"},
    };
    const std::vector<TJson> lines = ParseJsonLines(
        DiffLines(rows, {"HOST-2", Snapshot, "b.ivs"}, "base\xE9.ivs", Latin1ToUtf8));
    ASSERT_EQ(lines.size(), rows.size());
    const char* const tables[] = {"processes", "drivers", "services"};
    const char* const actions[] = {"added", "removed", "changed"};
    const char* const names[] = {"host",   "snapshotTime", "reportFile", "table", "baselineFile",
                                 "action", "key",          "field",      "old",   "new"};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TJson& line = lines[i];
        ASSERT_EQ(line.Members.size(), std::size(names));
        for (std::size_t m = 0; m < std::size(names); ++m) EXPECT_EQ(line.Members[m].first, names[m]);
        EXPECT_EQ(line["host"].Text, "HOST-2");
        EXPECT_EQ(line["reportFile"].Text, "b.ivs");
        EXPECT_EQ(line["baselineFile"].Text, "base\xC3\xA9.ivs");
        EXPECT_EQ(line["table"].Text, tables[i]);
        EXPECT_EQ(line["action"].Text, actions[i]);
        EXPECT_EQ(line["key"].Text, Latin1ToUtf8(rows[i].Key));
        EXPECT_EQ(line["field"].Text, rows[i].Field);
        EXPECT_EQ(line["old"].Text, rows[i].OldValue);
        EXPECT_EQ(line["new"].Text, rows[i].NewValue);
    }
    EXPECT_EQ(DiffLines({}, {"H", Snapshot, "b.ivs"}, "a.ivs", Latin1ToUtf8), "");
}
