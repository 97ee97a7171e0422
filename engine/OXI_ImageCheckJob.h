// Image checks made on a thread of their own, so that a window asking for
// many (a process's modules, the Find window's results) stays responsive and
// shows each answer as it comes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/OXI_ImageChecks.h"

namespace orvex {

class TImageCheckJob {
public:
    struct TAnswer {
        std::size_t Index;  // of the path in the job's list
        TImageCheck Check;
    };

    // Checks paths in order on a new thread, calling notify on that thread
    // after each answer. A job whose thread cannot start answers every path
    // "Not checked" at once (and calls notify once).
    // check and limitMs as for TImageChecker.
    TImageCheckJob(std::vector<std::string> paths, std::function<void()> notify, TSubjectQuery check = nullptr,
                   DWORD limitMs = 0);
    // Stops the job: notify is not called after this returns. A check that
    // runs goes on to its end (at most its time limit) on the job's thread.
    ~TImageCheckJob();
    TImageCheckJob(const TImageCheckJob&) = delete;
    TImageCheckJob& operator=(const TImageCheckJob&) = delete;

    // The answers that came since the last call.
    std::vector<TAnswer> TakeAnswers();

    struct TState;

private:
    std::shared_ptr<TState> state_;
};

}  // namespace orvex
