// The benchmark's counting entries (see CountEntries.cpp).
#pragma once

namespace orvex::bench {

// Runs them with Rounds rounds per timing and prints the report; 0.
int RunCountEntries(int rounds);

}  // namespace orvex::bench
