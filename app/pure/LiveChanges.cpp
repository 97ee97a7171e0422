#include "app/pure/LiveChanges.h"

#include <unordered_map>

#include "platform/pure/Orvex_TextCase.h"

namespace orvex::app {

namespace {

bool Changed(const TProcessInfo&, const TProcessInfo&) { return false; }
bool Changed(const TDriverInfo&, const TDriverInfo&) { return false; }
bool Changed(const TServiceInfo& before, const TServiceInfo& now) {
    return before.Status != now.Status || before.Startup != now.Startup;
}

template <typename TRecord>
std::vector<TLiveRow> Rows(const std::vector<TRecord>& previous, const std::vector<TRecord>& current) {
    std::unordered_map<std::string, std::size_t> now, before;
    for (std::size_t i = 0; i < current.size(); ++i) now.emplace(LiveKey(current[i]), i);
    for (std::size_t i = 0; i < previous.size(); ++i) before.emplace(LiveKey(previous[i]), i);
    // The vanished records that follow each current row (by its index; the
    // last slot holds those that stand first).
    std::vector<std::vector<std::size_t>> after(current.size() + 1);
    std::size_t anchor = current.size();
    for (std::size_t i = 0; i < previous.size(); ++i) {
        auto it = now.find(LiveKey(previous[i]));
        if (it != now.end())
            anchor = it->second;
        else
            after[anchor].push_back(i);
    }
    std::vector<TLiveRow> rows;
    rows.reserve(current.size() + previous.size());
    auto removed = [&](std::size_t slot) {
        for (std::size_t i : after[slot]) rows.push_back({i, TLiveChange::Removed});
    };
    removed(current.size());
    for (std::size_t i = 0; i < current.size(); ++i) {
        auto it = before.find(LiveKey(current[i]));
        const TLiveChange change = it == before.end()                          ? TLiveChange::Added
                                   : Changed(previous[it->second], current[i]) ? TLiveChange::Changed
                                                                               : TLiveChange::None;
        rows.push_back({i, change});
        removed(i);
    }
    return rows;
}

}  // namespace

std::string LiveKey(const TProcessInfo& p) {
    return std::to_string(p.PID) + "/" + (p.CreateTime != 0 ? std::to_string(p.CreateTime) : UpperCase(p.Name.str()));
}
std::string LiveKey(const TDriverInfo& d) { return UpperCase(d.Name.str()); }
std::string LiveKey(const TServiceInfo& s) { return UpperCase(s.Name.str()); }

std::vector<TLiveRow> LiveRows(const TProcList& previous, const TProcList& current) { return Rows(previous, current); }
std::vector<TLiveRow> LiveRows(const TDriverList& previous, const TDriverList& current) {
    return Rows(previous, current);
}
std::vector<TLiveRow> LiveRows(const TServiceList& previous, const TServiceList& current) {
    return Rows(previous, current);
}

std::string ChangeMarker(TLiveChange change) {
    switch (change) {
    case TLiveChange::Added:
        return "+ ";
    case TLiveChange::Removed:
        return "- ";
    case TLiveChange::Changed:
        return "* ";
    case TLiveChange::None:
        break;
    }
    return {};
}

std::string ChangeSummary(const std::vector<TLiveRow>& rows) {
    int added = 0, removed = 0, changed = 0;
    for (const TLiveRow& r : rows) {
        added += r.Change == TLiveChange::Added;
        removed += r.Change == TLiveChange::Removed;
        changed += r.Change == TLiveChange::Changed;
    }
    return "+" + std::to_string(added) + " -" + std::to_string(removed) + " changed " + std::to_string(changed);
}

}  // namespace orvex::app
