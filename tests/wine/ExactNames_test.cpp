// Names outside the code page and double-byte names, exactly: the console
// tool (whose manifest asks for UTF-8 as its active code page) run from a
// folder named in Cyrillic and CJK; and, in the "cp932" mode (this program
// under LC_ALL=ja_JP.UTF-8, code page 932), files written into folders whose
// double-byte names end in a trail byte 0x5C.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/Main.h"
#include "app/MainLayout.h"
#include "app/PrcDetailsLayout.h"
#include "engine/OXI_ImagePath.h"
#include "engine/OXI_Inventory.h"
#include "engine/OXI_Processes.h"
#include "engine/OXI_Report.h"
#include "engine/pure/OXI_InventoryDiff.h"
#include "platform/Orvex_FileWrite.h"
#include "platform/pure/Orvex_CodePageRule.h"
#include "platform/pure/Orvex_TextCase.h"
#include "tests/JsonReader.h"
#include "tests/wine/DetailsProbe.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/HelperProcess.h"
#include "tests/wine/support/TestMode.h"
#include "tests/wine/support/ToolRun.h"

using namespace orvex;
using namespace orvex::test;
using orvex::test::TDialogProbe;

namespace {

std::wstring WideOf(const std::string& s) {
    std::wstring out(s.size() + 1, L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), static_cast<int>(s.size()), out.data(),
                                      static_cast<int>(out.size()));
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

std::string Utf8Of(const std::wstring& s) {
    std::string out(s.size() * 3 + 1, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), out.data(),
                                      static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

// A folder named in Cyrillic and CJK (outside code page 1252 and 932 alike),
// removed with its files.
class TUnicodeFolder {
public:
    TUnicodeFolder() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        outer_ = std::wstring(temp) + L"oxnames" + std::to_wstring(GetCurrentProcessId());
        path_ = outer_ + L"\\\u041f\u0440\u043e\u0433\u0440 \u8868\u30bd\\";
        CreateDirectoryW(outer_.c_str(), nullptr);
        if (!CreateDirectoryW(path_.c_str(), nullptr)) path_.clear();
    }
    ~TUnicodeFolder() {
        if (!path_.empty()) {
            WIN32_FIND_DATAW data{};
            const HANDLE find = FindFirstFileW((path_ + L"*").c_str(), &data);
            if (find != INVALID_HANDLE_VALUE) {
                do DeleteFileW((path_ + data.cFileName).c_str());
                while (FindNextFileW(find, &data));
                FindClose(find);
            }
            RemoveDirectoryW(path_.c_str());
        }
        RemoveDirectoryW(outer_.c_str());
    }
    TUnicodeFolder(const TUnicodeFolder&) = delete;
    TUnicodeFolder& operator=(const TUnicodeFolder&) = delete;

    const std::wstring& path() const { return path_; }

private:
    std::wstring outer_, path_;
};

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

const TJson* ProcessOf(const TJson& doc, DWORD pid) {
    for (const TJson& p : doc["processes"].Items)
        if (p["pid"].Text == std::to_string(pid)) return &p;
    return nullptr;
}

}  // namespace

// A process with modules, as the component lists it.
bool FindProcessRecord(const TOrvex_ProcessList& component, DWORD pid, TProcessInfo& found) {
    for (int i = 0; i < component.ProcessCount(); ++i) {
        component.GetProcess(static_cast<std::uint32_t>(i), found);
        if (found.PID == pid) return true;
    }
    return false;
}

// Refreshes component's processes: process pid has path as its image path
// and among its modules.
void ExpectExactPath(TOrvex_ProcessList& component, DWORD pid, const std::string& path) {
    component.DetectionRange = TDetectionRange{dtProcesses};
    component.RefreshData();
    TProcessInfo p;
    ASSERT_TRUE(FindProcessRecord(component, pid, p));
    EXPECT_EQ(p.ImageName.str(), path);
    EXPECT_TRUE(SameText(p.Name.str(), ExecutableFileName(path))) << p.Name.str();
    bool module = false;
    for (const TModuleInfo& m : p.Modules) module = module || m.ImageName.str() == path;
    EXPECT_TRUE(module) << path;
}

// "orvexinv collect --json" run from C:\...\Прогр 表ソ\ lists its own
// process with its exact path and module; its reports keep the path, and the
// comparison of two reports names it exactly.
TEST(ExactNames, ConsoleToolFromAFolderOutsideTheCodePage) {
    const TUnicodeFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const std::wstring tool = folder.path() + L"orvexinv.exe";
    ASSERT_TRUE(CopyFileW(WideOf(ExeDir() + "..\\..\\console\\orvexinv.exe").c_str(), tool.c_str(), FALSE));
    const std::string toolUtf8 = Utf8Of(tool);

    const TToolRun collect = RunProgram(tool, L"collect --json");
    ASSERT_EQ(collect.ExitCode, 0u) << collect.Err;
    const TJson doc = ParseJson(collect.Out);
    const TJson* self = ProcessOf(doc, collect.Pid);
    ASSERT_NE(self, nullptr) << "pid " << collect.Pid;
    EXPECT_EQ((*self)["imageName"].Text, toolUtf8);
    bool module = false;
    for (const TJson& m : (*self)["modules"].Items) module = module || m["imageName"].Text == toolUtf8;
    EXPECT_TRUE(module) << "no module " << toolUtf8;

    const std::wstring first = folder.path() + L"report \u8868 1.ivs";
    const std::wstring second = folder.path() + L"report \u8868 2.ivs";
    const TToolRun save1 = RunProgram(tool, L"save " + Quoted(first));
    const TToolRun save2 = RunProgram(tool, L"save " + Quoted(second));
    ASSERT_EQ(save1.ExitCode, 0u) << save1.Err;
    ASSERT_EQ(save2.ExitCode, 0u) << save2.Err;
    const TToolRun shown = RunProgram(tool, L"show " + Quoted(first) + L" --json");
    ASSERT_EQ(shown.ExitCode, 0u) << shown.Err;
    const TJson savedDoc = ParseJson(shown.Out);
    const TJson* saved = ProcessOf(savedDoc, save1.Pid);
    ASSERT_NE(saved, nullptr) << "pid " << save1.Pid;
    EXPECT_EQ((*saved)["imageName"].Text, toolUtf8);

    // Each report holds the tool that saved it: one removed, one added.
    const TToolRun diff = RunProgram(tool, L"diff " + Quoted(first) + L" " + Quoted(second) + L" --json");
    EXPECT_EQ(diff.ExitCode, 1u) << diff.Err;
    int removed = 0, added = 0;
    const TJson differences = ParseJson(diff.Out);
    for (const TJson& row : differences["differences"].Items) {
        if (row["key"].Text.rfind(toolUtf8 + " (PID ", 0) != 0) continue;
        removed += row["change"].Text == "removed" ? 1 : 0;
        added += row["change"].Text == "added" ? 1 : 0;
    }
    EXPECT_EQ(removed, 1) << diff.Out.substr(0, 2000);
    EXPECT_EQ(added, 1);
}

TEST(Cp932Names, ThisProgramRunsInCodePage932) {
    EXPECT_EQ(GetACP(), 932u) << "the cp932 mode runs under LC_ALL=ja_JP.UTF-8";
    EXPECT_NE(ProcessCodePageRule().IsLeadByte, nullptr);
    EXPECT_FALSE(ProcessCodePageRule().Utf8);
}

// 表 (0x95 0x5C), ソ (0x83 0x5C) and 能 (0x94 0x5C) end in a byte that is a
// backslash in ASCII: a file written through a temporary file beside it (the
// exports, the console's save) and a report go into such a folder.
TEST(Cp932Names, FilesGoIntoFoldersWhoseNamesEndInTrailBackslashes) {
    char temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    const std::string outer = std::string(temp) + "ox932_" + std::to_string(GetCurrentProcessId());
    const std::string folder = outer + "\\\x95\x5C\x83\x5C";
    ASSERT_TRUE(CreateDirectoryA(outer.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << GetLastError();
    struct TRemove {
        std::string Outer, Folder;
        ~TRemove() {
            for (const std::string& name : FolderEntries(Folder + "\\")) DeleteFileA((Folder + "\\" + name).c_str());
            RemoveDirectoryA(Folder.c_str());
            RemoveDirectoryA(Outer.c_str());
        }
    } remove{outer, folder};

    const std::string csv = folder + "\\\x94\x5C\x95\x5C.csv";
    ASSERT_EQ(WriteWholeFile(csv, "a,b\r\n"), 0u);
    {
        std::ifstream in(csv, std::ios::binary);
        const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(written, "a,b\r\n");
    }
    // Written again over itself: the old file is moved aside and dropped.
    ASSERT_EQ(WriteWholeFile(csv, "c\r\n"), 0u);

    const std::string report = folder + "\\\x94\x5C\x95\x5C.ivs";
    {
        TOrvex_ProcessList component;
        component.DetectionRange = TDetectionRange{dtProcesses, dtServices};
        component.RefreshData();
        component.SaveToStorage(report);
    }
    ASSERT_TRUE(IsInventoryReport(report));
    TOrvex_ProcessList loaded;
    loaded.LoadFromStorage(report);
    EXPECT_GT(loaded.ProcessCount(), 0);

    // The console tool's save, which writes through a temporary file too.
    const std::string saved = folder + "\\\x95\x5C\x83\x5C.ivs";
    const TToolRun save = RunProgram(ExeDir() + "..\\..\\console\\orvexinv.exe", "save " + Quoted(saved));
    EXPECT_EQ(save.ExitCode, 0u) << save.Err;
    EXPECT_TRUE(IsInventoryReport(saved));
    EXPECT_EQ(FolderEntries(folder + "\\"),
              (std::vector<std::string>{"\x94\x5C\x95\x5C.csv", "\x94\x5C\x95\x5C.ivs", "\x95\x5C\x83\x5C.ivs"}));
}

// The programs run with UTF-8 as their active code page (this test program's
// manifest asks for it as theirs do): a helper started from a folder named in
// Cyrillic and CJK keeps its exact path in the records, a report read back
// and the comparison of two inventories.
TEST(Utf8Names, ThisProgramRunsInUtf8) {
    EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
    EXPECT_TRUE(ProcessCodePageRule().Utf8);
}

TEST(Utf8Names, AHelperFromAFolderOutsideTheCodePageKeepsItsExactPath) {
    const TUnicodeFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const std::wstring helperW = folder.path() + L"orvex_test_helper.exe";
    ASSERT_TRUE(CopyFileW(WideOf(ExeDir() + "orvex_test_helper.exe").c_str(), helperW.c_str(), FALSE));
    const std::string helperPath = Utf8Of(helperW);  // the ANSI text of this code page
    THelperProcess helper("--no-window", helperPath);
    ASSERT_TRUE(helper.started());

    TOrvex_ProcessList component;
    ASSERT_NO_FATAL_FAILURE(ExpectExactPath(component, helper.pid(), helperPath));

    // The main list's row, and the details it opens, show the exact path.
    {
        app::Twnd_Main window(nullptr, false);
        const int row = FindListRow(window.PrcList(), 1, std::to_string(helper.pid()));
        ASSERT_GE(row, 0);
        EXPECT_EQ(ListRow(window.PrcList(), row)[0], "orvex_test_helper.exe");
        SelectListRow(window.PrcList(), row);
        std::vector<std::vector<std::string>> general;
        TDialogProbe probe("Process Details", [&](HWND d) { general = ListRows(GetDlgItem(d, IdPrcGenList)); });
        SendCommand(window.Handle(), app::cmPrcDetailsId);
        EXPECT_TRUE(probe.Finish());
        bool shown = false;
        for (const auto& cells : general)
            for (const std::string& cell : cells) shown = shown || cell == helperPath;
        EXPECT_TRUE(shown) << "the general page holds no cell " << helperPath;
    }

    // A report of this refresh, read back, and compared with a refresh
    // after the helper ended: one removed process, named exactly.
    const std::string report = Utf8Of(folder.path() + L"report \u8868.ivs");
    component.SaveToStorage(report);
    TOrvex_ProcessList loaded;
    ASSERT_TRUE(IsInventoryReport(report));
    loaded.LoadFromStorage(report);
    TProcessInfo saved;
    ASSERT_TRUE(FindProcessRecord(loaded, helper.pid(), saved));
    EXPECT_EQ(saved.ImageName.str(), helperPath);
    const TInventory before = InventoryOf(loaded);
    const DWORD pid = helper.pid();
    ASSERT_TRUE(TerminateProcess(helper.process(), 0));
    ASSERT_TRUE(helper.waitForExit(10'000));
    TOrvex_ProcessList after;
    after.DetectionRange = TDetectionRange{dtProcesses};
    after.RefreshData();
    const std::vector<TDiffRow> rows = CompareInventories(before, InventoryOf(after));
    int named = 0;
    for (const TDiffRow& r : rows)
        named += r.Kind == TDiffKind::Process && r.Change == TDiffChange::Removed &&
                         r.Key == helperPath + " (PID " + std::to_string(pid) + ")"
                     ? 1
                     : 0;
    EXPECT_EQ(named, 1);
}

// A path of nearly MAX_PATH characters, each three bytes in UTF-8: more bytes
// than an ANSI module entry or a MAX_PATH buffer holds, kept whole.
TEST(Utf8Names, AHelperWithTheLongestPathKeepsItWhole) {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring outer = std::wstring(temp) + L"oxlong" + std::to_wstring(GetCurrentProcessId());
    std::wstring folder = outer + L"\\";
    while (folder.size() < 247) folder += L'\u8868';  // a folder's name may have 247 characters
    const std::wstring exe = folder + L"\\h.exe";
    ASSERT_LT(exe.size(), static_cast<std::size_t>(MAX_PATH));
    ASSERT_TRUE(CreateDirectoryW(outer.c_str(), nullptr));
    const bool made = CreateDirectoryW(folder.c_str(), nullptr) != 0;
    struct TRemove {
        std::wstring Outer, Folder, Exe;
        ~TRemove() {
            DeleteFileW(Exe.c_str());
            RemoveDirectoryW(Folder.c_str());
            RemoveDirectoryW(Outer.c_str());
        }
    } remove{outer, folder, exe};
    ASSERT_TRUE(made) << GetLastError();
    ASSERT_TRUE(CopyFileW(WideOf(ExeDir() + "orvex_test_helper.exe").c_str(), exe.c_str(), FALSE));
    const std::string path = Utf8Of(exe);
    ASSERT_GT(path.size(), 3u * MAX_PATH / 2);  // far beyond an ANSI entry's MAX_PATH bytes
    {
        THelperProcess helper("--no-window", path);
        ASSERT_TRUE(helper.started());
        TOrvex_ProcessList component;
        ASSERT_NO_FATAL_FAILURE(ExpectExactPath(component, helper.pid(), path));
        ASSERT_TRUE(TerminateProcess(helper.process(), 0));
        ASSERT_TRUE(helper.waitForExit(10'000));
    }
}
