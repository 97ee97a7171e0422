// Object queries that may block for ever, asked with a time limit.
//
// Some object queries (the name of a file object opened for synchronous I/O
// on a pipe or a device, for one) can wait in the system for as long as
// another thread's I/O on that object lasts. TBoundedQuery runs such a query
// on a worker thread and waits a few tens of milliseconds for it. A query
// that runs past the limit is given up: its worker, with everything it may
// still touch (its state block and its own duplicate of the handle), is kept
// for the life of the process and never freed while it may run, and a fresh
// worker serves the next query. At most MaxStuckWorkers given-up workers
// exist in the process; while that many still run, no query is asked at all.
// A given-up worker whose query ends after all becomes available again.
//
// The query runs on the worker thread with a handle of its own, and must
// touch nothing but its arguments and data that live as long as the process.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Orvex_Resources.h"

namespace orvex {

// Fills name (UTF-16) for object; false when the object has no name to give
// or the query fails.
using TObjectQuery = bool (*)(HANDLE object, std::wstring& name);
// Fills answer for object and subject, a text the query is about (the path
// a file handle was opened from, say); false when it has no answer.
using TSubjectQuery = bool (*)(HANDLE object, const std::wstring& subject, std::wstring& answer);

class TBoundedQuery {
public:
    static constexpr DWORD DefaultLimitMs = 50;
    static constexpr int MaxStuckWorkers = 4;

    enum class TResult {
        Answered,    // the query returned true within the limit; name is set
        Failed,      // the query returned false, or it could not be started
        TimedOut,    // the query ran past the limit and was given up
        Unavailable  // MaxStuckWorkers queries are still running: not asked
    };

    explicit TBoundedQuery(TObjectQuery query, DWORD limitMs = DefaultLimitMs) noexcept;
    explicit TBoundedQuery(TSubjectQuery query, DWORD limitMs) noexcept;
    ~TBoundedQuery();
    TBoundedQuery(const TBoundedQuery&) = delete;
    TBoundedQuery& operator=(const TBoundedQuery&) = delete;

    // Runs the query on a duplicate of object (a handle of this process,
    // which stays with the caller); name is set only on Answered.
    TResult Ask(HANDLE object, std::wstring& name);
    // The same on a handle the caller gives up: closed once the query has
    // returned, or kept by a given-up worker.
    TResult AskOwned(THandle object, std::wstring& name);
    // The same for a query about a subject (a TSubjectQuery).
    TResult AskOwned(THandle object, const std::wstring& subject, std::wstring& answer);

    // Given-up workers in this process whose query still runs.
    static int StuckWorkers() noexcept;
    // Whether handle (of this process) is one the workers hold: their
    // threads and events, and the copies of the objects that given-up
    // workers may still be asking about. Asking such a copy again would only
    // block another worker.
    static bool IsWorkerHandle(HANDLE handle) noexcept;

    struct TWorker;

private:
    TObjectQuery query_ = nullptr;
    TSubjectQuery subjectQuery_ = nullptr;
    DWORD limitMs_;
    TWorker* current_ = nullptr;  // idle between queries; owned here
};

}  // namespace orvex
