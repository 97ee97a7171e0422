#include "console/pure/InvArgs.h"

#include "platform/pure/Orvex_TextCase.h"

namespace orvex::console {

namespace {

bool IsOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

}  // namespace

bool ParseInvArgs(const std::vector<std::string>& args, TInvArgs& out, std::string& error) {
    if (args.empty()) {
        error = "no command given";
        return false;
    }
    TInvArgs parsed;
    const std::string& command = args[0];
    std::vector<std::string> files;
    bool json = false, csv = false, lines = false, noVerify = false, diff = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (SameText(arg, "--json")) {
            json = true;
        } else if (SameText(arg, "--lines")) {
            lines = true;
        } else if (SameText(arg, "--diff")) {
            if (i + 1 >= args.size() || diff) {
                error = diff ? "--diff given twice" : "--diff needs the baseline report";
                return false;
            }
            parsed.Baseline = args[++i];
            diff = true;
        } else if (SameText(arg, "--no-verify")) {
            noVerify = true;
        } else if (SameText(arg, "--csv")) {
            if (i + 1 >= args.size()) {
                error = "--csv needs a list: processes, drivers or services";
                return false;
            }
            const std::string& list = args[++i];
            if (SameText(list, "processes"))
                parsed.List = TInvList::Processes;
            else if (SameText(list, "drivers"))
                parsed.List = TInvList::Drivers;
            else if (SameText(list, "services"))
                parsed.List = TInvList::Services;
            else {
                error = "unknown list '" + list + "' (processes, drivers or services)";
                return false;
            }
            csv = true;
        } else if (IsOption(arg)) {
            error = "unknown option '" + arg + "'";
            return false;
        } else {
            files.push_back(arg);
        }
    }
    if (static_cast<int>(json) + static_cast<int>(csv) + static_cast<int>(lines) > 1) {
        error = "--json, --csv and --lines exclude each other";
        return false;
    }
    parsed.Format = json ? TInvFormat::Json : csv ? TInvFormat::Csv : lines ? TInvFormat::Lines : TInvFormat::Text;

    std::size_t wantFiles = 0;
    bool formatsAllowed = true, csvAllowed = false, linesAllowed = false, anyFiles = false;
    if (SameText(command, "save")) {
        parsed.Command = TInvCommand::Save;
        wantFiles = 1;
        formatsAllowed = false;
    } else if (SameText(command, "show")) {
        parsed.Command = TInvCommand::Show;
        wantFiles = 1;
        csvAllowed = true;
    } else if (SameText(command, "diff")) {
        parsed.Command = TInvCommand::Diff;
        wantFiles = 2;
    } else if (SameText(command, "collect")) {
        parsed.Command = TInvCommand::Collect;
        linesAllowed = true;
        if (!json && !lines) {
            error = "collect needs --json or --lines";
            return false;
        }
    } else if (SameText(command, "lines")) {
        parsed.Command = TInvCommand::Lines;
        parsed.Format = TInvFormat::Lines;
        formatsAllowed = false;
        anyFiles = true;
    } else {
        error = "unknown command '" + command + "'";
        return false;
    }
    if ((!formatsAllowed && (json || csv || lines)) || (csv && !csvAllowed) || (lines && !linesAllowed) ||
        (noVerify && parsed.Command != TInvCommand::Save) || (diff && parsed.Command != TInvCommand::Lines)) {
        error = "option not valid for " + command;
        return false;
    }
    if (anyFiles) {
        if (files.empty()) {
            error = command + " needs at least one file";
            return false;
        }
        parsed.Files = files;
        out = parsed;
        return true;
    }
    if (files.size() != wantFiles) {
        error = command + " needs " +
                (wantFiles == 0   ? std::string("no file")
                 : wantFiles == 1 ? "one file"
                                  : "two files");
        return false;
    }
    parsed.Verify = !noVerify;
    if (wantFiles > 0) parsed.FileA = files[0];
    if (wantFiles > 1) parsed.FileB = files[1];
    out = parsed;
    return true;
}

std::string InvUsage() {
    return "usage: orvexinv save FILE.ivs [--no-verify]\r\n"
           "       orvexinv show FILE.ivs [--json | --csv processes|drivers|services]\r\n"
           "       orvexinv diff A.ivs B.ivs [--json]\r\n"
           "       orvexinv collect --json | --lines\r\n"
           "       orvexinv lines FILE.ivs... [--diff BASELINE.ivs]\r\n"
           "exit codes: 0 success or no differences, 1 differences (diff), 2 error\r\n";
}

}  // namespace orvex::console
