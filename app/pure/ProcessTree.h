// The processes as a tree of parents and children, in the order the
// Processes list shows it while "Process tree" is on.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/pure/OXI_Records.h"

namespace orvex::app {

// One row of the tree: the process's index in the list and its depth (0 for
// a process at the top level).
struct TTreeRow {
    std::size_t Index = 0;
    int Depth = 0;
    friend bool operator==(const TTreeRow&, const TTreeRow&) = default;
};

// Every process once, each under its parent, children in creation order
// (then by id); processes whose parent is gone stand at the top level, in
// the same order. A loop of parent ids (possible only where creation times
// are unknown) is broken at the process met first.
std::vector<TTreeRow> ProcessTreeRows(const TProcList& processes);

// What goes before a name at Depth: three blanks per level.
std::string TreeIndent(int depth);

}  // namespace orvex::app
