#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <type_traits>

#include "platform/pure/Orvex_ScopeExit.h"

using orvex::TScopeExit;

namespace {

// Stands for a collection with an undo step: Fail makes the work throw,
// UndoFails makes the undo step throw; Undone counts the undo steps run.
// Finish ends the scope with Finish() rather than leaving it to the guard.
struct TWork {
    bool Fail = false;
    bool UndoFails = false;
    bool Finish = false;
    int Undone = 0;

    void Run() {
        TScopeExit undo([this] {
            ++Undone;
            if (UndoFails) throw std::runtime_error("undo");
        });
        if (Fail) throw std::runtime_error("work");
        if (Finish) undo.Finish();
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

static_assert(std::is_nothrow_destructible_v<TScopeExit<void (*)()>>);

TEST(ScopeExit, UndoRunsOnceAndTheFirstFailureIsReported) {
    struct TCase {
        bool Fail, UndoFails, Finish;
        const char* Reported;
    };
    // When both fail, the work's failure goes on; an undo failure at the end
    // of the scope is dropped by the guard and reaches the caller through
    // Finish().
    for (const TCase& c :
         {TCase{false, false, false, ""}, TCase{true, false, false, "work"}, TCase{true, true, false, "work"},
          TCase{false, true, false, ""}, TCase{false, true, true, "undo"}, TCase{false, false, true, ""},
          TCase{true, true, true, "work"}}) {
        TWork work{.Fail = c.Fail, .UndoFails = c.UndoFails, .Finish = c.Finish};
        EXPECT_EQ(FailureOf(work), c.Reported) << c.Fail << c.UndoFails << c.Finish;
        EXPECT_EQ(work.Undone, 1) << c.Fail << c.UndoFails << c.Finish;
    }
}

TEST(ScopeExit, DismissedUndoDoesNotRun) {
    int undone = 0;
    {
        TScopeExit undo([&] { ++undone; });
        undo.Dismiss();
        undo.Finish();
    }
    EXPECT_EQ(undone, 0);
}
