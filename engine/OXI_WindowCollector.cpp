// The window tree of the desktop in pre-order: each window directly
// followed by its whole subtree.
#include <windows.h>

#include <unordered_set>

#include "engine/OXI_Collectors.h"
#include "platform/Orvex_WindowInfo.h"

namespace orvex {

namespace {
// Far more windows than a desktop holds; a walk that gets here is chasing
// windows that are re-parented, or created and destroyed, while it runs. It
// bounds the records and the handles the walk visits (destroyed ones
// included), and with them the steps of the walk: each step visits a new
// handle or leaves one for good.
constexpr std::size_t MaxWindows = 200000;
}  // namespace

void CollectWindows(TWindowList& list) {
    // The list grows geometrically (push_back): a fixed step would cost
    // time quadratic in the number of windows.
    list.clear();
    const HWND desktop = ::GetDesktopWindow();
    TWindowClasses classes;
    TWindowTextReader texts;
    DescribeWindow(desktop, list.emplace_back(), classes, texts, TParentVisibility::Unknown);

    std::unordered_set<HWND> visited{desktop};
    // The windows whose subtrees are being walked, each with its visibility
    // as a parent of the windows below it.
    struct TOpenWindow {
        HWND Handle;
        TParentVisibility Shown;
    };
    std::vector<TOpenWindow> path;
    HWND w = ::GetWindow(desktop, GW_CHILD);
    TWindowInfo info;
    while (visited.size() < MaxWindows) {
        if (w && visited.insert(w).second) {
            // A window destroyed since the walk found it is left out; the
            // walk goes on with whatever the system still links to it (and
            // asks the system for the visibility of its children).
            const TParentVisibility parent = path.empty() ? TParentVisibility::Shown : path.back().Shown;
            TParentVisibility self = TParentVisibility::Unknown;
            if (DescribeWindow(w, info, classes, texts, parent)) {
                self = info.Visible ? TParentVisibility::Shown : TParentVisibility::Hidden;
                list.push_back(std::move(info));
            }
            path.push_back({w, self});
            w = ::GetWindow(w, GW_CHILD);
            continue;
        }
        // No child (or one already listed): on to the next sibling of the
        // nearest window on the path that has one.
        w = nullptr;
        while (!w && !path.empty()) {
            const HWND done = path.back().Handle;
            path.pop_back();
            w = ::GetWindow(done, GW_HWNDNEXT);
            if (w && visited.count(w)) w = nullptr;
        }
        if (!w) break;
    }
    list.shrink_to_fit();
}

}  // namespace orvex
