// Ending another process and reading its command line.
#pragma once

#include <cstdint>
#include <string>

namespace orvex {

// Results of TerminateProcessGently.
enum : int { tpFailed = 0, tpClosed = 1, tpTerminated = 2 };

// Ends the process PID. With a negative time-out it is terminated at once;
// otherwise WM_CLOSE is posted to each of its top-level windows and the
// process is given TimeoutMs milliseconds to end before it is terminated.
// Returns tpClosed when it ended by itself, tpTerminated when it had to be
// terminated, tpFailed when it could not be opened or terminated, and
// always for the program's own process.
int TerminateProcessGently(std::uint32_t pid, std::int32_t timeoutMs);

// The command line of the process PID, at most its first 130 characters;
// empty when it cannot be read or when the native process query is not
// bound (BindNative).
std::string ReadProcessCommandLine(std::uint32_t pid);

// The longest command line ReadProcessCommandLine returns, in characters.
inline constexpr std::size_t CommandLineMaxChars = 130;

}  // namespace orvex
