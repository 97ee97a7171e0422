#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/pure/Orvex_ScopeExit.h"

using orvex::TScopeExit;

namespace {

// Stands for a collection with an undo step: Fail makes the work throw,
// UndoFails makes the undo step throw; Undone counts the undo steps run.
struct TWork {
    bool Fail = false;
    bool UndoFails = false;
    int Undone = 0;

    void Run() {
        TScopeExit undo([this] {
            ++Undone;
            if (UndoFails) throw std::runtime_error("undo");
        });
        if (Fail) throw std::runtime_error("work");
    }
};

std::string FailureOf(TWork& work) {
    try {
        work.Run();
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

}  // namespace

TEST(ScopeExit, UndoRunsOnceOnEveryWayOut) {
    TWork ok;
    EXPECT_EQ(FailureOf(ok), "");
    EXPECT_EQ(ok.Undone, 1);
    TWork failed{.Fail = true};
    EXPECT_EQ(FailureOf(failed), "work");
    EXPECT_EQ(failed.Undone, 1);
}

TEST(ScopeExit, FirstFailureIsTheOneReported) {
    // The work failed and so did the undo step: the work's failure goes on.
    TWork both{.Fail = true, .UndoFails = true};
    EXPECT_EQ(FailureOf(both), "work");
    EXPECT_EQ(both.Undone, 1);
    // Only the undo step failed: its failure is not lost.
    TWork undoOnly{.UndoFails = true};
    EXPECT_EQ(FailureOf(undoOnly), "undo");
    EXPECT_EQ(undoOnly.Undone, 1);
}

TEST(ScopeExit, DismissedUndoDoesNotRun) {
    int undone = 0;
    {
        TScopeExit undo([&] { ++undone; });
        undo.Dismiss();
    }
    EXPECT_EQ(undone, 0);
    // A guard made while an exception is already on its way out (in a
    // destructor during unwinding) still lets its own undo failure through
    // when its scope ends normally.
    struct TUnwinder {
        std::string* seen;
        ~TUnwinder() {
            try {
                TScopeExit undo([] { throw std::runtime_error("inner undo"); });
            } catch (const std::exception& e) {
                *seen = e.what();
            }
        }
    };
    std::string seen;
    try {
        TUnwinder unwinder{&seen};
        throw std::runtime_error("outer");
    } catch (const std::exception&) {
    }
    EXPECT_EQ(seen, "inner undo");
}
