#include <gtest/gtest.h>

#include "app/pure/ProcessTree.h"

#include <string>
#include <vector>

using namespace orvex;
using namespace orvex::app;

namespace {

TProcessInfo Process(std::uint32_t pid, std::uint32_t parent, std::int64_t created, const char* name = "p.exe") {
    TProcessInfo p;
    p.PID = pid;
    p.ParentPID = parent;
    p.CreateTime = created;
    p.Name = name;
    return p;
}

// The tree as "name:depth" texts, in row order.
std::vector<std::string> Shape(const TProcList& list) {
    std::vector<std::string> shape;
    for (const TTreeRow& r : ProcessTreeRows(list))
        shape.push_back(list[r.Index].Name.str() + ":" + std::to_string(r.Depth));
    return shape;
}

TEST(ProcessTree, ChildrenUnderTheirParentsInCreationOrder) {
    struct TCase {
        const char* Label;
        TProcList List;
        std::vector<std::string> Expected;
    };
    const TCase cases[] = {
        {"a child and a grandchild, listed before their parent",
         {Process(30, 20, 300, "grandchild"), Process(20, 10, 200, "child"), Process(10, 4, 100, "helper"),
          Process(4, 0, 10, "System"), Process(0, 0, 0, "Idle")},
         // the system process's parent id is the idle process's
         {"Idle:0", "System:1", "helper:2", "child:3", "grandchild:4"}},
        {"siblings by creation time, then by id",
         {Process(1, 0, 1, "root"), Process(9, 1, 50, "late"), Process(7, 1, 20, "early"), Process(8, 1, 20, "same")},
         {"root:0", "early:1", "same:1", "late:1"}},
        {"a reused parent id is no parent: the process of that id came later",
         {Process(5, 1, 500, "reuser"), Process(6, 5, 100, "orphan"), Process(1, 0, 1, "root")},
         {"root:0", "reuser:1", "orphan:0"}},
        {"a parent that is gone leaves its child at the top level",
         {Process(3, 77, 30, "b"), Process(2, 66, 20, "a")},
         {"a:0", "b:0"}},
        {"without creation times the id decides",
         {Process(2, 1, 0, "child"), Process(1, 0, 0, "parent")},
         {"parent:0", "child:1"}},
        {"a loop of parent ids is broken at the first process",
         {Process(1, 2, 0, "one"), Process(2, 1, 0, "two")},
         {"one:0", "two:1"}},
        {"a child created in the same tick as its parent",
         {Process(20, 10, 100, "child"), Process(10, 1, 100, "parent")},
         {"parent:0", "child:1"}},
        {"two processes of one id: the child goes under the one created before it",
         {Process(5, 0, 10, "old"), Process(5, 0, 90, "new"), Process(6, 5, 50, "child")},
         {"old:0", "child:1", "new:0"}},
    };
    for (const TCase& c : cases) EXPECT_EQ(Shape(c.List), c.Expected) << c.Label;
}

TEST(ProcessTree, EveryProcessOnceAndALongChainStaysFlatOnTheStack) {
    TProcList chain;
    for (std::uint32_t i = 1; i <= 100'000; ++i) chain.push_back(Process(i, i - 1, i));
    const std::vector<TTreeRow> rows = ProcessTreeRows(chain);
    ASSERT_EQ(rows.size(), chain.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].Index, i);
        EXPECT_EQ(rows[i].Depth, static_cast<int>(i));
        if (::testing::Test::HasFailure()) break;
    }
}

}  // namespace
