// The command line of the console collector orvexinv.exe.
#pragma once

#include <string>
#include <vector>

namespace orvex::console {

enum class TInvCommand { Save, Show, Diff, Collect, Lines };
enum class TInvFormat { Text, Json, Csv, Lines };
enum class TInvList { Processes, Drivers, Services };

struct TInvArgs {
    TInvCommand Command = TInvCommand::Show;
    TInvFormat Format = TInvFormat::Text;
    TInvList List = TInvList::Processes;  // for Csv
    std::string FileA, FileB;
    // Lines: the reports (names or patterns with wildcards) and the report
    // they are compared with ("" for their records).
    std::vector<std::string> Files;
    std::string Baseline;
    // Save: the signer and SHA-256 of every process image and driver go in.
    bool Verify = true;
};

// Reads the arguments after the program name:
//   save FILE.ivs [--no-verify]
//   show FILE.ivs [--json | --csv processes|drivers|services]
//   diff A.ivs B.ivs [--json]
//   collect --json | --lines
//   lines FILE.ivs... [--diff BASELINE.ivs]
// Commands and options compare without regard to case. False, with Error
// describing the first fault, for anything else.
bool ParseInvArgs(const std::vector<std::string>& args, TInvArgs& out, std::string& error);

// The usage text, lines ended by CR LF.
std::string InvUsage();

}  // namespace orvex::console
