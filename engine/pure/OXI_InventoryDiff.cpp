#include "engine/pure/OXI_InventoryDiff.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "engine/pure/OXI_IsoTime.h"
#include "engine/pure/OXI_RecordFields.h"
#include "platform/pure/Orvex_TextCase.h"

namespace orvex {

namespace {

// One compared field: its name and one side's text. Account names compare
// without regard to case.
struct TFieldValue {
    const char* Field;
    std::string Value;
    bool FoldCase = false;
    bool Unknown = false;  // a field one side may lack (a report saved without it)
};

bool SameValue(const TFieldValue& a, const TFieldValue& b) {
    if (a.Unknown || b.Unknown) return true;
    return a.FoldCase ? SameText(a.Value, b.Value) : a.Value == b.Value;
}

class TRowSink {
public:
    explicit TRowSink(TDiffKind kind, std::vector<TDiffRow>& rows) : kind_(kind), rows_(rows) {}

    void Item(const std::string& key, TDiffChange change, std::string oldValue = {}, std::string newValue = {}) {
        rows_.push_back({kind_, key, change, {}, std::move(oldValue), std::move(newValue)});
    }
    void Fields(const std::string& key, const std::vector<TFieldValue>& before, const std::vector<TFieldValue>& after) {
        for (std::size_t i = 0; i < before.size() && i < after.size(); ++i)
            if (!SameValue(before[i], after[i]))
                rows_.push_back({kind_, key, TDiffChange::Changed, before[i].Field, before[i].Value, after[i].Value});
    }

private:
    TDiffKind kind_;
    std::vector<TDiffRow>& rows_;
};

// The records of one list by key (the key's upper-case form), the first
// record of a key only: a list holds each service and driver once.
template <typename TRecord, typename TKeyOf>
std::map<std::string, const TRecord*> FirstByKey(const std::vector<TRecord>& list, TKeyOf keyOf) {
    std::map<std::string, const TRecord*> result;
    for (const TRecord& r : list) result.emplace(UpperCase(keyOf(r)), &r);
    return result;
}

// Walks two keyed maps in key order: Removed, Added, or both present.
template <typename TMap, typename TOnRemoved, typename TOnAdded, typename TOnBoth>
void Merge(const TMap& before, const TMap& after, TOnRemoved onRemoved, TOnAdded onAdded, TOnBoth onBoth) {
    auto b = before.begin();
    auto a = after.begin();
    while (b != before.end() || a != after.end()) {
        if (a == after.end() || (b != before.end() && b->first < a->first)) {
            onRemoved(b->second);
            ++b;
        } else if (b == before.end() || a->first < b->first) {
            onAdded(a->second);
            ++a;
        } else {
            onBoth(b->second, a->second);
            ++b;
            ++a;
        }
    }
}

std::string Decimal(std::int64_t value) { return std::to_string(value); }

// The compared fields of a record, as its field table names them.
template <typename TRecord>
std::vector<TFieldValue> ComparedFields(const TRecord& r) {
    std::vector<TFieldValue> values;
    for (const TField<TRecord>& f : FieldsOf<TRecord>())
        if (f.Compared) values.push_back({f.Compared, ShownValue(f, r), f.FoldCase, f.Unknown(r)});
    return values;
}

// Drivers and services, each by its name: added, removed, or its compared
// fields.
template <typename TRecord>
void CompareByName(TDiffKind kind, const std::vector<TRecord>& before, const std::vector<TRecord>& after,
                   std::vector<TDiffRow>& rows) {
    TRowSink sink(kind, rows);
    auto keyOf = [](const TRecord& r) -> const std::string& { return r.Name.str(); };
    using TPtr = const TRecord*;
    Merge(
        FirstByKey(before, keyOf), FirstByKey(after, keyOf),
        [&](TPtr r) { sink.Item(r->Name.str(), TDiffChange::Removed); },
        [&](TPtr r) { sink.Item(r->Name.str(), TDiffChange::Added); },
        [&](TPtr b, TPtr a) { sink.Fields(b->Name.str(), ComparedFields(*b), ComparedFields(*a)); });
}

const std::string& ProcessKey(const TProcessInfo& p) { return p.ImageName.empty() ? p.Name.str() : p.ImageName.str(); }

// Processes of one image: how many, and the set of their users and paths.
// Users compare without regard to case, as account names do; values that
// could not be read (empty) are left out of the sets.
struct TProcessGroup {
    std::string Key;
    std::int64_t Count = 0;
    std::map<std::string, std::string> Users;  // upper case -> first spelling
    std::set<std::string> Paths;
};

std::map<std::string, TProcessGroup> GroupProcesses(const TProcList& list) {
    std::map<std::string, TProcessGroup> groups;
    for (const TProcessInfo& p : list) {
        TProcessGroup& g = groups[UpperCase(ProcessKey(p))];
        if (g.Count++ == 0) g.Key = ProcessKey(p);
        if (!p.UserName.empty()) g.Users.emplace(UpperCase(p.UserName.str()), p.UserName.str());
        if (!p.ImageName.empty()) g.Paths.insert(p.ImageName.str());
    }
    return groups;
}

template <typename TContainer, typename TValueOf>
std::string JoinSet(const TContainer& values, TValueOf valueOf) {
    std::string text;
    for (const auto& v : values) {
        if (!text.empty()) text += "; ";
        text += valueOf(v);
    }
    return text;
}

std::vector<TFieldValue> GroupFields(const TProcessGroup& g) {
    return {{"count", Decimal(g.Count)},
            {"user", JoinSet(g.Users, [](const auto& u) -> const std::string& { return u.second; }), true},
            {"path", JoinSet(g.Paths, [](const std::string& p) -> const std::string& { return p; })}};
}

void CompareProcessImages(const TProcList& before, const TProcList& after, std::vector<TDiffRow>& rows) {
    TRowSink sink(TDiffKind::Process, rows);
    const auto b = GroupProcesses(before);
    const auto a = GroupProcesses(after);
    // A key on one side only is added or removed, with its count.
    for (const auto& [key, group] : b)
        if (!a.count(key)) sink.Item(group.Key, TDiffChange::Removed, Decimal(group.Count), {});
    for (const auto& [key, group] : a)
        if (!b.count(key)) sink.Item(group.Key, TDiffChange::Added, {}, Decimal(group.Count));
    for (const auto& [key, group] : b) {
        auto other = a.find(key);
        if (other != a.end()) sink.Fields(group.Key, GroupFields(group), GroupFields(other->second));
    }
}

// Same boot: each process by id and creation time. The key names the image
// and the id; added and removed rows carry the creation time as their value,
// so a reused id stays told apart. A process whose creation time one side
// could not read is paired by id and name instead: a reused id running
// another program is then a process removed and one added, never an empty
// user and path compared with themselves.
std::string ProcessInstanceKey(const TProcessInfo& p) { return ProcessKey(p) + " (PID " + std::to_string(p.PID) + ")"; }

void CompareProcessInstances(const TProcList& before, const TProcList& after, std::vector<TDiffRow>& rows) {
    TRowSink sink(TDiffKind::Process, rows);
    using TPtr = const TProcessInfo*;
    auto removed = [&](TPtr p) {
        sink.Item(ProcessInstanceKey(*p), TDiffChange::Removed, IsoTimeFromFileTime(p->CreateTime));
    };
    auto added = [&](TPtr p) {
        sink.Item(ProcessInstanceKey(*p), TDiffChange::Added, {}, IsoTimeFromFileTime(p->CreateTime));
    };
    auto both = [&](TPtr o, TPtr n) { sink.Fields(ProcessInstanceKey(*o), ComparedFields(*o), ComparedFields(*n)); };

    // Known times on both sides first; what is left, by id and name.
    using TId = std::pair<std::uint32_t, std::int64_t>;
    std::map<TId, TPtr> timed;
    std::multimap<std::pair<std::uint32_t, std::string>, TPtr> untimed;
    std::set<TPtr> paired;
    for (const TProcessInfo& p : before)
        if (p.CreateTime != 0) timed.emplace(TId{p.PID, p.CreateTime}, &p);
    std::vector<TPtr> afterLeft;
    for (const TProcessInfo& p : after) {
        auto it = p.CreateTime != 0 ? timed.find(TId{p.PID, p.CreateTime}) : timed.end();
        if (it != timed.end() && !paired.count(it->second)) {
            paired.insert(it->second);
            both(it->second, &p);
        } else {
            afterLeft.push_back(&p);
        }
    }
    for (const TProcessInfo& p : before)
        if (!paired.count(&p)) untimed.emplace(std::pair{p.PID, UpperCase(p.Name.str())}, &p);
    for (TPtr p : afterLeft) {
        TPtr match = nullptr;
        auto [first, last] = untimed.equal_range({p->PID, UpperCase(p->Name.str())});
        for (auto it = first; it != last; ++it)
            if (p->CreateTime == 0 || it->second->CreateTime == 0) {
                match = it->second;
                untimed.erase(it);
                break;
            }
        if (match)
            both(match, p);
        else
            added(p);
    }
    for (const auto& entry : untimed) removed(entry.second);
}

int ChangeOrder(TDiffChange c) {
    switch (c) {
    case TDiffChange::Removed:
        return 0;
    case TDiffChange::Added:
        return 1;
    case TDiffChange::Changed:
        return 2;
    }
    return 3;
}

}  // namespace

bool SameBoot(const TInventory& a, const TInventory& b) {
    if (!SameText(a.Info.Machine, b.Info.Machine)) return false;
    std::set<std::pair<std::uint32_t, std::int64_t>> ids;
    for (const TProcessInfo& p : a.Processes)
        if (p.CreateTime != 0) ids.emplace(p.PID, p.CreateTime);
    for (const TProcessInfo& p : b.Processes)
        if (p.CreateTime != 0 && ids.count({p.PID, p.CreateTime})) return true;
    return false;
}

std::vector<TDiffRow> CompareInventories(const TInventory& before, const TInventory& after) {
    std::vector<TDiffRow> rows;
    if (SameBoot(before, after))
        CompareProcessInstances(before.Processes, after.Processes, rows);
    else
        CompareProcessImages(before.Processes, after.Processes, rows);
    CompareByName(TDiffKind::Driver, before.Drivers, after.Drivers, rows);
    CompareByName(TDiffKind::Service, before.Services, after.Services, rows);
    // Sort keys computed once: kind, key without regard to case, field, change.
    std::vector<std::pair<std::tuple<int, std::string, std::string, int>, std::size_t>> order;
    order.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        order.push_back(
            {{static_cast<int>(rows[i].Kind), UpperCase(rows[i].Key), rows[i].Field, ChangeOrder(rows[i].Change)}, i});
    std::stable_sort(order.begin(), order.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<TDiffRow> sorted;
    sorted.reserve(rows.size());
    for (const auto& o : order) sorted.push_back(std::move(rows[o.second]));
    return sorted;
}

namespace {

// The text of an enumerator, by its value, from the texts in their order.
template <typename TEnum, std::size_t N>
const char* EnumText(TEnum value, const char* const (&texts)[N]) noexcept {
    const auto i = static_cast<std::size_t>(value);
    return i < N ? texts[i] : "";
}

}  // namespace

const char* DiffKindText(TDiffKind kind) noexcept { return EnumText(kind, {"process", "driver", "service"}); }

const char* DiffChangeText(TDiffChange change) noexcept { return EnumText(change, {"added", "removed", "changed"}); }

std::vector<std::string> DiffColumnCaptions() { return {"Kind", "Key", "Change", "Field", "Old value", "New value"}; }

std::vector<std::string> DiffRowFields(const TDiffRow& row) {
    return {DiffKindText(row.Kind), row.Key, DiffChangeText(row.Change), row.Field, row.OldValue, row.NewValue};
}

}  // namespace orvex
