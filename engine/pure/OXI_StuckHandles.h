// The handles whose name query never returned, remembered so that they are
// not asked again.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace orvex {

// One handle, told apart from a later one that reuses its value: the owner's
// id and creation time (0 when the owner could not be asked), the handle's
// value in the owner and the kernel address of its object.
struct TStuckHandle {
    std::uint32_t ProcessId = 0;
    std::int64_t Created = 0;
    std::uintptr_t Handle = 0;
    std::uintptr_t Object = 0;
    friend bool operator==(const TStuckHandle&, const TStuckHandle&) = default;
};

class TStuckHandleSet {
public:
    // Whether the handle was remembered. created() gives the owner's creation
    // time; it is called only when id, value and object match an entry, so
    // that the owner is asked about only for such handles.
    template <typename TCreated>
    bool Contains(std::uint32_t processId, std::uintptr_t handle, std::uintptr_t object, TCreated created) const {
        bool asked = false;
        std::int64_t time = 0;
        for (const TStuckHandle& h : items_) {
            if (h.ProcessId != processId || h.Handle != handle || h.Object != object) continue;
            if (!asked) {
                time = created();
                asked = true;
            }
            if (h.Created == time) return true;
        }
        return false;
    }
    void Add(const TStuckHandle& handle) {
        if (std::find(items_.begin(), items_.end(), handle) == items_.end()) items_.push_back(handle);
    }
    std::size_t Size() const noexcept { return items_.size(); }

private:
    std::vector<TStuckHandle> items_;
};

}  // namespace orvex
