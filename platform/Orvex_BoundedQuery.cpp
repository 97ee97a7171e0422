#include "platform/Orvex_BoundedQuery.h"

#include <utility>
#include <vector>

#include "platform/Orvex_Resources.h"

namespace orvex {

// One worker: its thread, the two events of the hand-over, and the query's
// arguments and answer. Whoever does not wait on Done owns the block: the
// caller between queries, the worker while a query runs.
struct TBoundedQuery::TWorker {
    THandle Thread;
    THandle Request;          // auto-reset: a query (or the stop) is ready
    THandle Done;             // auto-reset: the query has returned
    HANDLE Object = nullptr;  // the handle the query runs on, owned by the block
    TObjectQuery Query = nullptr;
    TSubjectQuery SubjectQuery = nullptr;
    std::wstring Subject;
    std::wstring Name;
    bool Ok = false;
    volatile LONG Stop = 0;
    // The number of the query asked last, and of the last one that returned
    // (written after Done is set, so that a worker that has caught up also
    // has its Done set).
    volatile LONG Asked = 0;
    volatile LONG Answered = 0;
};

namespace {

using TWorker = TBoundedQuery::TWorker;

DWORD WINAPI WorkerMain(void* param) {
    TWorker* w = static_cast<TWorker*>(param);
    for (;;) {
        if (::WaitForSingleObject(w->Request.get(), INFINITE) != WAIT_OBJECT_0) return 1;
        if (w->Stop) return 0;
        const LONG asked = w->Asked;
        w->Ok = w->SubjectQuery ? w->SubjectQuery(w->Object, w->Subject, w->Name) : w->Query(w->Object, w->Name);
        ::SetEvent(w->Done.get());
        ::InterlockedExchange(&w->Answered, asked);
    }
}

// The given-up workers. Neither the list nor its blocks are ever freed: a
// worker may still run when the process ends. Live names every worker block
// not yet freed, given up or not, for IsWorkerHandle.
struct TStuckList {
    TCriticalSection Lock;
    std::vector<TWorker*> Workers;
    std::vector<TWorker*> Live;
};

TStuckList& Stuck() {
    static TStuckList* list = new TStuckList;
    return *list;
}

bool Finished(TWorker* w) {
    return ::InterlockedCompareExchange(&w->Answered, 0, 0) == ::InterlockedCompareExchange(&w->Asked, 0, 0);
}

// A given-up worker whose query has returned, taken back from the list, or
// null.
TWorker* Reclaim() {
    TStuckList& stuck = Stuck();
    TLock lock(stuck.Lock);
    for (auto it = stuck.Workers.begin(); it != stuck.Workers.end(); ++it) {
        TWorker* w = *it;
        if (!Finished(w)) continue;
        stuck.Workers.erase(it);
        // Its answer came after the wait had ended: nobody took the signal.
        ::ResetEvent(w->Done.get());
        ::CloseHandle(w->Object);
        w->Object = nullptr;
        return w;
    }
    return nullptr;
}

void GiveUp(TWorker* w) {
    TStuckList& stuck = Stuck();
    TLock lock(stuck.Lock);
    stuck.Workers.push_back(w);
}

bool AtStuckLimit() {
    TStuckList& stuck = Stuck();
    TLock lock(stuck.Lock);
    return static_cast<int>(stuck.Workers.size()) >= TBoundedQuery::MaxStuckWorkers;
}

TWorker* NewWorker() {
    TWorker* w = new TWorker;
    w->Request.reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    w->Done.reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    DWORD id = 0;  // Windows 95 wants somewhere to put it
    if (w->Request && w->Done) w->Thread.reset(::CreateThread(nullptr, 64 * 1024, WorkerMain, w, 0, &id));
    if (!w->Thread) {
        delete w;
        return nullptr;
    }
    TStuckList& list = Stuck();
    TLock lock(list.Lock);
    list.Live.push_back(w);
    return w;
}

void DeleteWorker(TWorker* w) {
    {
        TStuckList& list = Stuck();
        TLock lock(list.Lock);
        std::erase(list.Live, w);
    }
    delete w;
}

}  // namespace

TBoundedQuery::TBoundedQuery(TObjectQuery query, DWORD limitMs) noexcept : query_(query), limitMs_(limitMs) {}

TBoundedQuery::TBoundedQuery(TSubjectQuery query, DWORD limitMs) noexcept : subjectQuery_(query), limitMs_(limitMs) {}

TBoundedQuery::~TBoundedQuery() {
    if (!current_) return;
    // The worker is idle: it ends at once. Should it not, it is given up
    // like a stuck one rather than freed under it.
    ::InterlockedExchange(&current_->Stop, 1);
    ::SetEvent(current_->Request.get());
    if (::WaitForSingleObject(current_->Thread.get(), limitMs_) == WAIT_OBJECT_0)
        DeleteWorker(current_);
    else
        GiveUp(current_);
}

TBoundedQuery::TResult TBoundedQuery::Ask(HANDLE object, std::wstring& name) {
    HANDLE copy = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), object, ::GetCurrentProcess(), &copy, 0, FALSE,
                           DUPLICATE_SAME_ACCESS) ||
        !copy)
        return TResult::Failed;
    return AskOwned(THandle(copy), name);
}

TBoundedQuery::TResult TBoundedQuery::AskOwned(THandle object, std::wstring& name) {
    return AskOwned(std::move(object), std::wstring(), name);
}

TBoundedQuery::TResult TBoundedQuery::AskOwned(THandle object, const std::wstring& subject, std::wstring& name) {
    if ((!query_ && !subjectQuery_) || !object) return TResult::Failed;
    if (!current_) current_ = Reclaim();
    if (!current_) {
        if (AtStuckLimit()) return TResult::Unavailable;
        current_ = NewWorker();
        if (!current_) return TResult::Failed;
    }
    TWorker* w = current_;
    w->Object = object.release();
    w->Query = query_;
    w->SubjectQuery = subjectQuery_;
    w->Subject = subject;
    w->Name.clear();
    w->Ok = false;
    ::InterlockedIncrement(&w->Asked);
    ::SetEvent(w->Request.get());
    if (::WaitForSingleObject(w->Done.get(), limitMs_) != WAIT_OBJECT_0) {
        current_ = nullptr;
        GiveUp(w);
        return TResult::TimedOut;
    }
    ::CloseHandle(w->Object);
    w->Object = nullptr;
    if (!w->Ok) return TResult::Failed;
    name = std::move(w->Name);
    return TResult::Answered;
}

bool TBoundedQuery::IsWorkerHandle(HANDLE handle) noexcept {
    if (!handle) return false;
    TStuckList& list = Stuck();
    TLock lock(list.Lock);
    for (const TWorker* w : list.Live)
        if (handle == w->Thread.get() || handle == w->Request.get() || handle == w->Done.get()) return true;
    // The object handles of given-up workers only: those change under the
    // lock alone (a working worker's belongs to the thread that asks).
    for (const TWorker* w : list.Workers)
        if (handle == w->Object) return true;
    return false;
}

int TBoundedQuery::StuckWorkers() noexcept {
    TStuckList& stuck = Stuck();
    TLock lock(stuck.Lock);
    int running = 0;
    for (TWorker* w : stuck.Workers)
        if (!Finished(w)) ++running;
    return running;
}

}  // namespace orvex
