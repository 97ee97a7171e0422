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
    bool json = false, csv = false, noVerify = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (SameText(arg, "--json")) {
            json = true;
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
    if (json && csv) {
        error = "--json and --csv exclude each other";
        return false;
    }
    parsed.Format = json ? TInvFormat::Json : csv ? TInvFormat::Csv : TInvFormat::Text;

    std::size_t wantFiles = 0;
    bool formatsAllowed = true, csvAllowed = false;
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
        if (!json) {
            error = "collect needs --json";
            return false;
        }
    } else {
        error = "unknown command '" + command + "'";
        return false;
    }
    if ((!formatsAllowed && (json || csv)) || (csv && !csvAllowed) ||
        (noVerify && parsed.Command != TInvCommand::Save)) {
        error = "option not valid for " + command;
        return false;
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
           "       orvexinv collect --json\r\n"
           "exit codes: 0 success or no differences, 1 differences (diff), 2 error\r\n";
}

}  // namespace orvex::console
