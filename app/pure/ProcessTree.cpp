#include "app/pure/ProcessTree.h"

#include <algorithm>
#include <unordered_map>

namespace orvex::app {

namespace {

// Whether parent is child's parent: it has child's parent id, is not child
// itself, and was created before child. Where either creation time is
// unknown (0: the 9x family, or a process whose times could not be read) the
// id alone decides. A process created after child that has the id is
// another program that reused it: no parent.
bool IsParentOf(const TProcessInfo& parent, const TProcessInfo& child) noexcept {
    if (&parent == &child || parent.PID != child.ParentPID) return false;
    // The idle process (id 0) is its own parent by id.
    if (parent.PID == child.PID) return false;
    if (parent.CreateTime == 0 || child.CreateTime == 0) return true;
    return parent.CreateTime <= child.CreateTime;
}

}  // namespace

std::vector<TTreeRow> ProcessTreeRows(const TProcList& processes) {
    const std::size_t n = processes.size();
    // Creation order, then id: the order of siblings and of the top level.
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const TProcessInfo& x = processes[a];
        const TProcessInfo& y = processes[b];
        return x.CreateTime != y.CreateTime ? x.CreateTime < y.CreateTime : x.PID < y.PID;
    });
    std::unordered_multimap<std::uint32_t, std::size_t> byId;
    for (std::size_t i = 0; i < n; ++i) byId.emplace(processes[i].PID, i);
    // Each process's parent: the latest-created process of its parent id
    // created before it.
    constexpr std::size_t None = static_cast<std::size_t>(-1);
    std::vector<std::size_t> parent(n, None);
    for (std::size_t i = 0; i < n; ++i) {
        auto [first, last] = byId.equal_range(processes[i].ParentPID);
        for (auto it = first; it != last; ++it) {
            const std::size_t p = it->second;
            if (!IsParentOf(processes[p], processes[i])) continue;
            if (parent[i] == None || processes[parent[i]].CreateTime < processes[p].CreateTime) parent[i] = p;
        }
    }
    std::vector<std::vector<std::size_t>> children(n);
    std::vector<std::size_t> roots;
    for (std::size_t i : order) (parent[i] == None ? roots : children[parent[i]]).push_back(i);

    std::vector<TTreeRow> rows;
    rows.reserve(n);
    std::vector<bool> placed(n, false);
    // Depth first, without recursion: a long chain of children must not
    // exhaust the stack.
    auto walk = [&](std::size_t root) {
        std::vector<std::pair<std::size_t, int>> stack{{root, 0}};
        while (!stack.empty()) {
            const auto [i, depth] = stack.back();
            stack.pop_back();
            if (placed[i]) continue;
            placed[i] = true;
            rows.push_back({i, depth});
            for (auto c = children[i].rbegin(); c != children[i].rend(); ++c)
                if (!placed[*c]) stack.emplace_back(*c, depth + 1);
        }
    };
    for (std::size_t r : roots) walk(r);
    // What a loop of parent ids left unplaced starts a tree of its own.
    for (std::size_t i : order)
        if (!placed[i]) walk(i);
    return rows;
}

std::string TreeIndent(int depth) { return std::string(depth > 0 ? static_cast<std::size_t>(depth) * 3 : 0, ' '); }

}  // namespace orvex::app
