// orvexinv's JSON lines of a fleet's reports. This system's inventory is
// saved as reports of four hosts: ALPHA as it is, BETA with one service
// disabled and a driver of its own, GAMMA with one process more, DELTA as an
// earlier version wrote it (no UTC moment in its header); beside them a file
// that is no report. The lines of them all (through a wildcard) against the
// reports as the program reads them, the differences from ALPHA, and the
// live lines of `collect --lines`.
//
// With ORVEX_FLEET_DIR naming a folder (tools/check-fleet-engines.py), the
// reports, the lines and what the database engines must find in them stay
// there: fleet.jsonl, diff.jsonl and expected.json.
#include <gtest/gtest.h>

#include <windows.h>
#include <propidl.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/OXI_Inventory.h"
#include "engine/OXI_Processes.h"
#include "engine/OXI_Report.h"
#include "engine/OXI_ReportParts.h"
#include "engine/pure/OXI_IsoTime.h"
#include "platform/Orvex_FileSearch.h"
#include "platform/Orvex_FileTime.h"
#include "platform/Orvex_FileWrite.h"
#include "platform/Orvex_WideText.h"
#include "storage/Orvex_ReportFile.h"
#include "storage/Orvex_SS.h"
#include "tests/JsonReader.h"
#include "tests/wine/support/InvTool.h"
#include "tests/wine/support/ReportFileTest.h"
#include "tests/wine/support/ToolRun.h"

using namespace orvex;
using namespace orvex::test;

namespace {

constexpr std::int64_t Hour = 36'000'000'000;
constexpr std::int64_t FleetTime = 134'405'640'000'000'000;  // 2026-12-01T02:00:00Z
constexpr std::uint32_t AddedPid = 0x7FFF0004;
const char* const AddedProcess = "C:\\Fleet\\added.exe";
const char* const OwnDriver = "\\SystemRoot\\System32\\drivers\\orvexfleet.sys";
constexpr std::int32_t Disabled = 4;

TToolRun RunTool(const std::string& args) { return RunProgram(InvToolPath(), args); }

// The header rewritten as an earlier version wrote it: the same
// properties, without the UTC moment. (The set is made anew: Wine's
// DeleteMultiple leaves a named property in the stream.)
void WithoutUtcMoment(const std::string& file, const std::string& host) {
    TStorageInfoRecord info;
    std::string title, author;
    auto root = OpenStorageFile(file, StorageWriteMode);
    ASSERT_TRUE(root);
    {
        const auto set = root->OpenPropertySet(FMTID_SummaryInformation, StorageWriteMode, false);
        ASSERT_TRUE(set);
        ReadHeaderFields(set->PropertyStorage.get(), info);
        title = ReadStrPropID(set->PropertyStorage.get(), PIDSI_TITLE);
        author = ReadStrPropID(set->PropertyStorage.get(), PIDSI_AUTHOR);
    }
    ASSERT_EQ(root->Storage->DestroyElement(L"\005SummaryInformation"), S_OK);
    const auto set = OpenReportSetForWriting(*root, FMTID_SummaryInformation);
    ASSERT_TRUE(set);
    WriteStrPropID(set->PropertyStorage.get(), PIDSI_TITLE, title);
    WriteStrPropID(set->PropertyStorage.get(), PIDSI_AUTHOR, author);
    info.Machine = host;
    info.TimestampUtc = 0;
    WriteHeaderFields(set->PropertyStorage.get(), info);
}

// Saves inventory as the report of host, taken at snapshot (0: as earlier
// versions wrote reports, with the local time alone).
void SaveAs(const TInventory& inventory, const std::string& file, const std::string& host, std::int64_t snapshot) {
    TOrvex_ProcessList component;
    for (const TProcessInfo& p : inventory.Processes) component.AddProcess(p);
    for (const TDriverInfo& d : inventory.Drivers) component.AddDriver(d);
    for (const TServiceInfo& s : inventory.Services) component.AddService(s);
    component.SaveToStorage(file);
    if (snapshot == 0) {
        WithoutUtcMoment(file, host);
        return;
    }
    PatchHeader(file, [&](IPropertyStorage* set) {
        WriteStrPropID(set, PIDSI_SUBJECT, host);
        WriteIntProp(set, "TimestampUTC", snapshot);
    });
}

// The rows per table of a report as the program reads it.
std::map<std::string, std::size_t> ReportCounts(const std::string& file) {
    TOrvex_ProcessList component;
    EXPECT_TRUE(component.LoadFromStorage(file)) << file;
    return {{"header", 1},
            {"processes", static_cast<std::size_t>(component.ProcessCount())},
            {"drivers", static_cast<std::size_t>(component.DriverCount())},
            {"services", static_cast<std::size_t>(component.ServiceCount())}};
}

std::int64_t LastWrite(const std::string& file) {
    const THandle h(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    FILETIME written{};
    EXPECT_TRUE(h && GetFileTime(h.get(), nullptr, nullptr, &written)) << file;
    return FileTimeCount(written);
}

std::string JsonText(const std::string& ascii) {
    std::string out = "\"";
    for (char c : ascii) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

struct THost {
    std::string Name;
    std::string File;
    std::int64_t Snapshot;
};

// The reports are written once for the suite, so that every test (and the
// engines' check after them) reads the same files.
class FleetLines : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        TComInit com;
        const char* kept = std::getenv("ORVEX_FLEET_DIR");
        temp_ = std::make_unique<TTempFolder>();
        folder_ = kept && *kept ? std::string(kept) + "\\" : temp_->path();
        ASSERT_FALSE(folder_.empty());
        disabled_.clear();
        hosts_ = {{"ALPHA", folder_ + "alpha.ivs", FleetTime},
                  {"BETA", folder_ + "beta.ivs", FleetTime + Hour},
                  {"DELTA", folder_ + "delta.ivs", 0},
                  {"GAMMA", folder_ + "gamma.ivs", FleetTime + 2 * Hour}};
        notReport_ = folder_ + "notes.ivs";

        TOrvex_ProcessList live;
        live.DetectionRange = TDetectionRange::All();
        live.RefreshData();
        const TInventory alpha = InventoryOf(live);
        ASSERT_FALSE(alpha.Services.empty());
        ASSERT_FALSE(alpha.Processes.empty());

        TInventory beta = alpha;
        for (TServiceInfo& s : beta.Services)
            if (s.Startup != Disabled && disabled_.empty()) {
                disabled_ = s.Name.str();
                s.Startup = Disabled;
            }
        ASSERT_FALSE(disabled_.empty()) << "every service of the prefix is disabled";
        TDriverInfo own;
        own.Name = OwnDriver;
        own.Base = 0x7F000000;
        own.Size = 0x4000;
        beta.Drivers.push_back(own);

        TInventory gamma = alpha;
        TProcessInfo added = alpha.Processes.front();
        added.PID = AddedPid;
        added.Name = "added.exe";
        added.ImageName = AddedProcess;
        gamma.Processes.push_back(added);

        ASSERT_NO_FATAL_FAILURE(SaveAs(alpha, hosts_[0].File, hosts_[0].Name, hosts_[0].Snapshot));
        ASSERT_NO_FATAL_FAILURE(SaveAs(beta, hosts_[1].File, hosts_[1].Name, hosts_[1].Snapshot));
        ASSERT_NO_FATAL_FAILURE(SaveAs(alpha, hosts_[2].File, hosts_[2].Name, hosts_[2].Snapshot));
        ASSERT_NO_FATAL_FAILURE(SaveAs(gamma, hosts_[3].File, hosts_[3].Name, hosts_[3].Snapshot));
        ASSERT_EQ(WriteWholeFile(notReport_, "host,table\r\n"), 0u);
        ready_ = true;
    }
    static void TearDownTestSuite() { temp_.reset(); }
    void SetUp() override { ASSERT_TRUE(ready_) << "the fleet's reports were not written"; }

    TComInit com_;
    static inline std::unique_ptr<TTempFolder> temp_;
    static inline std::string folder_, notReport_, disabled_;
    static inline std::vector<THost> hosts_;
    static inline bool ready_ = false;
};

// Every report the pattern matches, one line per record under its host,
// time and file, as many per table as the program reads from the report;
// the file that is no report named on standard error and left out.
TEST_F(FleetLines, EveryReportOfAPatternAsLines) {
    const TToolRun run = RunTool("lines " + Quoted(folder_ + "*.ivs"));
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0u) << run.Err;
    EXPECT_EQ(run.Err.rfind(notReport_ + ": ", 0), 0u) << run.Err;
    EXPECT_EQ(run.Err.find("\r\n"), run.Err.size() - 2) << "one file named: " << run.Err;
    const std::vector<TJson> lines = ParseJsonLines(run.Out);

    std::map<std::string, std::map<std::string, std::size_t>> counts;
    std::map<std::string, std::set<std::string>> pids;
    std::size_t host = 0;
    std::string lastHost;
    for (const TJson& line : lines) {
        const std::string& name = line["host"].Text;
        if (name != lastHost) {
            // Reports come in the order of their names, each header first.
            ASSERT_LT(host, hosts_.size());
            EXPECT_EQ(name, hosts_[host].Name);
            EXPECT_EQ(line["table"].Text, "header");
            lastHost = name;
            ++host;
        }
        const THost& h = hosts_[host - 1];
        ++counts[name][line["table"].Text];
        EXPECT_EQ(line["reportFile"].Text, h.File);
        const std::int64_t time = h.Snapshot != 0 ? h.Snapshot : LastWrite(h.File);
        EXPECT_EQ(line["snapshotTime"].Text, IsoTimeFromFileTime(time)) << name;
        if (line["table"].Text == "processes") pids[name].insert(line["pid"].Text);
        if (line["table"].Text == "header") {
            EXPECT_EQ(line["machine"].Text, name);
        }
    }
    EXPECT_EQ(host, hosts_.size());

    std::string expected = "{\"counts\":[";
    for (const THost& h : hosts_) {
        const auto want = ReportCounts(h.File);
        EXPECT_EQ(counts[h.Name], want) << h.Name;
        for (const auto& [table, rows] : want)
            expected += "{\"host\":" + JsonText(h.Name) + ",\"table\":" + JsonText(table) +
                        ",\"rows\":" + std::to_string(rows) + "},";
    }
    EXPECT_EQ(pids["GAMMA"].count(std::to_string(AddedPid)), 1u);
    EXPECT_EQ(pids["ALPHA"].count(std::to_string(AddedPid)), 0u);
    expected.back() = ']';
    expected += ",\"disabledService\":{\"host\":\"BETA\",\"name\":" + JsonText(disabled_) + "}";
    expected += ",\"driverOnOneHost\":{\"host\":\"BETA\",\"name\":" + JsonText(OwnDriver) + "}";
    expected += ",\"addedProcess\":{\"host\":\"GAMMA\",\"key\":" + JsonText(AddedProcess) + "}}\n";
    if (std::getenv("ORVEX_FLEET_DIR")) {
        EXPECT_EQ(WriteWholeFile(folder_ + "fleet.jsonl", run.Out), 0u);
        EXPECT_EQ(WriteWholeFile(folder_ + "expected.json", expected), 0u);
    }
}

// With a baseline: one line per difference of each report from it.
TEST_F(FleetLines, DifferencesFromABaseline) {
    const TToolRun run = RunTool("lines " + Quoted(hosts_[1].File) + " " + Quoted(hosts_[3].File) + " --diff " +
                                 Quoted(hosts_[0].File));
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0u) << run.Err;
    EXPECT_TRUE(run.Err.empty()) << run.Err;
    const std::vector<TJson> lines = ParseJsonLines(run.Out);
    struct TWant {
        const char* Host;
        const char* Table;
        const char* Action;
        std::string Key;
        const char* Field;
        const char* New;
    };
    const std::vector<TWant> want{
        {"BETA", "drivers", "added", OwnDriver, "", ""},
        {"BETA", "services", "changed", disabled_, "start type", "Disabled"},
        {"GAMMA", "processes", "added", AddedProcess, "", "1"},
    };
    ASSERT_EQ(lines.size(), want.size()) << run.Out;
    for (std::size_t i = 0; i < want.size(); ++i) {
        const TJson& line = lines[i];
        EXPECT_EQ(line["host"].Text, want[i].Host);
        EXPECT_EQ(line["table"].Text, want[i].Table);
        EXPECT_EQ(line["action"].Text, want[i].Action);
        EXPECT_EQ(line["key"].Text, want[i].Key);
        EXPECT_EQ(line["field"].Text, want[i].Field);
        EXPECT_EQ(line["new"].Text, want[i].New);
        EXPECT_EQ(line["baselineFile"].Text, hosts_[0].File);
    }
    if (std::getenv("ORVEX_FLEET_DIR")) {
        EXPECT_EQ(WriteWholeFile(folder_ + "diff.jsonl", run.Out), 0u);
    }
}

// An error only when nothing could be read: a baseline that is no report, or
// no name that leads to a report.
TEST_F(FleetLines, NothingReadIsAnError) {
    const TToolRun badBaseline = RunTool("lines " + Quoted(hosts_[0].File) + " --diff " + Quoted(notReport_));
    EXPECT_EQ(badBaseline.ExitCode, 2u);
    EXPECT_TRUE(badBaseline.Out.empty()) << badBaseline.Out;
    EXPECT_EQ(badBaseline.Err.rfind(notReport_ + ": ", 0), 0u) << badBaseline.Err;

    const std::string missing = folder_ + "none*.ivs";
    const TToolRun nothing = RunTool("lines " + Quoted(notReport_) + " " + Quoted(missing));
    EXPECT_EQ(nothing.ExitCode, 2u);
    EXPECT_TRUE(nothing.Out.empty()) << nothing.Out;
    EXPECT_NE(nothing.Err.find(notReport_ + ": "), std::string::npos) << nothing.Err;
    EXPECT_NE(nothing.Err.find(missing + ": no file matches\r\n"), std::string::npos) << nothing.Err;

    // One readable report among them is enough.
    const TToolRun some = RunTool("lines " + Quoted(missing) + " " + Quoted(hosts_[2].File));
    EXPECT_EQ(some.ExitCode, 0u) << some.Err;
    EXPECT_FALSE(some.Out.empty());
}

// The live inventory as lines: threads and modules too, each under a process
// of the same lines, the moment of the collection, no report file.
TEST(ConsoleLinesLive, CollectGivesEveryTable) {
    FILETIME before{};
    GetSystemTimeAsFileTime(&before);
    const TToolRun run = RunTool("collect --lines");
    ASSERT_TRUE(run.Finished);
    ASSERT_EQ(run.ExitCode, 0u) << run.Err;
    const std::vector<TJson> lines = ParseJsonLines(run.Out);
    std::map<std::string, std::size_t> counts;
    std::set<std::string> pids;
    std::size_t threadsUnderAProcess = 0, modulesUnderAProcess = 0;
    for (const TJson& line : lines) {
        const std::string& table = line["table"].Text;
        ++counts[table];
        EXPECT_EQ(line["reportFile"].Text, "");
        EXPECT_EQ(line["host"].Text, lines.front()["host"].Text);
        EXPECT_GE(line["snapshotTime"].Text, IsoTimeFromFileTime(FileTimeCount(before)));
        if (table == "processes") pids.insert(line["pid"].Text);
        if (table == "threads") threadsUnderAProcess += pids.count(line["ownerPid"].Text);
        if (table == "modules") modulesUnderAProcess += pids.count(line["ownerPid"].Text);
    }
    EXPECT_EQ(counts["header"], 1u);
    EXPECT_EQ(lines.front()["table"].Text, "header");
    EXPECT_EQ(pids.count(std::to_string(run.Pid)), 1u) << "the collector among the processes";
    EXPECT_GT(counts["threads"], 0u);
    EXPECT_GT(counts["modules"], 0u);
    EXPECT_EQ(threadsUnderAProcess, counts["threads"]);
    EXPECT_EQ(modulesUnderAProcess, counts["modules"]);
    EXPECT_GT(counts["services"], 0u);
}

// Code page 932: a host named in Japanese and a report in a folder whose
// name ends in a trail byte 0x5C, found through a pattern whose file-name
// part begins with such a character; the lines hold every text in UTF-8.
TEST(Cp932ConsoleLines, NamesAndPathsInUtf8) {
    TTempFolder temp;
    const std::string folder = temp.path() + "\x95\x5C";  // 表
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << GetLastError();
    const std::string report = folder + "\\\x94\x5C.ivs";  // 能.ivs
    struct TRemove {
        std::string Folder, Report;
        ~TRemove() {
            DeleteFileA(Report.c_str());
            RemoveDirectoryA(Folder.c_str());
        }
    } remove{folder, report};
    {
        TComInit com;
        TOrvex_ProcessList component;
        TProcessInfo p;
        p.PID = 77;
        p.Name = "\x83\x5C.exe";  // ソ.exe
        component.AddProcess(p);
        component.SaveToStorage(report);
        ASSERT_NO_FATAL_FAILURE(PatchHeader(report, [&](IPropertyStorage* set) {
            WriteStrPropID(set, PIDSI_SUBJECT, "\x93\xFA\x96\x7B");  // 日本
        }));
    }
    // 能*.ivs: the pattern's last 0x5C is the trail byte of its first
    // character. The search in this program's code page 932 (the tool itself
    // declares UTF-8 as its ANSI code page, which Windows 10 1903 and later
    // and Wine take).
    const std::string pattern = folder + "\\\x94\x5C*.ivs";
    std::vector<std::string> found;
    ASSERT_EQ(FindMatchingFiles(pattern, found), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(found, std::vector<std::string>{report});
    std::vector<std::string> none{"untouched"};
    EXPECT_EQ(FindMatchingFiles(folder + "\\\x95\x5C*.ivs", none), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(none, std::vector<std::string>{"untouched"});

    const TToolRun run = RunTool("lines " + Quoted(pattern));
    ASSERT_EQ(run.ExitCode, 0u) << run.Err;
    const std::vector<TJson> lines = ParseJsonLines(run.Out);
    ASSERT_EQ(lines.size(), 2u) << run.Out;
    for (const TJson& line : lines) {
        EXPECT_EQ(line["host"].Text, "\xE6\x97\xA5\xE6\x9C\xAC");
        EXPECT_EQ(line["reportFile"].Text, AnsiToUtf8(report));
        EXPECT_NE(line["reportFile"].Text.find("\xE8\xA1\xA8\\\xE8\x83\xBD.ivs"), std::string::npos);
    }
    EXPECT_EQ(lines[1]["name"].Text, "\xE3\x82\xBD.exe");
}

}  // namespace
