// The console collector orvexinv.exe, run as a child process with its
// standard output and error on pipes: every command, every exit code,
// damaged input and saves that cannot be written.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "engine/OXI_Processes.h"
#include "engine/OXI_Report.h"
#include "engine/pure/OXI_IsoTime.h"
#include "platform/Orvex_Resources.h"
#include "tests/CsvReader.h"
#include "tests/JsonReader.h"
#include "tests/wine/support/InvTool.h"
#include "tests/wine/support/ReportSamples.h"
#include "tests/wine/support/TempFile.h"
#include "tests/wine/support/TestMode.h"
#include "tests/wine/support/TestService.h"
#include "tests/wine/support/ToolRun.h"

using namespace orvex;
using namespace orvex::test;

namespace {

TToolRun RunTool(const std::string& args) { return RunProgram(InvToolPath(), args); }

// The report as the component reads it.
void LoadReport(const std::string& file, TOrvex_ProcessList& component) {
    ASSERT_TRUE(IsInventoryReport(file)) << file;
    component.LoadFromStorage(file);
}

void ExpectError(const TToolRun& run, const std::string& file) {
    EXPECT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 2u) << run.Err;
    EXPECT_TRUE(run.Out.empty()) << run.Out;
    EXPECT_EQ(run.Err.rfind(file + ": ", 0), 0u) << run.Err;
    EXPECT_GT(run.Err.size(), file.size() + 4) << "no reason given: " << run.Err;
}

// Saves, shows in every form and compares a report of this system; the
// steps every mode runs.
void SaveShowAndDiff(const std::string& folder) {
    const std::string file = folder + "this.ivs";
    const TToolRun save = RunTool("save " + Quoted(file));
    ASSERT_TRUE(save.Finished);
    ASSERT_EQ(save.ExitCode, 0u) << save.Err;
    EXPECT_TRUE(save.Out.empty()) << save.Out;
    EXPECT_TRUE(save.Err.empty()) << save.Err;

    TOrvex_ProcessList component;
    ASSERT_NO_FATAL_FAILURE(LoadReport(file, component));
    ASSERT_GT(component.ProcessCount(), 0);
    // The tool collected itself among the processes, with its file's check.
    const int self = component.FindProcess(save.Pid);
    ASSERT_GE(self, 0) << "pid " << save.Pid;
    TProcessInfo tool;
    component.GetProcess(static_cast<std::uint32_t>(self), tool);
    EXPECT_EQ(tool.Sha256.str().size(), 64u) << tool.Sha256.str();
    EXPECT_FALSE(tool.Signer.str().empty());

    const TToolRun text = RunTool("show " + Quoted(file));
    ASSERT_EQ(text.ExitCode, 0u) << text.Err;
    EXPECT_EQ(text.Out.rfind("Machine: " + component.StorageInfo.Machine + "\r\n", 0), 0u) << text.Out.substr(0, 200);
    EXPECT_NE(text.Out.find("\r\nProcesses (" + std::to_string(component.ProcessCount()) + ")\r\n"), std::string::npos);

    const TToolRun json = RunTool("show " + Quoted(file) + " --json");
    ASSERT_EQ(json.ExitCode, 0u) << json.Err;
    const TJson doc = ParseJson(json.Out);
    EXPECT_EQ(doc["header"]["machine"].Text, component.StorageInfo.Machine);
    EXPECT_FALSE(doc["live"].B);
    ASSERT_EQ(doc["processes"].Items.size(), static_cast<std::size_t>(component.ProcessCount()));
    ASSERT_EQ(doc["services"].Items.size(), static_cast<std::size_t>(component.ServiceCount()));
    for (int i = 0; i < component.ProcessCount(); ++i) {
        TProcessInfo p;
        component.GetProcess(static_cast<std::uint32_t>(i), p);
        EXPECT_EQ(doc["processes"].Items[static_cast<std::size_t>(i)]["pid"].Text, std::to_string(p.PID));
        EXPECT_FALSE(doc["processes"].Items[static_cast<std::size_t>(i)].Has("threads"));
    }

    const TToolRun csv = RunTool("show " + Quoted(file) + " --csv services");
    ASSERT_EQ(csv.ExitCode, 0u) << csv.Err;
    ASSERT_EQ(csv.Out.rfind("\xEF\xBB\xBF", 0), 0u);
    const auto records = ReadCsv(csv.Out.substr(3));
    ASSERT_EQ(records.size(), static_cast<std::size_t>(component.ServiceCount()) + 1);
    EXPECT_EQ(records[0].at(3), "Name");
    for (int i = 0; i < component.ServiceCount(); ++i) {
        TServiceInfo s;
        component.GetService(static_cast<std::uint32_t>(i), s);
        EXPECT_EQ(records[static_cast<std::size_t>(i) + 1].at(3), s.Name.str());
    }

    const TToolRun same = RunTool("diff " + Quoted(file) + " " + Quoted(file));
    EXPECT_EQ(same.ExitCode, 0u) << same.Err;
    EXPECT_EQ(same.Out, "Kind\tKey\tChange\tField\tOld value\tNew value\r\n");
    const TToolRun sameJson = RunTool("diff --json " + Quoted(file) + " " + Quoted(file));
    EXPECT_EQ(sameJson.ExitCode, 0u) << sameJson.Err;
    EXPECT_TRUE(ParseJson(sameJson.Out)["differences"].Items.empty());

    // As lines, found through a wildcard: the header, then a line per item,
    // at the moment of the save.
    const TToolRun lines = RunTool("lines " + Quoted(folder + "th*.ivs"));
    ASSERT_EQ(lines.ExitCode, 0u) << lines.Err;
    const std::vector<TJson> rows = ParseJsonLines(lines.Out);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(1 + component.ProcessCount() + component.DriverCount() +
                                                    component.ServiceCount()));
    EXPECT_EQ(rows.front()["table"].Text, "header");
    EXPECT_EQ(rows.back()["table"].Text, component.ServiceCount() > 0 ? "services" : "header");
    for (const TJson& row : rows) {
        EXPECT_EQ(row["reportFile"].Text, file);
        EXPECT_EQ(row["snapshotTime"].Text, IsoTimeFromFileTime(component.StorageInfo.TimestampUtc));
    }
    EXPECT_NE(component.StorageInfo.TimestampUtc, 0);
}

void RefusesFaultyInput(const std::string& folder) {
    const std::string missing = folder + "missing.ivs";
    ExpectError(RunTool("show " + Quoted(missing)), missing);
    ExpectError(RunTool("diff " + Quoted(missing) + " " + Quoted(missing)), missing);

    const std::string plain = folder + "plain.ivs";
    {
        const THandle f(CreateFileA(plain.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(f);
        DWORD written = 0;
        WriteFile(f.get(), "not a report\r\n", 14, &written, nullptr);
    }
    const TToolRun foreign = RunTool("show " + Quoted(plain) + " --json");
    ExpectError(foreign, plain);
    EXPECT_EQ(foreign.Err, plain + ": not an inventory report\r\n");

    const TToolRun usage = RunTool("show");
    EXPECT_EQ(usage.ExitCode, 2u);
    EXPECT_TRUE(usage.Out.empty());
    EXPECT_NE(usage.Err.find("usage: orvexinv"), std::string::npos) << usage.Err;
    EXPECT_EQ(RunTool("frobnicate x.ivs").ExitCode, 2u);

    // A save into a folder that does not exist: error, and nothing written.
    const std::string nowhere = folder + "no such folder\\r.ivs";
    ExpectError(RunTool("save " + Quoted(nowhere)), nowhere);
    EXPECT_EQ(GetFileAttributesA((folder + "no such folder").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace

TEST(ConsoleTool, SavesShowsAndComparesReportsOfThisSystem) {
    TTempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    SaveShowAndDiff(folder.path());
    // The save left its report and nothing else (no temporary file).
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"this.ivs"});
}

TEST(ConsoleTool, CollectPrintsTheLiveInventoryWithThreadsAndModules) {
    const TToolRun run = RunTool("collect --json");
    ASSERT_TRUE(run.Finished);
    ASSERT_EQ(run.ExitCode, 0u) << run.Err;
    EXPECT_TRUE(run.Err.empty()) << run.Err;
    const TJson doc = ParseJson(run.Out);
    EXPECT_TRUE(doc["live"].B);
    EXPECT_FALSE(doc["header"]["machine"].Text.empty());
    EXPECT_FALSE(doc["header"]["timestamp"].Text.empty());
    const TJson* self = nullptr;
    for (const TJson& p : doc["processes"].Items)
        if (p["pid"].Text == std::to_string(run.Pid)) self = &p;
    ASSERT_NE(self, nullptr) << "the tool's own process is missing";
    EXPECT_FALSE((*self)["threads"].Items.empty());
    EXPECT_FALSE((*self)["modules"].Items.empty());
    EXPECT_NE((*self)["imageName"].Text.find("orvexinv"), std::string::npos);
    EXPECT_FALSE(doc["services"].Items.empty());
    // Each module's file checked: a hash (tools/check-image-hashes.py holds
    // them against an independent hasher) and a signer text.
    EXPECT_EQ((*self)["sha256"].Text.size(), 64u);
    for (const TJson& m : (*self)["modules"].Items) {
        EXPECT_EQ(m["sha256"].Text.size(), 64u) << m["imageName"].Text;
        EXPECT_FALSE(m["signer"].Text.empty()) << m["imageName"].Text;
    }
}

TEST(ConsoleTool, SaveWithoutVerificationLeavesTheChecksOut) {
    TTempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const std::string file = folder.path() + "plain.ivs";
    const TToolRun save = RunTool("save --no-verify " + Quoted(file));
    ASSERT_EQ(save.ExitCode, 0u) << save.Err;
    TOrvex_ProcessList component;
    ASSERT_NO_FATAL_FAILURE(LoadReport(file, component));
    ASSERT_GT(component.ProcessCount(), 0);
    for (int i = 0; i < component.ProcessCount(); ++i) {
        TProcessInfo p;
        component.GetProcess(static_cast<std::uint32_t>(i), p);
        EXPECT_EQ(p.Signer.str() + p.Sha256.str(), "") << p.Name.str();
    }
}

TEST(ConsoleTool, ErrorsNameTheFileAndTheReason) {
    TTempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    RefusesFaultyInput(folder.path());

    // A damaged report: a real one cut short.
    const std::string good = folder.path() + "good.ivs";
    ASSERT_EQ(RunTool("save " + Quoted(good)).ExitCode, 0u);
    const std::string bytes = ReadWholeFile(good);
    ASSERT_GT(bytes.size(), 2048u);
    const std::string damaged = folder.path() + "damaged.ivs";
    {
        const THandle f(CreateFileA(damaged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(f);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(f.get(), bytes.data(), 1536, &written, nullptr));
    }
    ExpectError(RunTool("show " + Quoted(damaged)), damaged);
    ExpectError(RunTool("diff " + Quoted(good) + " " + Quoted(damaged)), damaged);
}

TEST(ConsoleTool, FailedSaveLeavesTheTargetAndNoTemporaryFile) {
    TTempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    // The target is a folder: the report is written, but cannot take its place.
    const std::string target = folder.path() + "taken.ivs";
    ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
    const TToolRun run = RunTool("save " + Quoted(target));
    ExpectError(run, target);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"taken.ivs"});
    EXPECT_NE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    // A save over an existing file replaces it.
    const std::string file = folder.path() + "old.ivs";
    {
        const THandle f(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(f);
    }
    ASSERT_EQ(RunTool("save " + Quoted(file)).ExitCode, 0u);
    EXPECT_TRUE(IsInventoryReport(file));
}

TEST(ConsoleTool, ChangedStartTypeOfAServiceIsOneDifference) {
    TInstalledTestService service("_inv");
    ASSERT_TRUE(service.installed()) << service.error();
    TTempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const std::string before = folder.path() + "before.ivs", after = folder.path() + "after.ivs";
    ASSERT_EQ(RunTool("save " + Quoted(before)).ExitCode, 0u);
    {
        const TScHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS), &CloseServiceHandle);
        ASSERT_TRUE(manager);
        const TScHandle svc(OpenServiceA(manager.get(), service.key().c_str(), SERVICE_ALL_ACCESS),
                            &CloseServiceHandle);
        ASSERT_TRUE(svc);
        ASSERT_TRUE(ChangeServiceConfigA(svc.get(), SERVICE_NO_CHANGE, SERVICE_DISABLED, SERVICE_NO_CHANGE, nullptr,
                                         nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))
            << GetLastError();
    }
    ASSERT_EQ(RunTool("save " + Quoted(after)).ExitCode, 0u);

    const TToolRun diff = RunTool("diff --json " + Quoted(before) + " " + Quoted(after));
    EXPECT_EQ(diff.ExitCode, 1u) << diff.Err;
    const TJson doc = ParseJson(diff.Out);
    std::vector<const TJson*> serviceRows;
    for (const TJson& row : doc["differences"].Items)
        if (row["kind"].Text == "service") serviceRows.push_back(&row);
    ASSERT_EQ(serviceRows.size(), 1u) << diff.Out;
    EXPECT_EQ((*serviceRows[0])["key"].Text, service.key());
    EXPECT_EQ((*serviceRows[0])["change"].Text, "changed");
    EXPECT_EQ((*serviceRows[0])["field"].Text, "start type");
    EXPECT_EQ((*serviceRows[0])["oldValue"].Text, "Manual");
    EXPECT_EQ((*serviceRows[0])["newValue"].Text, "Disabled");

    // The text form has the same row.
    const TToolRun text = RunTool("diff " + Quoted(before) + " " + Quoted(after));
    EXPECT_EQ(text.ExitCode, 1u);
    EXPECT_NE(text.Out.find("service\t" + service.key() + "\tchanged\tstart type\tManual\tDisabled\r\n"),
              std::string::npos)
        << text.Out;
}

// The essential commands on NT 4.
TEST(Nt40ConsoleTool, SavesShowsComparesAndRefuses) {
    TTempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    SaveShowAndDiff(folder.path());
    TOrvex_ProcessList component;
    ASSERT_NO_FATAL_FAILURE(LoadReport(folder.path() + "this.ivs", component));
    EXPECT_EQ(component.StorageInfo.MajorVersion, 4);
    EXPECT_EQ(component.StorageInfo.Platform, 2);
    RefusesFaultyInput(folder.path());
}
