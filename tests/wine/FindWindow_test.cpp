// "Find handle or DLL...": the Find window over the main window finds the
// helper's open file, named mutex and loaded libraries in the inventory (a
// library by its base name where its path is unknown), sorts its results and
// opens the process details on the matching page and row.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/Main.h"
#include "app/PrcDetailsLayout.h"
#include "app/pure/DetailsText.h"
#include "app/pure/FindRows.h"
#include "app/pure/PrcListRows.h"
#include "tests/wine/DetailsProbe.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/HelperProcess.h"
#include "ui/Orvex_ListView.h"

namespace {

using namespace orvex::app;
using orvex::test::DoubleClickRow;
using orvex::test::WindowText;

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// The helper's folder of its library copy (--wide-module), removed with the
// copy once the helper has ended: declared before the helper.
class TWideFolder {
public:
    TWideFolder() = default;
    TWideFolder(const TWideFolder&) = delete;
    TWideFolder& operator=(const TWideFolder&) = delete;
    ~TWideFolder() {
        if (path_.empty()) return;
        DeleteFileW((path_ + L"\\orvex_wide_module.dll").c_str());
        RemoveDirectoryW(path_.c_str());
    }
    // The folder the helper reported, in UTF-8.
    void Set(const std::string& utf8) {
        wchar_t path[MAX_PATH] = {};
        if (MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, path, MAX_PATH) > 0) path_ = path;
    }

private:
    std::wstring path_;
};

// The details page and the selected row a double click on a result opens.
struct TOpened {
    HWND Owner = nullptr;
    std::string Name;
    std::string Page;
    std::string SelectedCell;
};

TOpened OpenResult(HWND list, int row, int listId, int column) {
    TOpened seen;
    orvex::test::TDialogProbe probe("Process Details", [&](HWND d) {
        seen.Owner = GetWindow(d, GW_OWNER);
        seen.Name = WindowText(GetDlgItem(d, orvex::IdDetailsName));
        seen.Page = orvex::test::ActiveTabCaption(GetDlgItem(d, orvex::IdDetailsPages));
        const HWND target = GetDlgItem(d, listId);
        const int selected = orvex::SelectedListRow(target);
        if (selected >= 0) seen.SelectedCell = orvex::ListCellText(target, selected, column);
    });
    DoubleClickRow(list, row);
    EXPECT_TRUE(probe.Finish());
    return seen;
}

class FindWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(helper_.started());
        main_ = std::make_unique<Twnd_Main>(nullptr, false);
        main_->RefreshView(false);
        orvex::test::SendCommand(main_->Handle(), cmFindId);
        ASSERT_NE(main_->FindDialog(), nullptr);
    }
    Twnd_Find& F() { return *main_->FindDialog(); }

    // Types Text and presses the Find button; the result rows.
    std::vector<std::vector<std::string>> Find(const std::string& text) {
        SetWindowTextA(F().FindText(), text.c_str());
        SendMessageA(F().FindButton(), BM_CLICK, 0, 0);
        return orvex::test::ListRows(F().FindList());
    }
    // The row of the helper with this type and name or path, -1 for none.
    int HelperRow(const std::string& type, const std::string& name) {
        const auto rows = orvex::test::ListRows(F().FindList());
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i][orvex::FindPidColumn] == std::to_string(helper_.pid()) &&
                rows[i][orvex::FindTypeColumn] == type && SamePath(rows[i][orvex::FindNameColumn], name))
                return static_cast<int>(i);
        return -1;
    }

    // Finds the helper's library and its open file, typed in another case.
    void ExpectHelpersFileAndLibrary() {
        const std::string module = helper_.value("module");
        ASSERT_FALSE(module.empty());
        const auto rows = Find("ORVEX_test_MODULE.dll");
        const int dll = HelperRow("DLL", module);
        ASSERT_GE(dll, 0);
        EXPECT_EQ(rows[static_cast<std::size_t>(dll)][0], "orvex_test_helper.exe");
        for (const auto& row : rows)
            EXPECT_NE(Lower(row[orvex::FindNameColumn]).find("orvex_test_module.dll"), std::string::npos);
        EXPECT_EQ(WindowText(F().FindStatus()), orvex::FindCountText(rows.size()));

        // The helper's open file: its own executable, by its DOS path.
        const std::string exe = helper_.value("exe");
        const std::string exeName = exe.substr(exe.find_last_of('\\') + 1);
        Find(exeName);
        const int file = HelperRow("File", exe);
        ASSERT_GE(file, 0);
        EXPECT_EQ(orvex::test::ListRow(F().FindList(), file)[orvex::FindHandleColumn],
                  orvex::FormatHex0x(helper_.hex("file")));
        const int exeModule = HelperRow("DLL", exe);
        EXPECT_GE(exeModule, 0) << "the executable is a module of its process too";
        // Module rows get their file's signer as its check answers; handle
        // rows none.
        const HWND list = F().FindList();
        orvex::test::PumpUntil(
            [&] { return orvex::test::ListRow(list, exeModule)[orvex::FindSignerColumn] != orvex::CheckingText; },
            30000);
        EXPECT_EQ(orvex::test::ListRow(list, exeModule)[orvex::FindSignerColumn], "Unsigned");
        EXPECT_EQ(orvex::test::ListRow(list, file)[orvex::FindSignerColumn], "");

        EXPECT_TRUE(Find("no object is named like this 7f3a").empty());
        EXPECT_EQ(WindowText(F().FindStatus()), "0 matches");
    }

    // A library in a folder whose name the ANSI code page cannot hold: its
    // path comes back with "?", names no file and is not kept, so its base
    // name is what finds it. The double click selects its row by address.
    // The last result row of a library of process Pid; -1 when none.
    template <typename TRows>
    static int DllRowOf(const TRows& rows, DWORD pid) {
        int row = -1;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i][orvex::FindPidColumn] == std::to_string(pid) && rows[i][orvex::FindTypeColumn] == "DLL")
                row = static_cast<int>(i);
        return row;
    }

    void ExpectLibraryByBaseNameAlone() {
        TWideFolder folder;
        orvex::test::THelperProcess wide("--no-window --wide-module");
        ASSERT_TRUE(wide.started());
        folder.Set(wide.value("widefolder"));
        const std::string reported = wide.value("widemodule");
        ASSERT_FALSE(reported.empty()) << "the helper could not load its library copy";
        EXPECT_NE(reported.find('?'), std::string::npos) << "the code page holds Georgian: " << reported;
        main_->RefreshView(false);

        const auto rows = Find("ORVEX_WIDE_module");
        const int row = DllRowOf(rows, wide.pid());
        ASSERT_GE(row, 0) << "not found by its base name";
        const auto& hit = rows[static_cast<std::size_t>(row)];
        EXPECT_TRUE(SamePath(hit[orvex::FindNameColumn], "orvex_wide_module.dll")) << hit[orvex::FindNameColumn];
        EXPECT_NE(hit[orvex::FindHandleColumn], "0x0");

        const TOpened opened = OpenResult(F().FindList(), row, orvex::IdPrcModList, orvex::ModuleBaseColumn);
        EXPECT_EQ(opened.Page.find(" Modules"), 0u) << opened.Page;
        EXPECT_EQ(opened.SelectedCell, hit[orvex::FindHandleColumn]);
    }

    orvex::test::THelperProcess helper_;
    std::unique_ptr<Twnd_Main> main_;
};

TEST_F(FindWindow, OpensModelessOverTheMainWindow) {
    const HWND find = F().Handle();
    EXPECT_TRUE(IsWindowVisible(find));
    EXPECT_EQ(WindowText(find), "Find Handle or DLL");
    EXPECT_EQ(GetWindow(find, GW_OWNER), main_->Handle());
    // Modeless: the main window still takes input.
    EXPECT_TRUE(IsWindowEnabled(main_->Handle()));
    EXPECT_EQ(orvex::test::ListHeaders(F().FindList()),
              (std::vector<std::string>{"Process", "PID", "Type", "Handle", "Name or Path", "Signer"}));
    EXPECT_EQ(WindowText(F().FindButton()), "Find");
    // Closing hides it; the command shows the same window again.
    SendMessageA(find, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(find));
    orvex::test::SendCommand(main_->Handle(), cmFindId);
    EXPECT_EQ(F().Handle(), find);
    EXPECT_TRUE(IsWindowVisible(find));
}

TEST_F(FindWindow, FindsTheHelpersFileAndLibraryWithoutRegardToCase) { ExpectHelpersFileAndLibrary(); }

// On NT 4 the modules come from the process-status library and the handles
// from the classic handle table.
class Nt40FindWindow : public FindWindow {};

TEST_F(Nt40FindWindow, FindsTheHelpersFileAndLibraryWithoutRegardToCase) { ExpectHelpersFileAndLibrary(); }

TEST_F(FindWindow, FindsALibraryByItsBaseNameWhereItsPathIsUnknown) { ExpectLibraryByBaseNameAlone(); }

TEST_F(Nt40FindWindow, FindsALibraryByItsBaseNameWhereItsPathIsUnknown) { ExpectLibraryByBaseNameAlone(); }

// With UTF-8 as the active code page (the programs' manifest; the UTF-8
// build of the tests) the same library is found by its base name with its
// exact path, which names the file.
class Utf8FindWindow : public FindWindow {};

TEST_F(Utf8FindWindow, FindsALibraryByItsBaseNameWithItsExactPath) {
    TWideFolder folder;
    orvex::test::THelperProcess wide("--no-window --wide-module");
    ASSERT_TRUE(wide.started());
    folder.Set(wide.value("widefolder"));
    main_->RefreshView(false);
    const auto rows = Find("ORVEX_WIDE_module");
    const int row = DllRowOf(rows, wide.pid());
    ASSERT_GE(row, 0) << "not found by its base name";
    const std::string& path = rows[static_cast<std::size_t>(row)][orvex::FindNameColumn];
    // The helper reports its folder in UTF-8.
    EXPECT_TRUE(SamePath(path, wide.value("widefolder") + "\\orvex_wide_module.dll")) << path;
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
}

// A named object by its name: the helper's mutex.
TEST_F(FindWindow, FindsAHandleByItsObjectName) {
    const std::string name = helper_.value("mutexname");
    ASSERT_FALSE(name.empty());
    const auto rows = Find(Lower(name));
    const std::string value = orvex::FormatHex0x(helper_.hex("mutex"));
    int row = -1;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i][orvex::FindPidColumn] == std::to_string(helper_.pid()) && rows[i][orvex::FindHandleColumn] == value)
            row = static_cast<int>(i);
    ASSERT_GE(row, 0) << "the helper's mutex " << value << " was not found";
    const auto& hit = rows[static_cast<std::size_t>(row)];
    EXPECT_EQ(hit[orvex::FindTypeColumn], "Mutant");
    const std::string& objectName = hit[orvex::FindNameColumn];
    ASSERT_GE(objectName.size(), name.size() + 1);
    EXPECT_EQ(objectName.substr(objectName.size() - name.size() - 1), "\\" + name);
}

// The filter narrows the results to the rows whose cells hold its text
// (here the helper's process id), the status line says how many of how many,
// Enter on a filtered row opens that row's process, and Esc brings every
// result back.
TEST_F(FindWindow, FilterNarrowsTheResults) {
    const auto all = Find(".dll");
    ASSERT_GT(all.size(), 2u);
    F().cmFilter();
    ASSERT_TRUE(IsWindowVisible(F().FilterEdit()));
    const std::string pid = std::to_string(helper_.pid());
    SetWindowTextA(F().FilterEdit(), pid.c_str());
    const auto rows = orvex::test::ListRows(F().FindList());
    ASSERT_FALSE(rows.empty());
    EXPECT_LT(rows.size(), all.size());
    for (const auto& row : rows) {
        bool holds = false;
        for (const std::string& cell : row) holds = holds || cell.find(pid) != std::string::npos;
        EXPECT_TRUE(holds) << row[orvex::FindNameColumn];
    }
    EXPECT_EQ(WindowText(F().FindStatus()), orvex::FindCountText(all.size()) + "; Shown: " +
                                                std::to_string(rows.size()) + " of " + std::to_string(all.size()));
    const int helperRow = DllRowOf(rows, helper_.pid());
    ASSERT_GE(helperRow, 0);
    const TOpened opened = OpenResult(F().FindList(), helperRow, orvex::IdPrcModList, orvex::ModuleBaseColumn);
    EXPECT_EQ(opened.SelectedCell, rows[static_cast<std::size_t>(helperRow)][orvex::FindHandleColumn])
        << "the filtered row's own process and module";

    orvex::test::PostKey(F().FilterEdit(), VK_ESCAPE);
    ASSERT_TRUE(orvex::test::PumpUntil([&] { return !IsWindowVisible(F().FilterEdit()); }, 5000));
    EXPECT_EQ(orvex::test::ListRows(F().FindList()).size(), all.size());
    EXPECT_EQ(WindowText(F().FindStatus()), orvex::FindCountText(all.size()));
}

TEST_F(FindWindow, ResultsSortByAColumnClick) {
    Find(".dll");
    ASSERT_GT(orvex::test::ListRows(F().FindList()).size(), 2u);
    orvex::test::ClickColumnHeader(F().FindList(), orvex::FindNameColumn);
    const auto names = orvex::test::ListColumn(F().FindList(), orvex::FindNameColumn);
    auto lower = names;
    for (auto& n : lower) n = Lower(n);
    const bool ascending = std::is_sorted(lower.begin(), lower.end());
    const bool descending = std::is_sorted(lower.rbegin(), lower.rend());
    EXPECT_TRUE(ascending || descending);
    EXPECT_NE(lower.front(), lower.back());
}

TEST_F(FindWindow, DoubleClickOpensTheDetailsOnTheMatchingRow) {
    const std::string module = helper_.value("module");
    Find("orvex_test_module");
    const int dll = HelperRow("DLL", module);
    ASSERT_GE(dll, 0);
    const TOpened onModule = OpenResult(F().FindList(), dll, orvex::IdPrcModList, 4);
    EXPECT_EQ(onModule.Owner, F().Handle());
    EXPECT_EQ(onModule.Name, "orvex_test_helper.exe");
    EXPECT_EQ(onModule.Page.find(" Modules"), 0u) << onModule.Page;
    EXPECT_TRUE(SamePath(onModule.SelectedCell, module)) << onModule.SelectedCell;

    const std::string exe = helper_.value("exe");
    Find(exe.substr(exe.find_last_of('\\') + 1));
    const int file = HelperRow("File", exe);
    ASSERT_GE(file, 0);
    const TOpened onHandle = OpenResult(F().FindList(), file, orvex::IdPrcHList, 0);
    EXPECT_EQ(onHandle.Page.find(" Handles"), 0u) << onHandle.Page;
    EXPECT_EQ(onHandle.SelectedCell, orvex::FormatHex0x(helper_.hex("file")));
}

}  // namespace
