#include "app/pure/FindRows.h"

#include <algorithm>
#include <unordered_map>

namespace orvex {

std::vector<TFindHit> FindHandlesAndModules(const TProcList& processes, const THandleList& handles,
                                            std::string_view text, TLeadBytePredicate isLeadByte) {
    std::vector<TFindHit> hits;
    if (text.empty()) return hits;
    const TTextFinder finder(text, isLeadByte);
    std::unordered_map<std::uint32_t, const TProcessInfo*> byPid;
    byPid.reserve(processes.size());
    for (const TProcessInfo& p : processes) byPid.emplace(p.PID, &p);
    for (const THandleInfo& h : handles) {
        if (!finder.In(h.Name.str())) continue;
        TFindHit& hit = hits.emplace_back();
        hit.ProcessID = h.ProcessID;
        if (auto it = byPid.find(h.ProcessID); it != byPid.end()) hit.ProcessName = it->second->Name;
        hit.Type = h.TypeName;
        hit.Handle = h.Handle;
        hit.Name = h.Name;
    }
    for (const TProcessInfo& p : processes)
        for (const TModuleInfo& m : p.Modules) {
            if (!finder.In(m.Name.str()) && !finder.In(m.ImageName.str())) continue;
            TFindHit& hit = hits.emplace_back();
            hit.ProcessID = p.PID;
            hit.ProcessName = p.Name;
            hit.Module = true;
            hit.Type = ModuleHitType;
            hit.Handle = m.Base;
            hit.Name = m.ImageName.empty() ? m.Name.str() : m.ImageName.str();
        }
    return hits;
}

TListRows FindRows(const std::vector<TFindHit>& hits, bool nt) {
    TListRows rows;
    rows.reserve(hits.size());
    for (const TFindHit& h : hits)
        rows.push_back({h.ProcessName, FormatProcessId(h.ProcessID, nt), h.Type, FormatHex0x(h.Handle), h.Name, {}});
    return rows;
}

THitFiles ModuleHitFiles(const std::vector<TFindHit>& hits) {
    THitFiles files;
    std::unordered_map<std::string, std::size_t> indexOf;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        const TFindHit& h = hits[i];
        // A module known only by its base name has no file to check.
        if (!h.Module || h.Name.find('\\') == std::string::npos) continue;
        const auto [it, added] = indexOf.emplace(h.Name, files.Paths.size());
        if (added) {
            files.Paths.push_back(h.Name);
            files.Hits.emplace_back();
        }
        files.Hits[it->second].push_back(i);
    }
    return files;
}

std::string FindCountText(std::size_t count) { return std::to_string(count) + (count == 1 ? " match" : " matches"); }

}  // namespace orvex
