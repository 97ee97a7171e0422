// Benchmarks of "Find handle or DLL" and of the file names of the handle list.
#pragma once

#include <cstdio>

namespace orvex::bench {

// Find over 100,000 handles and 5,000 modules of made-up records, and a
// handle collection with and without file names against a minimal loop that
// makes the same queries; prints its rows to out.
void RunFindBench(int rounds, std::FILE* out);

}  // namespace orvex::bench
