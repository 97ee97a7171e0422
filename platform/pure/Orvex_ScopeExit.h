// Runs an undo step when a scope ends, on the normal way out and when an
// exception leaves the scope alike, unless the step was dismissed first.
//
// An exception thrown by the undo step while another one leaves the scope is
// dropped: the first failure is the one the caller reports. On the normal way
// out the undo step's exception goes on to the caller.
#pragma once

#include <exception>
#include <type_traits>
#include <utility>

namespace orvex {

template <typename F>
class TScopeExit {
public:
    explicit TScopeExit(F undo) noexcept(std::is_nothrow_move_constructible_v<F>) : undo_(std::move(undo)) {}
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;
    ~TScopeExit() noexcept(false) {
        if (!armed_) return;
        if (std::uncaught_exceptions() == unwinding_) {
            undo_();
            return;
        }
        try {
            undo_();
        } catch (...) {
        }
    }

    // The scope ended as it should: the undo step does not run.
    void Dismiss() noexcept { armed_ = false; }

private:
    F undo_;
    int unwinding_ = std::uncaught_exceptions();
    bool armed_ = true;
};

}  // namespace orvex
