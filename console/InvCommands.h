// The commands of the console collector.
#pragma once

#include <string>
#include <vector>

namespace orvex::console {

// Exit codes: success or no differences, differences found (diff), error.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitDifferences = 1;
inline constexpr int ExitError = 2;

// Runs the command the arguments (after the program name) give, writing its
// output to standard output and any error, with the file name and the
// reason, to standard error.
int RunInvCommand(const std::vector<std::string>& args);

}  // namespace orvex::console
