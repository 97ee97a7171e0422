// The window tree of the desktop in pre-order: each window directly
// followed by its whole subtree.
#include <windows.h>

#include <unordered_set>

#include "engine/OXI_Collectors.h"
#include "platform/Orvex_WindowInfo.h"

namespace orvex {

namespace {
constexpr std::size_t WindowGrowth = 100;
// Far more windows than a desktop holds; a walk that gets here is chasing
// windows that are re-parented while it runs.
constexpr std::size_t MaxWindows = 200000;
}  // namespace

void CollectWindows(TWindowList& list) {
    list.clear();
    list.reserve(WindowGrowth);
    const HWND desktop = ::GetDesktopWindow();
    DescribeWindow(desktop, list.emplace_back());

    std::unordered_set<HWND> visited{desktop};
    std::vector<HWND> path;  // the windows whose subtrees are being walked
    HWND w = ::GetWindow(desktop, GW_CHILD);
    TWindowInfo info;
    while (list.size() < MaxWindows) {
        if (w && visited.insert(w).second) {
            // A window destroyed since the walk found it is left out; the
            // walk goes on with whatever the system still links to it.
            if (DescribeWindow(w, info)) {
                if (list.size() == list.capacity()) list.reserve(list.capacity() + WindowGrowth);
                list.push_back(std::move(info));
            }
            path.push_back(w);
            w = ::GetWindow(w, GW_CHILD);
            continue;
        }
        // No child (or one already listed): on to the next sibling of the
        // nearest window on the path that has one.
        w = nullptr;
        while (!w && !path.empty()) {
            HWND done = path.back();
            path.pop_back();
            w = ::GetWindow(done, GW_HWNDNEXT);
            if (w && visited.count(w)) w = nullptr;
        }
        if (!w) break;
    }
    list.shrink_to_fit();
}

}  // namespace orvex
