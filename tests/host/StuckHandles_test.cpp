#include <gtest/gtest.h>

#include "engine/pure/OXI_StuckHandles.h"

namespace {

using orvex::TStuckHandle;
using orvex::TStuckHandleSet;

// A remembered handle matches only the same owner (id and creation time),
// value and object; the owner's creation time is asked only when the rest
// matches, and once per question.
TEST(StuckHandles, MatchOwnerValueAndObject) {
    TStuckHandleSet set;
    set.Add({100, 5000, 0x44, 0xFFFF8000});
    set.Add({100, 5000, 0x44, 0xFFFF8000});  // once only
    set.Add({200, 0, 0x10, 0});              // owner's time unknown
    EXPECT_EQ(set.Size(), 2u);
    struct TCase {
        std::uint32_t Pid;
        std::uintptr_t Handle, Object;
        std::int64_t Created;
        bool Known;
        int Asked;
    };
    const TCase cases[] = {
        {100, 0x44, 0xFFFF8000, 5000, true, 1},
        {100, 0x44, 0xFFFF8000, 6000, false, 1},  // the id reused by a later process
        {100, 0x48, 0xFFFF8000, 5000, false, 0},  // another handle of the process
        {100, 0x44, 0xFFFF9000, 5000, false, 0},  // the value reused for another object
        {101, 0x44, 0xFFFF8000, 5000, false, 0},
        {200, 0x10, 0, 0, true, 1},
        {200, 0x10, 0, 7000, false, 1},  // now known: not the remembered one
    };
    for (const TCase& c : cases) {
        int asked = 0;
        const bool known = set.Contains(c.Pid, c.Handle, c.Object, [&] {
            ++asked;
            return c.Created;
        });
        EXPECT_EQ(known, c.Known) << c.Pid << " " << c.Handle << " " << c.Object << " " << c.Created;
        EXPECT_EQ(asked, c.Asked) << c.Pid << " " << c.Handle;
    }
}

TEST(StuckHandles, OneOwnerAskedOnceForSeveralEntries) {
    TStuckHandleSet set;
    set.Add({7, 1, 0x20, 0});
    set.Add({7, 2, 0x20, 0});  // the same value in an earlier process of that id
    int asked = 0;
    std::int64_t now = 2;
    const auto created = [&] {
        ++asked;
        return now;
    };
    EXPECT_TRUE(set.Contains(7, 0x20, 0, created));
    EXPECT_EQ(asked, 1);
    now = 3;
    EXPECT_FALSE(set.Contains(7, 0x20, 0, created));
    EXPECT_EQ(asked, 2);
}

}  // namespace
