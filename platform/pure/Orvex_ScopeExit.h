// Runs an undo step when a scope ends, on the normal way out and when an
// exception leaves the scope alike, unless the step was dismissed first.
//
// The destructor never throws: an exception of the undo step there is
// dropped (when another one leaves the scope, that first failure is the one
// the caller reports). A scope whose undo step may fail, and whose caller
// must learn of it, ends with Finish(), which runs the step at once and lets
// its failure through.
#pragma once

#include <type_traits>
#include <utility>

namespace orvex {

template <typename F>
class TScopeExit {
public:
    explicit TScopeExit(F undo) noexcept(std::is_nothrow_move_constructible_v<F>) : undo_(std::move(undo)) {}
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;
    ~TScopeExit() noexcept {
        if (!armed_) return;
        try {
            undo_();
        } catch (...) {
        }
    }

    // The scope ended as it should: the undo step does not run.
    void Dismiss() noexcept { armed_ = false; }
    // Runs the undo step now (once: the destructor does not run it again);
    // its failure goes on to the caller.
    void Finish() {
        if (!armed_) return;
        armed_ = false;
        undo_();
    }

private:
    F undo_;
    bool armed_ = true;
};

}  // namespace orvex
