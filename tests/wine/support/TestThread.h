// A thread of a test: runs a function on a system thread and is joined at
// the latest when it goes out of scope. The functions are bounded waits
// themselves; a join that still has to wait a minute fails the test and ends
// the thread rather than hanging the run.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <utility>

#include "platform/Orvex_Resources.h"

namespace orvex::test {

class TTestThread {
public:
    TTestThread() = default;
    explicit TTestThread(std::function<void()> body) : body_(std::move(body)) {
        thread_.reset(::CreateThread(nullptr, 0, Run, this, 0, nullptr));
    }
    TTestThread(const TTestThread&) = delete;
    TTestThread& operator=(const TTestThread&) = delete;
    ~TTestThread() { join(); }

    bool joinable() const noexcept { return static_cast<bool>(thread_); }
    // Whether the thread has finished, waiting at most Ms for it.
    bool finished(DWORD ms) const { return thread_ && ::WaitForSingleObject(thread_.get(), ms) == WAIT_OBJECT_0; }
    void join() {
        if (thread_ && ::WaitForSingleObject(thread_.get(), JoinLimitMs) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "a test thread did not finish within " << JoinLimitMs << " ms";
            ::TerminateThread(thread_.get(), 1);
        }
        thread_.reset();
    }

private:
    static constexpr DWORD JoinLimitMs = 60000;
    static DWORD WINAPI Run(void* self) {
        static_cast<TTestThread*>(self)->body_();
        return 0;
    }
    std::function<void()> body_;
    THandle thread_;
};

}  // namespace orvex::test
