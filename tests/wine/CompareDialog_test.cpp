// "Compare with report..." and "Export list..." of the main window, driven as
// a user drives them: the system's file dialogs, the comparison dialog, the
// error report, and the CSV files read back by a reader of the test's own.
#include <gtest/gtest.h>

#include "app/CompareDialog.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/CompareDialogLayout.h"
#include "app/Main.h"
#include "engine/OXI_Report.h"
#include "engine/pure/OXI_InventoryDiff.h"
#include "tests/wine/DetailsProbe.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/HelperProcess.h"
#include "tests/wine/support/TempFile.h"
#include "tests/wine/support/TestService.h"
#include "ui/Orvex_Application.h"

namespace {

using namespace orvex::app;
using orvex::test::ListHeaders;
using orvex::test::ListRows;
using orvex::test::Press;
using orvex::test::TDialogAnswerer;
using orvex::test::TDialogProbe;
using orvex::test::TypeAndPress;
using orvex::test::WindowText;
using Rows = std::vector<std::vector<std::string>>;
using Strings = std::vector<std::string>;

constexpr int FileNameCombo = 0x47C;  // cmb13 of the common file dialogs
constexpr const char* Bom = "\xEF\xBB\xBF";

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Comma-separated values as RFC 4180 defines them: records end with CR LF, a
// field in double quotes holds commas, line breaks and doubled quotes. False
// for text that breaks the rules (a quote inside an unquoted field, text
// after a closing quote, a bare CR or LF outside quotes, a missing final CR LF).
bool ParseCsv(const std::string& text, Rows& rows) {
    rows.clear();
    std::vector<std::string> record;
    std::string field;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        if (text[i] == '"') {
            ++i;
            for (;;) {
                if (i >= n) return false;  // no closing quote
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
        } else {
            while (i < n && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                if (text[i] == '"') return false;
                field += text[i++];
            }
        }
        if (i >= n) return false;  // every record ends with CR LF
        if (text[i] == ',') {
            record.push_back(std::move(field));
            field.clear();
            ++i;
        } else if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') {
            record.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(record));
            record.clear();
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

// An ANSI text of the program as UTF-8, converted here by the system.
std::string Utf8OfAnsi(const std::string& ansi) {
    if (ansi.empty()) return {};
    std::wstring wide(ansi.size(), L'\0');
    const int w = MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), wide.data(), int(wide.size()));
    std::string utf8(std::size_t(w) * 4, '\0');
    const int u = WideCharToMultiByte(CP_UTF8, 0, wide.data(), w, utf8.data(), int(utf8.size()), nullptr, nullptr);
    utf8.resize(std::size_t(u));
    return utf8;
}

// What a list view shows, as a CSV file of it must read: the captions, then
// the rows in the order shown, in UTF-8.
Rows ShownAsUtf8(HWND list) {
    Rows rows{ListHeaders(list)};
    for (const auto& row : ListRows(list)) rows.push_back(row);
    for (auto& row : rows)
        for (auto& cell : row) cell = Utf8OfAnsi(cell);
    return rows;
}

// Reads a CSV file the program wrote: it starts with the byte-order mark and
// parses; Rows receives its records.
::testing::AssertionResult ReadCsvFile(const std::string& path, Rows& rows) {
    const std::string text = ReadWholeFile(path);
    if (text.compare(0, 3, Bom) != 0) return ::testing::AssertionFailure() << path << " has no byte-order mark";
    if (!ParseCsv(text.substr(3), rows)) return ::testing::AssertionFailure() << path << " is no RFC 4180 text";
    return ::testing::AssertionSuccess();
}

// The rows of the comparison dialog as the probe found them.
struct TShownComparison {
    std::string Caption;
    std::string Summary;
    Strings Headers;
    Rows Rows;
    Strings SaveDialogFilters;
    Strings Unexpected;  // titles of dialogs that were closed unanswered
};

// Reads the comparison dialog titled Caption, which the test thread shows
// next; with CsvName, presses "Save as CSV..." and types that name (a path
// without extension) into the save dialog. Then closes the dialog with "Close".
// With Screenshot, saves what the screen shows of the dialog under that name
// (see SaveScreenshot).
TDialogProbe::TScript ReadComparison(TShownComparison& shown, const std::string& csvName = {},
                                     const std::string& screenshot = {}) {
    const DWORD uiThread = GetCurrentThreadId();
    return [&shown, csvName, screenshot, uiThread](HWND d) {
        shown.Caption = WindowText(d);
        shown.Summary = WindowText(GetDlgItem(d, idCompareSummary));
        shown.Headers = ListHeaders(GetDlgItem(d, idCompareList));
        shown.Rows = ListRows(GetDlgItem(d, idCompareList));
        if (!screenshot.empty()) orvex::test::SaveScreenshot(d, screenshot);
        if (!csvName.empty()) {
            orvex::test::PostClick(d, idCompareSaveCsv);
            // The save dialog disables the comparison dialog, so the answerer
            // finds the save dialog alone.
            if (orvex::test::WaitForDialog(uiThread, SaveDifferencesTitle, 15000, d)) {
                TDialogAnswerer save({TypeAndPress(csvName, IDOK, FileNameCombo)}, uiThread);
                if (save.Finish()) shown.SaveDialogFilters = save.Seen().at(0).ComboItems;
            }
            // Whatever else came up (a question, an error) ends too, so
            // that the test thread's modal loops all end.
            if (!orvex::test::WaitUntil([&] { return IsWindowEnabled(d) != FALSE; }, 15000))
                shown.Unexpected = orvex::test::CloseOtherDialogs(shown.Caption, 3000);
        }
        orvex::test::SendClick(d, idCompareClose);
    };
}

bool Contains(const Strings& items, const std::string& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

// A main window of the test process and a folder of its own for the files.
class CompareAndExport : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        orvex::ResetSortState();
        window_ = new Twnd_Main(nullptr, false);
    }
    static void TearDownTestSuite() {
        delete window_;
        window_ = nullptr;
        orvex::ResetSortState();
    }
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "orvex_compare_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        W().SetActivePage(pgProcesses);
    }
    void TearDown() override {
        for (const std::string& name : FolderFiles()) {
            SetFileAttributesA((folder_ + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((folder_ + name).c_str());
        }
        RemoveDirectoryA(folder_.c_str());
    }
    static Twnd_Main& W() { return *window_; }
    std::string Path(const std::string& name) const { return folder_ + name; }
    Strings FolderFiles() const { return orvex::test::FolderEntries(folder_); }
    // Compares with the report Name (in the folder) through the command's
    // own call, reading the dialog with the probe.
    TShownComparison CompareDirectly(const std::string& name, const std::string& csvBaseName = {},
                                     const std::string& screenshot = {}) {
        TShownComparison shown;
        TDialogProbe probe("Compare with " + name,
                           ReadComparison(shown, csvBaseName.empty() ? "" : Path(csvBaseName), screenshot));
        W().CompareWithReport(Path(name));
        EXPECT_TRUE(probe.Finish()) << "no dialog \"Compare with " << name << "\"";
        EXPECT_EQ(shown.Unexpected, Strings{});
        return shown;
    }
    // Exports the active page's list through the menu command and the save
    // dialog, typing BaseName (no extension: the dialog adds "csv").
    std::vector<orvex::test::TSeenDialog> ExportThroughTheMenu(const std::string& baseName) {
        TDialogAnswerer save({TypeAndPress(Path(baseName), IDOK, FileNameCombo)});
        orvex::test::SendCommand(W().Handle(), cmExportListId);
        EXPECT_TRUE(save.Finish());
        return save.Seen();
    }
    static inline Twnd_Main* window_ = nullptr;
    std::string folder_;
};

// Rows of one kind, and the rows of one key.
Rows RowsOfKind(const Rows& rows, const std::string& kind) {
    Rows found;
    for (const auto& r : rows)
        if (!r.empty() && r[0] == kind) found.push_back(r);
    return found;
}

Rows RowsOfKey(const Rows& rows, const std::string& key) {
    Rows found;
    for (const auto& r : rows)
        if (r.size() > 1 &&
            CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, r[1].c_str(), -1, key.c_str(), -1) == CSTR_EQUAL)
            found.push_back(r);
    return found;
}

TEST_F(CompareAndExport, LiveDataAgainstAFreshReportOfItself) {
    W().RefreshView(false);
    W().ProcList.SaveToStorage(Path("fresh.ivs"));

    // Nothing changed in between: the dialog says so and lists nothing.
    const TShownComparison same = CompareDirectly("fresh.ivs");
    EXPECT_EQ(same.Caption, "Compare with fresh.ivs");
    EXPECT_EQ(same.Headers, orvex::DiffColumnCaptions());
    EXPECT_TRUE(same.Rows.empty());
    EXPECT_EQ(same.Summary.rfind("Report fresh.ivs (", 0), 0u) << same.Summary;
    EXPECT_NE(same.Summary.find(" compared with live data of "), std::string::npos) << same.Summary;
    EXPECT_NE(same.Summary.find(": no differences"), std::string::npos) << same.Summary;

    // A process starts, the window refreshes: that process shows as added,
    // and nothing but processes differs. The command runs from the menu
    // through the open dialog.
    orvex::test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    W().RefreshView(false);
    const Rows before = ListRows(W().PrcList());
    TShownComparison shown;
    TDialogAnswerer open({TypeAndPress(Path("fresh.ivs"), IDOK, FileNameCombo)});
    TDialogProbe probe("Compare with fresh.ivs", ReadComparison(shown));
    orvex::test::SendCommand(W().Handle(), cmCompareReportId);
    ASSERT_TRUE(open.Finish());
    ASSERT_TRUE(probe.Finish());
    const auto openSeen = open.Seen().at(0);
    EXPECT_EQ(openSeen.Title, CompareReportTitle);
    EXPECT_TRUE(Contains(openSeen.ComboItems, "Orvex Inventory Storage files"));

    ASSERT_FALSE(shown.Rows.empty());
    EXPECT_EQ(RowsOfKind(shown.Rows, "process").size(), shown.Rows.size()) << "only processes change meanwhile";
    const std::string helperKey = "(PID " + std::to_string(helper.pid()) + ")";
    int added = 0;
    for (const auto& r : shown.Rows)
        if (r[1].find(helperKey) != std::string::npos && r[2] == "added") ++added;
    EXPECT_EQ(added, 1) << helperKey;
    EXPECT_NE(shown.Summary.find(": " + std::to_string(shown.Rows.size()) + " difference"), std::string::npos)
        << shown.Summary;
    // The window still shows its live data.
    EXPECT_TRUE(W().ProcList.LiveData());
    EXPECT_EQ(ListRows(W().PrcList()), before);
}

TEST_F(CompareAndExport, AServicesStartTypeChangedShowsAsOneChange) {
    orvex::test::TInstalledTestService service("_cmp");
    ASSERT_TRUE(service.installed()) << service.error();
    // One process ends and another starts after the report, as on a live system.
    auto ending = std::make_unique<orvex::test::THelperProcess>();
    ASSERT_TRUE(ending->started());
    const DWORD endedPid = ending->pid();
    W().RefreshView(false);
    W().ProcList.SaveToStorage(Path("before.ivs"));
    {
        orvex::TScHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS), &::CloseServiceHandle);
        orvex::TScHandle handle(::OpenServiceA(manager.get(), service.key().c_str(), SERVICE_ALL_ACCESS),
                                &::CloseServiceHandle);
        ASSERT_TRUE(handle);
        ASSERT_TRUE(ChangeServiceConfigA(handle.get(), SERVICE_NO_CHANGE, SERVICE_DISABLED, SERVICE_NO_CHANGE, nullptr,
                                         nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    }
    ASSERT_TRUE(TerminateProcess(ending->process(), 0));
    ASSERT_TRUE(ending->waitForExit(10000));
    ending.reset();
    orvex::test::THelperProcess started;
    ASSERT_TRUE(started.started());
    W().RefreshView(false);
    const TShownComparison shown = CompareDirectly("before.ivs", "differences", "compare_dialog");
    const Rows ofService = RowsOfKey(shown.Rows, service.key());
    ASSERT_EQ(ofService.size(), 1u);
    EXPECT_EQ(ofService[0], (Strings{"service", service.key(), "changed", "start type", "Manual", "Disabled"}));
    EXPECT_TRUE(RowsOfKind(shown.Rows, "driver").empty());
    EXPECT_EQ(RowsOfKind(shown.Rows, "service").size(), 1u);
    auto changeOf = [&](DWORD pid) {
        std::string change;
        for (const auto& r : shown.Rows)
            if (r[0] == "process" && r[1].find("(PID " + std::to_string(pid) + ")") != std::string::npos)
                change += r[2] + ";";
        return change;
    };
    if (started.pid() == endedPid) {  // a reused identifier: told apart by the creation time
        EXPECT_EQ(changeOf(endedPid), "removed;added;");
    } else {
        EXPECT_EQ(changeOf(endedPid), "removed;");
        EXPECT_EQ(changeOf(started.pid()), "added;");
    }

    // "Save as CSV..." wrote what the dialog listed.
    EXPECT_TRUE(Contains(shown.SaveDialogFilters, "CSV files (*.csv)"));
    ASSERT_TRUE(Exists(Path("differences.csv"))) << "the dialog adds the extension";
    Rows csv;
    ASSERT_TRUE(ReadCsvFile(Path("differences.csv"), csv));
    Rows expected{orvex::DiffColumnCaptions()};
    for (const auto& r : shown.Rows) expected.push_back(r);
    for (auto& r : expected)
        for (auto& cell : r) cell = Utf8OfAnsi(cell);
    EXPECT_EQ(csv, expected);
    EXPECT_EQ(FolderFiles(), (Strings{"before.ivs", "differences.csv"})) << "no temporary file stays";
}

// A display name with a comma, double quotes and a letter outside ASCII, set
// through the wide interface of the service manager.
class CompareAndExportQuoting : public CompareAndExport {
protected:
    void SetUp() override {
        CompareAndExport::SetUp();
        service_ = std::make_unique<orvex::test::TInstalledTestService>("_csv");
        ASSERT_TRUE(service_->installed()) << service_->error();
        W().RefreshView(false);
        W().ProcList.SaveToStorage(Path("named.ivs"));
        wideName_ = L"Orvex, \"quoted\" caf\u00E9 " + std::to_wstring(GetCurrentProcessId());
        orvex::TScHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS), &::CloseServiceHandle);
        orvex::TScHandle handle(::OpenServiceA(manager.get(), service_->key().c_str(), SERVICE_ALL_ACCESS),
                                &::CloseServiceHandle);
        ASSERT_TRUE(handle);
        ASSERT_TRUE(ChangeServiceConfigW(handle.get(), SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, nullptr,
                                         nullptr, nullptr, nullptr, nullptr, nullptr, wideName_.c_str()));
        W().RefreshView(false);
    }
    void TearDown() override {
        service_.reset();
        CompareAndExport::TearDown();
    }
    // The new display name in UTF-8, as the files must hold it.
    std::string Utf8Name() const {
        char text[256] = {};
        WideCharToMultiByte(CP_UTF8, 0, wideName_.c_str(), -1, text, sizeof text, nullptr, nullptr);
        return text;
    }
    std::unique_ptr<orvex::test::TInstalledTestService> service_;
    std::wstring wideName_;
};

TEST_F(CompareAndExportQuoting, TheDifferencesFileQuotesTheNewDisplayName) {
    const TShownComparison shown = CompareDirectly("named.ivs", "named");
    const Rows ofService = RowsOfKey(shown.Rows, service_->key());
    ASSERT_EQ(ofService.size(), 1u);
    EXPECT_EQ(ofService[0][3], "display name");
    EXPECT_EQ(ofService[0][4], service_->display());
    Rows csv;
    ASSERT_TRUE(ReadCsvFile(Path("named.csv"), csv));
    const Rows found = RowsOfKey(csv, service_->key());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0],
              (Strings{"service", service_->key(), "changed", "display name", service_->display(), Utf8Name()}));
    // The field is quoted, its quotes doubled.
    EXPECT_NE(ReadWholeFile(Path("named.csv")).find(",\"Orvex, \"\"quoted\"\" caf\xC3\xA9 "), std::string::npos);
}

TEST_F(CompareAndExportQuoting, ExportedServicesFollowTheSortShown) {
    orvex::test::ClickTab(W().pc(), 2);
    ASSERT_EQ(W().ActivePage(), pgServices);
    const HWND list = W().SvcList();
    orvex::ResetSortState();
    orvex::test::ClickColumnHeader(list, 0);
    orvex::test::ClickColumnHeader(list, 0);  // descending
    const auto seen = ExportThroughTheMenu("services");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Title, ExportListTitle);
    EXPECT_TRUE(Contains(seen[0].ComboItems, "CSV files (*.csv)"));
    EXPECT_TRUE(Contains(seen[0].ComboItems, "All files"));
    Rows csv;
    ASSERT_TRUE(ReadCsvFile(Path("services.csv"), csv));
    EXPECT_EQ(csv, ShownAsUtf8(list));
    ASSERT_GE(csv.size(), 3u);
    EXPECT_EQ(csv[0], (Strings{"Display Name", "Status", "Startup Type"}));
    // Descending by display name, as shown: the first row sorts last.
    EXPECT_EQ(orvex::CompareListItems(list, 0, int(csv.size()) - 2, 0), 1);
    int named = 0;
    for (const auto& r : csv) named += r[0] == Utf8Name();
    EXPECT_EQ(named, 1);
    EXPECT_NE(ReadWholeFile(Path("services.csv")).find("\r\n\"Orvex, \"\"quoted\"\" caf\xC3\xA9 "), std::string::npos);
}

TEST_F(CompareAndExport, ExportedProcessesFollowTheSortShown) {
    const HWND list = W().PrcList();
    orvex::ResetSortState();
    orvex::test::ClickColumnHeader(list, 1);
    orvex::test::ClickColumnHeader(list, 1);  // PID descending
    W().ExportList(Path("processes.csv"));
    Rows csv;
    ASSERT_TRUE(ReadCsvFile(Path("processes.csv"), csv));
    EXPECT_EQ(csv, ShownAsUtf8(list));
    ASSERT_GE(csv.size(), 3u);
    EXPECT_EQ(csv[0], (Strings{"Name", "PID", "CPU Time", "Mem Usage"}));
    EXPECT_GT(std::stoul(csv[1][1]), std::stoul(csv.back()[1]));
}

TEST_F(CompareAndExport, ExportReplacesAnExistingFileAndLeavesNoOtherBehind) {
    {
        std::ofstream old(Path("list.csv"), std::ios::binary);
        old << "old contents";
    }
    W().ExportList(Path("list.csv"));
    Rows csv;
    ASSERT_TRUE(ReadCsvFile(Path("list.csv"), csv));
    EXPECT_EQ(csv, ShownAsUtf8(W().PrcList()));
    EXPECT_EQ(FolderFiles(), Strings{"list.csv"});
}

TEST_F(CompareAndExport, ExportFailuresShowTheErrorReportAndLeaveNoFile) {
    // A folder that does not exist.
    const std::string missing = Path("no such folder\\list.csv");
    {
        TDialogAnswerer box({Press(IDOK)});
        W().ExportList(missing);
        ASSERT_TRUE(box.Finish());
        const auto seen = box.Seen().at(0);
        EXPECT_EQ(seen.Title, orvex::ApplicationTitle());
        EXPECT_NE(seen.Text.find("Cannot write " + missing + ": "), std::string::npos) << seen.Text;
    }
    EXPECT_FALSE(Exists(missing));
    // A read-only file keeps its contents.
    {
        std::ofstream old(Path("locked.csv"), std::ios::binary);
        old << "old contents";
    }
    ASSERT_TRUE(SetFileAttributesA(Path("locked.csv").c_str(), FILE_ATTRIBUTE_READONLY));
    {
        TDialogAnswerer box({Press(IDOK)});
        W().ExportList(Path("locked.csv"));
        ASSERT_TRUE(box.Finish());
        EXPECT_NE(box.Seen().at(0).Text.find(Path("locked.csv")), std::string::npos);
    }
    EXPECT_EQ(ReadWholeFile(Path("locked.csv")), "old contents");
    EXPECT_EQ(FolderFiles(), Strings{"locked.csv"}) << "no temporary file stays";
}

TEST_F(CompareAndExport, FilesThatAreNoReportShowTheErrorReportAndChangeNothing) {
    const Rows before = ListRows(W().PrcList());
    const int processes = W().ProcList.ProcessCount();
    // A text file, and a report cut short so that reading it raises.
    {
        std::ofstream text(Path("notes.ivs"), std::ios::binary);
        text << "no compound file";
    }
    W().ProcList.SaveToStorage(Path("whole.ivs"));
    const std::string whole = ReadWholeFile(Path("whole.ivs"));
    std::string damaged;
    for (std::size_t cut = 512; cut < whole.size() && damaged.empty(); cut += 512) {
        {
            std::ofstream out(Path("damaged.ivs"), std::ios::binary | std::ios::trunc);
            out << whole.substr(0, cut);
        }
        try {
            orvex::TOrvex_ProcessList probe;
            if (orvex::IsInventoryReport(Path("damaged.ivs"))) probe.LoadFromStorage(Path("damaged.ivs"));
        } catch (const std::exception&) {
            damaged = Path("damaged.ivs");
        }
    }
    ASSERT_FALSE(damaged.empty()) << "no cut of the report raised";

    for (const std::string& file : {Path("notes.ivs"), damaged}) {
        // One box, and no comparison dialog after it.
        TDialogAnswerer boxes({Press(IDOK), Press(IDCANCEL)}, GetCurrentThreadId(), 1500);
        W().CompareWithReport(file);
        EXPECT_FALSE(boxes.Finish());
        const auto seen = boxes.Seen();
        ASSERT_EQ(seen.size(), 1u) << file;
        EXPECT_EQ(seen[0].Title, orvex::ApplicationTitle());
        EXPECT_EQ(seen[0].Text.rfind("Cannot compare with " + file + ": ", 0), 0u) << seen[0].Text;
        if (file != damaged) EXPECT_NE(seen[0].Text.find("not an inventory report"), std::string::npos);
    }
    EXPECT_TRUE(W().ProcList.LiveData());
    EXPECT_EQ(W().ProcList.ProcessCount(), processes);
    EXPECT_EQ(ListRows(W().PrcList()), before);
}

// NT 4: the older file dialogs' structure, the classic process block and the
// same comparison.
using Nt40CompareAndExport = CompareAndExport;

TEST_F(Nt40CompareAndExport, CompareWithAFreshReportThroughTheOpenDialog) {
    W().RefreshView(false);
    W().ProcList.SaveToStorage(Path("nt4.ivs"));
    TShownComparison shown;
    TDialogAnswerer open({TypeAndPress(Path("nt4.ivs"), IDOK, FileNameCombo)});
    TDialogProbe probe("Compare with nt4.ivs", ReadComparison(shown, Path("nt4")));
    orvex::test::SendCommand(W().Handle(), cmCompareReportId);
    ASSERT_TRUE(open.Finish());
    ASSERT_TRUE(probe.Finish());
    EXPECT_EQ(shown.Unexpected, Strings{});
    EXPECT_EQ(shown.Headers, orvex::DiffColumnCaptions());
    EXPECT_TRUE(shown.Rows.empty());
    EXPECT_NE(shown.Summary.find(": no differences"), std::string::npos) << shown.Summary;
    Rows csv;
    ASSERT_TRUE(ReadCsvFile(Path("nt4.csv"), csv));
    EXPECT_EQ(csv, Rows{orvex::DiffColumnCaptions()});
}

TEST_F(Nt40CompareAndExport, ExportServicesThroughTheSaveDialog) {
    orvex::test::ClickTab(W().pc(), 2);
    ASSERT_EQ(W().ActivePage(), pgServices);
    ASSERT_EQ(ExportThroughTheMenu("services").size(), 1u);
    Rows csv;
    ASSERT_TRUE(ReadCsvFile(Path("services.csv"), csv));
    EXPECT_EQ(csv, ShownAsUtf8(W().SvcList()));
    EXPECT_GE(csv.size(), 2u);
}

// Windows 98: processes only, identifiers in hexadecimal, the older file
// dialogs' structure.
using Win98ExportList = CompareAndExport;

TEST_F(Win98ExportList, ProcessesThroughTheSaveDialogAfterASort) {
    const HWND list = W().PrcList();
    orvex::ResetSortState();
    orvex::test::ClickColumnHeader(list, 0);
    const auto seen = ExportThroughTheMenu("processes");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(Contains(seen[0].ComboItems, "CSV files (*.csv)"));
    Rows csv;
    ASSERT_TRUE(ReadCsvFile(Path("processes.csv"), csv));
    EXPECT_EQ(csv, ShownAsUtf8(list));
    ASSERT_GE(csv.size(), 2u);
    EXPECT_EQ(csv[0], (Strings{"Name", "PID", "Threads", "Usage"}));
}

}  // namespace
