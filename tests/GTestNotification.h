// GoogleTest's Notification for the win32-threads run-time of the Windows
// trees, which has no std::mutex or std::condition_variable. GoogleTest uses
// the class only in its own tests; the run-time's atomics are enough for it.
// Included before every file of the Windows trees that includes GoogleTest.
#pragma once

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
public:
    void Notify() { notified_.store(true); }
    void WaitForNotification() {
        while (!notified_.load()) {
        }
    }

private:
    std::atomic<bool> notified_{false};
};

}  // namespace testing::internal
