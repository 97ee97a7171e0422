// The records' field tables against every format that walks them: each kind
// filled field by field through its own table (every field a value of its
// own), then written as JSON and as the console's lists, and compared with
// copies changed in one field at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "console/pure/InvTables.h"
#include "engine/pure/OXI_InventoryDiff.h"
#include "engine/pure/OXI_InventoryJson.h"
#include "engine/pure/OXI_IsoTime.h"
#include "engine/pure/OXI_RecordFields.h"
#include "platform/pure/Orvex_TextCase.h"
#include "tests/FilledRecords.h"
#include "tests/JsonReader.h"

using namespace orvex;
using namespace orvex::test;

namespace {

// A service whose state, start type and type have names.
TServiceInfo FilledService() {
    TServiceInfo s = Filled<TServiceInfo>();
    s.Startup = 2;
    s.Status = 1;
    s.Typ = 1;
    return s;
}

TInventory FilledInventory() {
    TInventory inv;
    inv.Live = true;
    inv.Info = Filled<TStorageInfoRecord>();
    TProcessInfo& p = inv.Processes.emplace_back(Filled<TProcessInfo>());
    p.Threads.push_back(Filled<TThreadInfo>());
    p.Modules.push_back(Filled<TModuleInfo>());
    inv.Drivers.push_back(Filled<TDriverInfo>());
    inv.Services.push_back(FilledService());
    return inv;
}

template <typename TRecord>
class RecordFields : public ::testing::Test {};
using Kinds = ::testing::Types<TProcessInfo, TThreadInfo, TModuleInfo, TDriverInfo, TServiceInfo, TStorageInfoRecord>;
TYPED_TEST_SUITE(RecordFields, Kinds);

// Each table names each property, JSON member and comparison field once,
// its columns are 1 to N each with a caption, and every field has a value.
TYPED_TEST(RecordFields, NamesAreUniqueAndColumnsComplete) {
    std::set<std::string> properties, json, compared;
    std::set<std::uint32_t> ids;
    std::vector<int> columns;
    for (const auto& f : FieldsOf<TypeParam>()) {
        if (f.Property) {
            EXPECT_TRUE(properties.insert(f.Property).second) << f.Property;
        }
        if (f.PropertyId) {
            EXPECT_TRUE(ids.insert(f.PropertyId).second) << f.PropertyId;
        }
        if (f.Json) {
            EXPECT_TRUE(json.insert(f.Json).second) << f.Json;
        }
        if (f.Compared) {
            EXPECT_TRUE(compared.insert(f.Compared).second) << f.Compared;
        }
        if (f.Column) {
            columns.push_back(f.Column);
            EXPECT_TRUE(f.Caption && *f.Caption) << f.Column;
        }
        EXPECT_EQ(int{f.Number != nullptr} + int{f.Real != nullptr} + int{f.Text != nullptr}, 1)
            << "one kind of value per field";
        // a stored field can be read back
        if (f.Property || f.PropertyId) {
            EXPECT_TRUE(f.SetNumber || f.SetReal || f.SetText);
        }
    }
    std::sort(columns.begin(), columns.end());
    for (std::size_t i = 0; i < columns.size(); ++i) EXPECT_EQ(columns[i], static_cast<int>(i + 1));
}

std::string Hex(std::int64_t v) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%" PRIX64, static_cast<std::uint64_t>(v));
    return text;
}

// Every field with a JSON member appears under it with its own value.
template <typename TRecord>
void ExpectJsonMembers(const TJson& object, const TRecord& r) {
    ASSERT_EQ(object.Type, TJson::Object);
    for (const TField<TRecord>& f : FieldsOf<TRecord>()) {
        if (!f.Json) continue;
        SCOPED_TRACE(f.Json);
        ASSERT_TRUE(object.Has(f.Json));
        const TJson& v = object[f.Json];
        switch (f.Show) {
        case TShow::Text:
            EXPECT_EQ(v.Text, f.Text(r));
            break;
        case TShow::Address:
            EXPECT_EQ(v.Text, Hex(f.Number(r)));
            break;
        case TShow::Time:
            EXPECT_EQ(v.Text, IsoTimeFromFileTime(f.Number(r)));
            EXPECT_EQ(object[std::string(f.Json) + "Raw"].Text, std::to_string(f.Number(r)));
            break;
        case TShow::DateTime:
            EXPECT_EQ(v.Text, IsoTimeFromDateTime(f.Real(r)));
            break;
        case TShow::Bool:
            EXPECT_EQ(v.Type, TJson::Bool);
            EXPECT_EQ(v.B, f.Number(r) != 0);
            break;
        case TShow::ServiceState:
        case TShow::ServiceStartType:
        case TShow::ServiceType:
            EXPECT_EQ(v.Type, TJson::String);
            EXPECT_FALSE(v.Text.empty());
            EXPECT_EQ(v.Text, ShownValue(f, r));
            break;
        default:
            EXPECT_EQ(v.Type, TJson::Number);
            EXPECT_EQ(v.Text, std::to_string(f.Number(r)));
        }
    }
}

TEST(RecordFieldsJson, EveryTableFieldUnderItsMember) {
    const TInventory inv = FilledInventory();
    const TJson doc = ParseJson(InventoryJson(inv, nullptr));
    ExpectJsonMembers(doc["header"], inv.Info);
    const TJson& process = doc["processes"].Items.at(0);
    ExpectJsonMembers(process, inv.Processes[0]);
    ExpectJsonMembers(process["threads"].Items.at(0), inv.Processes[0].Threads[0]);
    ExpectJsonMembers(process["modules"].Items.at(0), inv.Processes[0].Modules[0]);
    ExpectJsonMembers(doc["drivers"].Items.at(0), inv.Drivers[0]);
    ExpectJsonMembers(doc["services"].Items.at(0), inv.Services[0]);
    // the header's members and the record's, no others
    std::size_t members = 0;
    // (a point in time has its raw count beside it)
    for (const auto& f : FieldsOf<TStorageInfoRecord>())
        members += f.Json == nullptr ? 0 : f.Show == TShow::Time ? 2 : 1;
    EXPECT_EQ(doc["header"].Members.size(), members + 1) << "and the view limit";
}

// Each column shows its own field: a stored field's value appears in the
// column whose caption the table gives it.
template <typename TRecord>
void ExpectColumns(const console::TTable& table, const TRecord& r) {
    const auto columns = ColumnsOf<TRecord>();
    ASSERT_EQ(table.Captions.size(), columns.size());
    ASSERT_EQ(table.Rows.size(), 1u);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(table.Captions[i], columns[i]->Caption);
        const TField<TRecord>& f = *columns[i];
        const std::string& cell = table.Rows[0][i];
        if (f.Show == TShow::Text) {
            EXPECT_EQ(cell, f.Text(r)) << f.Caption;
        } else if (f.Show == TShow::Decimal) {
            EXPECT_EQ(cell, std::to_string(f.Number(r))) << f.Caption;
        } else {
            EXPECT_FALSE(cell.empty()) << f.Caption;
        }
    }
}

TEST(RecordFieldsLists, EveryColumnShowsItsField) {
    const TInventory inv = FilledInventory();
    ExpectColumns(console::ListTable(inv, console::TInvList::Processes), inv.Processes[0]);
    ExpectColumns(console::ListTable(inv, console::TInvList::Drivers), inv.Drivers[0]);
    ExpectColumns(console::ListTable(inv, console::TInvList::Services), inv.Services[0]);
}

// The texts that only differ in case, the numbers that differ by one.
template <typename TRecord>
void Change(const TField<TRecord>& f, TRecord& r) {
    if (f.SetNumber) f.SetNumber(r, f.Number(r) + 1);
    if (f.SetText) f.SetText(r, UpperCase(f.Text(r)));
}

template <typename TRecord>
std::vector<TRecord>& ListOf(TInventory& inv);
template <>
std::vector<TProcessInfo>& ListOf(TInventory& inv) {
    return inv.Processes;
}
template <>
std::vector<TDriverInfo>& ListOf(TInventory& inv) {
    return inv.Drivers;
}
template <>
std::vector<TServiceInfo>& ListOf(TInventory& inv) {
    return inv.Services;
}

// One field changed at a time: one changed row for each compared field
// whose shown value changed with it (a field shown in another's name, as a
// start type, counts through that one; a case change of a field compared
// without regard to case changes nothing), under its comparison name and
// with both values; a field of the key gives the record removed and
// another added. Every compared field is seen changing once.
template <typename TRecord>
void ExpectOneRowPerComparedField(const TInventory& base, const std::set<std::string>& keys) {
    std::set<std::string> seen, comparable;
    for (const TField<TRecord>& f : FieldsOf<TRecord>()) {
        if (f.Compared && !f.FoldCase) comparable.insert(f.Compared);
        if (!f.SetNumber && !f.SetText) continue;
        SCOPED_TRACE(f.Property ? f.Property : f.Json);
        TInventory after = base;
        TInventory before = base;
        const TRecord& old = ListOf<TRecord>(before).front();
        TRecord& changed = ListOf<TRecord>(after).front();
        Change(f, changed);
        const std::vector<TDiffRow> rows = CompareInventories(base, after);
        if (f.Property && keys.count(f.Property)) {
            ASSERT_EQ(rows.size(), 2u);
            EXPECT_EQ(rows[0].Change, TDiffChange::Removed);
            EXPECT_EQ(rows[1].Change, TDiffChange::Added);
            continue;
        }
        std::set<std::string> expected;
        for (const TField<TRecord>& g : FieldsOf<TRecord>()) {
            if (!g.Compared) continue;
            const std::string a = ShownValue(g, old), b = ShownValue(g, changed);
            if (g.FoldCase ? !SameText(a, b) : a != b) expected.insert(g.Compared);
        }
        std::set<std::string> got;
        for (const TDiffRow& r : rows) {
            EXPECT_EQ(r.Change, TDiffChange::Changed);
            EXPECT_NE(r.OldValue, r.NewValue);
            got.insert(r.Field);
        }
        EXPECT_EQ(got, expected);
        EXPECT_EQ(rows.size(), expected.size());
        seen.insert(got.begin(), got.end());
    }
    EXPECT_EQ(seen, comparable) << "every compared field changes once";
}

TEST(RecordFieldsComparison, OneRowPerComparedField) {
    TInventory base = FilledInventory();
    // A second process on both sides makes them the same boot: processes
    // pair by id and creation time.
    TProcessInfo other = Filled<TProcessInfo>();
    other.PID = 4;
    other.CreateTime = 1;
    base.Processes.push_back(other);
    ASSERT_TRUE(SameBoot(base, base));
    ExpectOneRowPerComparedField<TProcessInfo>(base, {"PID", "CreateTime"});
    ExpectOneRowPerComparedField<TDriverInfo>(base, {});
    ExpectOneRowPerComparedField<TServiceInfo>(base, {});
}

}  // namespace

// Signer and hash are known only where a check was asked for: unknown, they
// are left out of JSON and compare equal to anything; known on both sides,
// a different hash is a changed row.
TEST(RecordFieldsComparison, HashesCompareOnlyWhereBothSidesKnowThem) {
    TInventory known = FilledInventory();
    known.Processes[0].Sha256 = "aa";
    known.Drivers[0].Sha256 = "bb";
    TInventory unknown = known;
    unknown.Processes[0].Sha256 = "";
    unknown.Processes[0].Signer = "";
    unknown.Drivers[0].Sha256 = "";
    TInventory other = known;
    other.Processes[0].Sha256 = "cc";
    other.Drivers[0].Sha256 = "dd";

    EXPECT_TRUE(CompareInventories(known, unknown).empty());
    EXPECT_TRUE(CompareInventories(unknown, known).empty());
    std::vector<std::string> changed;
    for (const TDiffRow& r : CompareInventories(known, other))
        changed.push_back(r.Field + ":" + r.OldValue + ">" + r.NewValue);
    std::sort(changed.begin(), changed.end());
    EXPECT_EQ(changed, (std::vector<std::string>{"sha256:aa>cc", "sha256:bb>dd"}));

    const TJson doc = ParseJson(InventoryJson(unknown, nullptr));
    const TJson& process = doc["processes"].Items.at(0);
    EXPECT_FALSE(process.Has("sha256"));
    EXPECT_FALSE(process.Has("signer"));
    EXPECT_TRUE(doc["drivers"].Items.at(0).Has("signer"));
}
