// Saving over an existing report: the old report stays byte for byte until
// the new one is complete, a failure leaves no temporary file, and the new
// report keeps the old file's attributes.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "engine/OXI_Processes.h"
#include "engine/OXI_Report.h"
#include "engine/OXI_ReportSave.h"
#include "platform/Orvex_FileWrite.h"
#include "platform/Orvex_Resources.h"
#include "storage/Orvex_ComError.h"
#include "tests/wine/support/RaisedCode.h"
#include "tests/wine/support/ReportSamples.h"
#include "tests/wine/support/ToolRun.h"

namespace {

using namespace orvex;
using orvex::test::ReadWholeFile;
using orvex::test::TTempFolder;

// A component whose save writes part of the report and then raises, as a
// full disk or a dropped share does midway.
class THalfSavedList : public TOrvex_ProcessList {
public:
    void SaveToStorage(const std::string& fileName) override {
        TOrvex_OXIC_Component::SaveToStorage(fileName);
        RaiseComError(STG_E_MEDIUMFULL);
    }
};

class ReportSave : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder.path().empty());
        TOrvex_ProcessList old;
        test::AddSamples(old, 3, 2, 2);
        old.SaveToStorage(target);
        oldReport = ReadWholeFile(target);
        ASSERT_FALSE(oldReport.empty());
    }
    // The old report is there as it was, and nothing else is in its folder.
    void ExpectOldReportAlone() const {
        EXPECT_TRUE(ReadWholeFile(target) == oldReport) << "the old report changed";
        EXPECT_EQ(folder.Files(), std::vector<std::string>{"old.ivs"});
    }

    TTempFolder folder;
    std::string target = folder.path() + "old.ivs";
    std::string oldReport;
};

TEST_F(ReportSave, AFailedSaveLeavesTheOldReportAndNoTemporaryFile) {
    const struct {
        const char* what;
        std::function<HRESULT(const std::string& target)> save;
        HRESULT raised;
    } cases[] = {
        {"a list raises while being written",
         [](const std::string& name) {
             THalfSavedList list;
             test::AddSamples(list, 5, 1, 1);
             return test::RaisedCode([&] { SaveReportReplacing(list, name); });
         },
         STG_E_MEDIUMFULL},
        {"the old report is open without sharing",
         [](const std::string& name) {
             const THandle holder(
                 CreateFileA(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
             if (!holder) return E_UNEXPECTED;
             TOrvex_ProcessList list;
             test::AddSamples(list, 5, 1, 1);
             const HRESULT code = test::RaisedCode([&] { SaveReportReplacing(list, name); });
             return FAILED(code) ? E_FAIL : code;
         },
         E_FAIL},
        {"the report name is a folder",
         [](const std::string& name) {
             TOrvex_ProcessList list;
             return test::RaisedCode([&] { SaveReportReplacing(list, name.substr(0, name.rfind('\\'))); });
         },
         HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.save(target), c.raised) << c.what;
        ExpectOldReportAlone();
    }
}

TEST_F(ReportSave, TheNewReportTakesTheOldOnesPlaceAndAttributes) {
    constexpr DWORD Marked = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), Marked));
    TOrvex_ProcessList list;
    test::AddSamples(list, 7, 1, 1);
    SaveReportReplacing(list, target);
    EXPECT_EQ(GetFileAttributesA(target.c_str()) & Marked, Marked);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"old.ivs"});
    TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(target));
    EXPECT_EQ(loaded.ProcessCount(), 7u);
}

// The same routine writes the exported lists.
TEST_F(ReportSave, AWholeFileWriteKeepsAttributesAndRefusesAReadOnlyTarget) {
    const std::string csv = folder.path() + "list.csv";
    ASSERT_EQ(WriteWholeFile(csv, "a\r\n"), 0u);
    ASSERT_TRUE(SetFileAttributesA(csv.c_str(), FILE_ATTRIBUTE_HIDDEN));
    std::string keptAs;
    ASSERT_EQ(WriteWholeFile(csv, "b\r\n", &keptAs), 0u);
    EXPECT_EQ(ReadWholeFile(csv), "b\r\n");
    EXPECT_NE(GetFileAttributesA(csv.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_TRUE(keptAs.empty());
    ASSERT_TRUE(SetFileAttributesA(csv.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(WriteWholeFile(csv, "c\r\n", &keptAs), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadWholeFile(csv), "b\r\n");
    SetFileAttributesA(csv.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"list.csv", "old.ivs"}));
    EXPECT_EQ(KeptAsNote(""), "");
    EXPECT_EQ(KeptAsNote("C:\\r\\oxo1.tmp"), " The previous file is now C:\\r\\oxo1.tmp.");
}

}  // namespace
