#include "engine/OXI_ImageCheckJob.h"

#include <utility>

#include "platform/Orvex_Resources.h"
#include "platform/pure/Orvex_TrustText.h"

namespace orvex {

// What the job's thread and its owner share; the thread holds it as long as
// it runs.
struct TImageCheckJob::TState {
    TCriticalSection Lock;
    std::vector<std::string> Paths;
    std::function<void()> Notify;
    TSubjectQuery Check = nullptr;
    DWORD LimitMs = 0;
    std::vector<TAnswer> Answers;
    bool Stopped = false;

    // Keeps answer unless the owner has stopped the job; false then.
    bool Keep(TAnswer answer) {
        TLock lock(Lock);
        if (Stopped) return false;
        Answers.push_back(std::move(answer));
        if (Notify) Notify();
        return true;
    }
};

namespace {

using TState = TImageCheckJob::TState;

bool IsStopped(TState& state) {
    TLock lock(state.Lock);
    return state.Stopped;
}

DWORD WINAPI JobMain(void* param) {
    const std::unique_ptr<std::shared_ptr<TState>> held(static_cast<std::shared_ptr<TState>*>(param));
    TState& state = **held;
    TImageChecker checker(state.Check, state.LimitMs);
    for (std::size_t i = 0; i < state.Paths.size() && !IsStopped(state); ++i)
        if (!state.Keep({i, checker.Check(state.Paths[i])})) break;
    return 0;
}

}  // namespace

TImageCheckJob::TImageCheckJob(std::vector<std::string> paths, std::function<void()> notify, TSubjectQuery check,
                               DWORD limitMs)
    : state_(std::make_shared<TState>()) {
    state_->Paths = std::move(paths);
    state_->Notify = std::move(notify);
    state_->Check = check;
    state_->LimitMs = limitMs;
    if (state_->Paths.empty()) return;
    auto held = std::make_unique<std::shared_ptr<TState>>(state_);
    DWORD id = 0;  // Windows 95 wants somewhere to put it
    THandle thread(::CreateThread(nullptr, 0, JobMain, held.get(), 0, &id));
    if (thread) {
        static_cast<void>(held.release());  // the thread's now
        return;
    }
    const std::string text = TrustText(TTrustState::NotChecked, "no thread for the check");
    TLock lock(state_->Lock);
    for (std::size_t i = 0; i < state_->Paths.size(); ++i) state_->Answers.push_back({i, {text, {}}});
    if (state_->Notify) state_->Notify();
}

TImageCheckJob::~TImageCheckJob() {
    TLock lock(state_->Lock);
    state_->Stopped = true;
}

std::vector<TImageCheckJob::TAnswer> TImageCheckJob::TakeAnswers() {
    TLock lock(state_->Lock);
    return std::exchange(state_->Answers, {});
}

}  // namespace orvex
