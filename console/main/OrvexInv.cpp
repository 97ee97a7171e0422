// orvexinv.exe: saves, shows and compares inventory reports from the command
// line (see the README's "Reports" section).
#include <string>
#include <vector>

#include "console/InvCommands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return orvex::console::RunInvCommand(args);
}
