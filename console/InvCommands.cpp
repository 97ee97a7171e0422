#include "console/InvCommands.h"

#include <windows.h>

#include <exception>
#include <optional>

#include "console/InvOutput.h"
#include "console/pure/InvArgs.h"
#include "console/pure/InvTables.h"
#include "engine/OXI_ImageChecks.h"
#include "engine/OXI_Inventory.h"
#include "engine/OXI_Processes.h"
#include "engine/OXI_Report.h"
#include "engine/OXI_ReportSave.h"
#include "engine/pure/OXI_InventoryDiff.h"
#include "engine/pure/OXI_InventoryJson.h"
#include "engine/pure/OXI_InventoryLines.h"
#include "platform/Orvex_FileSearch.h"
#include "platform/Orvex_FileTime.h"
#include "platform/Orvex_Locale.h"
#include "platform/Orvex_SystemMessage.h"
#include "platform/Orvex_WideText.h"
#include "platform/Orvex_Wow64.h"
#include "platform/pure/Orvex_PathFolder.h"
#include "storage/Orvex_ComError.h"

namespace orvex::console {

namespace {

// A failure of one file: "FILE: reason".
struct TFileError {
    std::string Text;
};

[[noreturn]] void Fail(const std::string& file, const std::string& reason) { throw TFileError{file + ": " + reason}; }

const TTextToUtf8 ToUtf8 = [](std::string_view s) { return AnsiToUtf8(s); };

// The report in FileName; raises TFileError when it is missing, damaged or
// no inventory report.
TInventory LoadInventory(const std::string& fileName) {
    TOrvex_ProcessList component;
    try {
        component.LoadReport(fileName);
    } catch (const TNotAReport& e) {
        Fail(fileName, e.what());
    } catch (const TComError& e) {
        Fail(fileName, e.what());
    }
    return InventoryOf(component);
}

// Live data of a 32-bit program on 64-bit Windows (its 64-bit twin did not
// start) lack the 64-bit processes' modules: said once on standard error.
void Collect(TOrvex_ProcessList& component) {
    if (IsWow64Program()) WriteText(TStdStream::Err, std::string("orvexinv: ") + Wow64ViewNotice + "\r\n");
    component.DetectionRange = TDetectionRange::All();
    component.RefreshData();
}

// Output that standard output does not take (a pipe whose reader has gone, a
// full disk) ends the command with the reason on standard error.
void Out(const std::string& text, bool utf8) {
    if (utf8 ? WriteBytes(TStdStream::Out, text) : WriteText(TStdStream::Out, text)) return;
    const DWORD error = GetLastError();
    throw TFileError{"orvexinv: cannot write the output: " + SystemErrorText(error)};
}

// The report files the arguments name: each name as it is, each pattern
// with wildcards as the files it matches (as Windows programs expand them
// themselves); a pattern that matches none is said on standard error.
std::vector<std::string> ReportFiles(const std::vector<std::string>& names) {
    std::vector<std::string> files;
    for (const std::string& name : names) {
        if (!HasWildcards(name, IsAnsiLeadByte)) {
            files.push_back(name);
            continue;
        }
        std::vector<std::string> found;
        const DWORD error = FindMatchingFiles(name, found);
        if (error == ERROR_SUCCESS)
            files.insert(files.end(), found.begin(), found.end());
        else
            WriteText(TStdStream::Err,
                      name + ": " + (error == ERROR_FILE_NOT_FOUND ? "no file matches" : SystemErrorText(error)) +
                          "\r\n");
    }
    return files;
}

// Where the lines of an inventory come from. Reports of earlier versions
// hold their moment in local time only: the file's last write stands for it.
TLineSource SourceOf(const TInventory& inventory, const std::string& reportFile) {
    TLineSource source{inventory.Info.Machine, inventory.Info.TimestampUtc, reportFile};
    if (source.SnapshotTime == 0 && !reportFile.empty()) FileWriteTime(reportFile, source.SnapshotTime);
    return source;
}

// The lines of each report, or of its differences from the baseline, written
// report by report; a file that is no readable report is named on standard
// error and left out. An error only when no report could be read.
int WriteReportLines(const TInvArgs& args) {
    std::optional<TInventory> baseline;
    if (!args.Baseline.empty()) baseline = LoadInventory(args.Baseline);
    bool anyRead = false;
    for (const std::string& file : ReportFiles(args.Files)) {
        TInventory inventory;
        try {
            inventory = LoadInventory(file);
        } catch (const TFileError& e) {
            WriteText(TStdStream::Err, e.Text + "\r\n");
            continue;
        }
        anyRead = true;
        const TLineSource source = SourceOf(inventory, file);
        Out(baseline ? DiffLines(CompareInventories(*baseline, inventory), source, args.Baseline, ToUtf8)
                     : InventoryLines(inventory, source, ToUtf8),
            true);
    }
    return anyRead ? ExitSuccess : ExitError;
}

int Run(const TInvArgs& args) {
    switch (args.Command) {
    case TInvCommand::Save: {
        TOrvex_ProcessList component;
        Collect(component);
        if (args.Verify) component.CheckImages();
        try {
            SaveReportReplacing(component, args.FileA);
        } catch (const std::exception& e) {
            Fail(args.FileA, e.what());
        }
        return ExitSuccess;
    }
    case TInvCommand::Collect: {
        TOrvex_ProcessList component;
        Collect(component);
        TInventory inventory = InventoryOf(component);
        AddImageChecks(inventory.Processes, inventory.Drivers, true);
        if (args.Format == TInvFormat::Lines)
            Out(InventoryLines(inventory, SourceOf(inventory, {}), ToUtf8), true);
        else
            Out(InventoryJson(inventory, ToUtf8) + "\r\n", true);
        return ExitSuccess;
    }
    case TInvCommand::Lines:
        return WriteReportLines(args);
    case TInvCommand::Show: {
        const TInventory inv = LoadInventory(args.FileA);
        switch (args.Format) {
        case TInvFormat::Json:
            Out(InventoryJson(inv, ToUtf8) + "\r\n", true);
            break;
        case TInvFormat::Csv:
            Out(TableCsv(ListTable(inv, args.List), ToUtf8), true);
            break;
        case TInvFormat::Text:
        case TInvFormat::Lines:  // the lines command's own
            Out(InventoryText(inv), false);
            break;
        }
        return ExitSuccess;
    }
    case TInvCommand::Diff: {
        const TInventory before = LoadInventory(args.FileA);
        const TInventory after = LoadInventory(args.FileB);
        const std::vector<TDiffRow> rows = CompareInventories(before, after);
        if (args.Format == TInvFormat::Json)
            Out(DiffJson(rows, before.Info, after.Info, ToUtf8) + "\r\n", true);
        else
            Out(TableText(DiffTable(rows)), false);
        return rows.empty() ? ExitSuccess : ExitDifferences;
    }
    }
    return ExitError;
}

}  // namespace

int RunInvCommand(const std::vector<std::string>& argv) {
    TInvArgs args;
    std::string error;
    if (!ParseInvArgs(argv, args, error)) {
        WriteText(TStdStream::Err, "orvexinv: " + error + "\r\n" + InvUsage());
        return ExitError;
    }
    try {
        return Run(args);
    } catch (const TFileError& e) {
        WriteText(TStdStream::Err, e.Text + "\r\n");
    } catch (const std::exception& e) {
        WriteText(TStdStream::Err, std::string("orvexinv: ") + e.what() + "\r\n");
    }
    return ExitError;
}

}  // namespace orvex::console
