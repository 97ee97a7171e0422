#include "app/pure/FindRows.h"

#include <algorithm>
#include <unordered_map>

namespace orvex {

namespace {

constexpr unsigned char Fold(char c) noexcept {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

}  // namespace

bool ContainsText(std::string_view haystack, std::string_view needle) noexcept {
    if (needle.empty()) return true;
    if (needle.size() > haystack.size()) return false;
    const unsigned char first = Fold(needle[0]);
    const std::size_t last = haystack.size() - needle.size();
    for (std::size_t i = 0; i <= last; ++i) {
        if (Fold(haystack[i]) != first) continue;
        std::size_t k = 1;
        while (k < needle.size() && Fold(haystack[i + k]) == Fold(needle[k])) ++k;
        if (k == needle.size()) return true;
    }
    return false;
}

std::vector<TFindHit> FindHandlesAndModules(const TProcList& processes, const THandleList& handles,
                                            std::string_view text) {
    std::vector<TFindHit> hits;
    if (text.empty()) return hits;
    std::unordered_map<std::uint32_t, const TProcessInfo*> byPid;
    byPid.reserve(processes.size());
    for (const TProcessInfo& p : processes) byPid.emplace(p.PID, &p);
    for (const THandleInfo& h : handles) {
        if (!ContainsText(h.Name.str(), text)) continue;
        TFindHit& hit = hits.emplace_back();
        hit.ProcessID = h.ProcessID;
        if (auto it = byPid.find(h.ProcessID); it != byPid.end()) hit.ProcessName = it->second->Name;
        hit.Type = h.TypeName;
        hit.Handle = h.Handle;
        hit.Name = h.Name;
    }
    for (const TProcessInfo& p : processes)
        for (const TModuleInfo& m : p.Modules) {
            if (!ContainsText(m.ImageName.str(), text)) continue;
            TFindHit& hit = hits.emplace_back();
            hit.ProcessID = p.PID;
            hit.ProcessName = p.Name;
            hit.Module = true;
            hit.Type = ModuleHitType;
            hit.Handle = m.Base;
            hit.Name = m.ImageName;
        }
    return hits;
}

TListRows FindRows(const std::vector<TFindHit>& hits, bool nt) {
    TListRows rows;
    rows.reserve(hits.size());
    for (const TFindHit& h : hits)
        rows.push_back({h.ProcessName, FormatProcessId(h.ProcessID, nt), h.Type, FormatHex0x(h.Handle), h.Name});
    return rows;
}

std::string FindCountText(std::size_t count) { return std::to_string(count) + (count == 1 ? " match" : " matches"); }

}  // namespace orvex
