// orvexinv.exe: saves, shows and compares inventory reports from the command
// line (see the README's "Reports" section).
#include <string>
#include <vector>

#include "console/InvCommands.h"
#include "platform/Orvex_DllSearch.h"
#include "platform/Orvex_ProgramTwin.h"

int main(int argc, char** argv) {
    orvex::RestrictDllSearch();
    // On 64-bit Windows the 64-bit build beside this one does the work.
    const orvex::TTwinResult twin = orvex::RunTwin();
    if (twin.Start == orvex::TTwinStart::Started) return static_cast<int>(twin.ExitCode);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return orvex::console::RunInvCommand(args);
}
