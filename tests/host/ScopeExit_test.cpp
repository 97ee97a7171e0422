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

TEST(ScopeExit, UndoRunsOnceAndTheFirstFailureIsReported) {
    struct TCase {
        bool Fail, UndoFails;
        const char* Reported;
    };
    // When both fail, the work's failure goes on; when only the undo step
    // fails, its failure is not lost.
    for (const TCase& c :
         {TCase{false, false, ""}, TCase{true, false, "work"}, TCase{true, true, "work"}, TCase{false, true, "undo"}}) {
        TWork work{.Fail = c.Fail, .UndoFails = c.UndoFails};
        EXPECT_EQ(FailureOf(work), c.Reported) << c.Fail << c.UndoFails;
        EXPECT_EQ(work.Undone, 1) << c.Fail << c.UndoFails;
    }
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
