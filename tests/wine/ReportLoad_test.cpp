// Loading reports: missing parts, numbering gaps, the result, files that are
// no reports, and values written by other writers.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "engine/OXI_Inventory.h"
#include "engine/OXI_Processes.h"
#include "engine/OXI_Report.h"
#include "storage/Orvex_ReportFile.h"
#include "storage/Orvex_SS.h"
#include "tests/wine/support/RaisedCode.h"
#include "tests/wine/support/ReportFileTest.h"

using namespace orvex;
using namespace orvex::test;

namespace {

// Saves a sample report with the given counts to Name.
void SaveSamples(const std::string& name, int processes, int drivers, int services) {
    TOrvex_ProcessList component;
    AddSamples(component, processes, drivers, services);
    component.SaveToStorage(name);
}

// An item storage of a list with a new 8-bit or UTF-16 item set; the set is
// destroyed before its storage.
struct TNewItem {
    TNewItem(TStructuredSTorage& list, const char* name, DWORD flags)
        : storage(list.OpenSubStorage(name, StorageWriteMode, true)),
          set(storage->CreatePropertySet({}, FMTID_DocSummaryInformation, CLSID_NULL, flags,
                                         STGM_CREATE | StorageWriteMode)) {}
    IPropertyStorage* ps() const { return set->PropertyStorage.get(); }
    std::unique_ptr<TStructuredSTorage> storage;
    std::unique_ptr<TStoragePropertySet> set;
};

}  // namespace

using ReportLoad = ReportFileTest;

TEST_F(ReportLoad, AMissingDriverListLeavesOnlyThatListEmpty) {
    SaveSamples(file.name(), 3, 2, 2);
    {
        auto root = OpenStorageFile(file.name(), StorageWriteMode);
        DestroyElement(*root, "DriverList");
    }
    TOrvex_ProcessList loaded;
    EXPECT_TRUE(loaded.LoadFromStorage(file.name()));
    EXPECT_EQ(loaded.ProcessCount(), 3);
    EXPECT_EQ(loaded.DriverCount(), 0);
    EXPECT_EQ(loaded.ServiceCount(), 2);
}

TEST_F(ReportLoad, AMissingNumberEndsItsList) {
    SaveSamples(file.name(), 4, 0, 0);
    {
        auto root = OpenStorageFile(file.name(), StorageWriteMode);
        auto list = root->OpenSubStorage("ProcessList", StorageWriteMode, false);
        DestroyElement(*list, "2");
    }
    TOrvex_ProcessList loaded;
    EXPECT_TRUE(loaded.LoadFromStorage(file.name()));
    ASSERT_EQ(loaded.ProcessCount(), 2) << "items 0, 1 and 3: two are read";
    TProcessInfo p;
    loaded.GetProcess(1, p);
    EXPECT_TRUE(SameStoredFields(p, SampleProcess(1)));
}

TEST_F(ReportLoad, AnItemWithoutItsSetEndsItsList) {
    SaveSamples(file.name(), 0, 0, 3);
    {
        auto root = OpenStorageFile(file.name(), StorageWriteMode);
        auto item = root->OpenSubStorage("ServiceList\\1", StorageWriteMode, false);
        ASSERT_EQ(item->Storage->DestroyElement(ItemSetStream), S_OK);
    }
    TOrvex_ProcessList loaded;
    EXPECT_TRUE(loaded.LoadFromStorage(file.name()));
    EXPECT_EQ(loaded.ServiceCount(), 1);
}

TEST_F(ReportLoad, TheResultTellsWhetherAnyListHeldAnItem) {
    SaveSamples(file.name(), 0, 1, 0);
    TOrvex_ProcessList loaded;
    EXPECT_TRUE(loaded.LoadFromStorage(file.name())) << "one driver, no processes, no services";
    EXPECT_EQ(loaded.DriverCount(), 1);

    SaveSamples(file.name(), 0, 0, 0);
    TOrvex_ProcessList empty;
    AddSamples(empty, 2, 2, 2);
    EXPECT_FALSE(empty.LoadFromStorage(file.name()));
    EXPECT_EQ(empty.ProcessCount() + empty.DriverCount() + empty.ServiceCount(), 0) << "the empty report replaced them";
    EXPECT_FALSE(empty.LiveData());
    EXPECT_EQ(empty.StorageInfo.Application, "Orvex Inventory Component Suite 10.2.0");
}

TEST_F(ReportLoad, AFileThatIsNoCompoundFileEmptiesTheListsAndKeepsTheDescription) {
    ASSERT_TRUE(file.write("Name,PID\r\nexplorer.exe,1234\r\n"));
    TOrvex_ProcessList component;
    AddSamples(component, 3, 3, 3);
    component.StorageInfo.Machine = "EARLIER";
    EXPECT_TRUE(component.LiveData());
    EXPECT_FALSE(component.LoadFromStorage(file.name()));
    EXPECT_EQ(component.ProcessCount(), 0);
    EXPECT_EQ(component.DriverCount(), 0);
    EXPECT_EQ(component.ServiceCount(), 0);
    EXPECT_FALSE(component.LiveData());
    EXPECT_EQ(component.StorageFileName, file.name());
    EXPECT_EQ(component.StorageInfo.Machine, "EARLIER");

    ASSERT_TRUE(file.remove());
    TOrvex_ProcessList missing;
    AddSamples(missing, 1, 0, 0);
    EXPECT_FALSE(missing.LoadFromStorage(file.name())) << "a missing file";
    EXPECT_EQ(missing.ProcessCount(), 0);
    EXPECT_EQ(missing.StorageFileName, file.name());
}

TEST_F(ReportLoad, AnyCompoundFileIsAcceptedAndReadsEmpty) {
    {
        auto root = CreateStorageFile(file.name(), STGM_CREATE | StorageWriteMode);
        WriteStream(*root, L"WordDocument", "text");
    }
    TOrvex_ProcessList component;
    AddSamples(component, 2, 0, 0);
    component.StorageInfo.Machine = "EARLIER";
    EXPECT_FALSE(component.LoadFromStorage(file.name()));
    EXPECT_EQ(component.ProcessCount(), 0);
    EXPECT_EQ(component.StorageInfo.Machine, "") << "no header set: every value empty";
    EXPECT_EQ(component.StorageInfo.Platform, 0);
    EXPECT_FALSE(component.LiveData());
}

TEST_F(ReportLoad, TheBaseComponentReadsTheHeaderOnly) {
    SaveSamples(file.name(), 2, 0, 0);
    TOrvex_OXIC_Component base;
    EXPECT_TRUE(base.LoadFromStorage(file.name()));
    EXPECT_FALSE(base.LiveData());
    EXPECT_EQ(base.StorageInfo.Application, "Orvex Inventory Component Suite 10.2.0");
    ASSERT_TRUE(file.write("plain"));
    base.StorageInfo.Machine = "KEPT";
    EXPECT_FALSE(base.LoadFromStorage(file.name()));
    EXPECT_EQ(base.StorageInfo.Machine, "KEPT");
}

TEST_F(ReportLoad, ServicePackComesFromCSDVersionAndOtherwiseFromCSD) {
    SaveSamples(file.name(), 0, 0, 0);
    {
        auto root = OpenStorageFile(file.name(), StorageWriteMode);
        auto set = root->OpenPropertySet(FMTID_SummaryInformation, StorageWriteMode, false);
        WriteStrProp(set->PropertyStorage.get(), "OS.CSD", "Service Pack 2");
    }
    TOrvex_OXIC_Component a;
    a.LoadFromStorage(file.name());
    EXPECT_EQ(a.StorageInfo.CSDVersion, "Service Pack 2");
    {
        auto root = OpenStorageFile(file.name(), StorageWriteMode);
        auto set = root->OpenPropertySet(FMTID_SummaryInformation, StorageWriteMode, false);
        WriteStrProp(set->PropertyStorage.get(), "OS.CSDVersion", "Service Pack 6a");
    }
    TOrvex_OXIC_Component b;
    b.LoadFromStorage(file.name());
    EXPECT_EQ(b.StorageInfo.CSDVersion, "Service Pack 6a");
}

TEST_F(ReportLoad, SetsInAFormTheWriterNeverMakesAreRefused) {
    // 8-bit texts in an 8-bit set, and another writer's UTF-16 set with the
    // report's own types: the writer makes neither, and the reader hands
    // neither to the platform.
    const auto refused = [&](const char* what, auto fill) {
        {
            auto root = CreateStorageFile(file.name(), STGM_CREATE | StorageWriteMode);
            auto list = root->OpenSubStorage("ProcessList", StorageWriteMode, true);
            {
                TNewItem item(*list, "0", PROPSETFLAG_ANSI);
                ASSERT_EQ(WriteRaw(item.ps(), L"PID", I8Value(77)), S_OK);
            }
            fill(*list);
        }
        TOrvex_ProcessList component;
        AddSamples(component, 2, 1, 0);
        EXPECT_EQ(RaisedCode([&] { component.LoadFromStorage(file.name()); }), STG_E_DOCFILECORRUPT) << what;
        EXPECT_EQ(component.ProcessCount(), 2) << what;
        EXPECT_EQ(component.DriverCount(), 1) << what;
        EXPECT_TRUE(component.LiveData()) << what;
    };
    refused("8-bit text", [](TStructuredSTorage& list) {
        TNewItem item(list, "1", PROPSETFLAG_ANSI);
        std::string name = "ansi.exe";
        ASSERT_EQ(WriteRaw(item.ps(), L"Name", AnsiValue(name)), S_OK);
    });
    refused("UTF-16 set", [](TStructuredSTorage& list) {
        // Names of even length only: Wine misplaces the ones after an
        // odd-length name there.
        TNewItem item(list, "1", 0);
        std::wstring name = L"wide.exe";
        ASSERT_EQ(WriteRaw(item.ps(), L"Name", WideValue(name)), S_OK);
        ASSERT_EQ(WriteRaw(item.ps(), L"Priority", I8Value(13)), S_OK);
    });
    // The same item in the writer's form is read.
    {
        auto root = CreateStorageFile(file.name(), STGM_CREATE | StorageWriteMode);
        auto list = root->OpenSubStorage("ProcessList", StorageWriteMode, true);
        TNewItem item(*list, "0", PROPSETFLAG_ANSI);
        std::wstring name = L"wide.exe";
        ASSERT_EQ(WriteRaw(item.ps(), L"Name", WideValue(name)), S_OK);
        ASSERT_EQ(WriteRaw(item.ps(), L"Priority", I8Value(13)), S_OK);
    }
    TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(file.name()));
    ASSERT_EQ(loaded.ProcessCount(), 1);
    TProcessInfo p;
    loaded.GetProcess(0, p);
    EXPECT_EQ(p.Name, "wide.exe");
    EXPECT_EQ(p.Priority, 13);
    EXPECT_EQ(p.PID, 0u) << "missing: 0";
    EXPECT_EQ(p.ImageName, "") << "missing: empty";
}

TEST_F(ReportLoad, IsInventoryReportTellsReportsFromOtherFilesWithoutRaising) {
    SaveSamples(file.name(), 2, 1, 1);
    EXPECT_TRUE(IsInventoryReport(file.name()));
    {
        // The lists gone, the header left: still a report (the base
        // component writes no more).
        auto root = OpenStorageFile(file.name(), StorageWriteMode);
        for (const char* list : {"ProcessList", "DriverList", "ServiceList"}) DestroyElement(*root, list);
    }
    EXPECT_TRUE(IsInventoryReport(file.name()));
    {
        TOrvex_OXIC_Component base;
        ASSERT_TRUE(file.remove());
        base.SaveToStorage(file.name());
    }
    EXPECT_TRUE(IsInventoryReport(file.name())) << "the header alone";
    {
        // A list alone, without the header.
        auto root = CreateStorageFile(file.name(), STGM_CREATE | StorageWriteMode);
        root->OpenSubStorage("DriverList", StorageWriteMode, true);
    }
    EXPECT_TRUE(IsInventoryReport(file.name())) << "an empty list alone";

    // Not reports: none of these raises.
    {
        auto root = CreateStorageFile(file.name(), STGM_CREATE | StorageWriteMode);
        WriteStream(*root, L"WordDocument", "text");
        auto set = root->CreatePropertySet({}, FMTID_SummaryInformation, CLSID_NULL, PROPSETFLAG_ANSI,
                                           STGM_CREATE | StorageWriteMode);
        WriteStrPropID(set->PropertyStorage.get(), 2, "A letter");
    }
    EXPECT_FALSE(IsInventoryReport(file.name())) << "another program's compound file with a summary";
    { CreateStorageFile(file.name(), STGM_CREATE | StorageWriteMode); }
    EXPECT_FALSE(IsInventoryReport(file.name())) << "an empty compound file";
    ASSERT_TRUE(file.write("plain text, no compound file"));
    EXPECT_FALSE(IsInventoryReport(file.name()));
    ASSERT_TRUE(file.write(""));
    EXPECT_FALSE(IsInventoryReport(file.name())) << "an empty file";
    ASSERT_TRUE(file.remove());
    EXPECT_FALSE(IsInventoryReport(file.name())) << "a missing file";

    // A damaged report is a report that cannot be read: that raises, as the
    // load would, rather than pass for "not a report".
    SaveSamples(file.name(), 2, 1, 1);
    const std::string whole = ReadWholeFile(file.name());
    ASSERT_TRUE(file.write(whole.substr(0, whole.size() / 2)));
    EXPECT_EQ(RaisedCode([&] { IsInventoryReport(file.name()); }), STG_E_DOCFILECORRUPT);
}

// The single reader: one read of the file checks it and takes its header
// and lists; a file that is no report is named so, a failure raises with
// its code, and either way the component keeps what it held.
TEST_F(ReportLoad, OneReadChecksAndTakesTheReport) {
    SaveSamples(file.name(), 3, 2, 1);
    TOrvex_ProcessList component;
    const std::uint64_t reads = ReportReadsSoFar();
    component.LoadReport(file.name());
    EXPECT_EQ(ReportReadsSoFar() - reads, 1u) << "one read of the file";
    EXPECT_EQ(component.ProcessCount(), 3);
    EXPECT_EQ(component.DriverCount(), 2);
    EXPECT_EQ(component.ServiceCount(), 1);
    EXPECT_EQ(component.StorageFileName, file.name());
    EXPECT_FALSE(component.LiveData());
    EXPECT_EQ(component.StorageInfo.Machine, DescribeThisSystem().Machine);
    // what the three callers did before: a check and a load, a read each
    TOrvex_ProcessList checked;
    const std::uint64_t before = ReportReadsSoFar();
    ASSERT_TRUE(IsInventoryReport(file.name()));
    ASSERT_TRUE(checked.LoadFromStorage(file.name()));
    EXPECT_EQ(ReportReadsSoFar() - before, 2u);
    const std::string whole = ReadWholeFile(file.name());

    TTempFile other;
    ASSERT_TRUE(other.valid());
    char folder[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
    const struct {
        const char* Label;
        std::function<std::string()> Make;  // the file's name
        HRESULT Code;                       // S_OK: no report
    } cases[] = {
        {"another program's compound file",
         [&] {
             auto root = CreateStorageFile(other.name(), STGM_CREATE | StorageWriteMode);
             WriteStream(*root, L"WordDocument", "text");
             return other.name();
         },
         S_OK},
        {"an empty compound file",
         [&] {
             CreateStorageFile(other.name(), STGM_CREATE | StorageWriteMode);
             return other.name();
         },
         S_OK},
        {"a plain file", [&] { return other.write("plain text") ? other.name() : std::string(); }, S_OK},
        {"a folder", [&] { return std::string(folder); }, S_OK},
        {"a missing file", [&] { return other.remove() ? other.name() : std::string(); },
         HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
        {"a damaged report",
         [&] { return other.write(whole.substr(0, whole.size() / 2)) ? other.name() : std::string(); },
         STG_E_DOCFILECORRUPT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Label);
        const std::string name = c.Make();
        ASSERT_FALSE(name.empty());
        const std::uint64_t start = ReportReadsSoFar();
        bool notAReport = false;
        const HRESULT code = RaisedCode([&] {
            try {
                component.LoadReport(name);
            } catch (const TNotAReport& e) {
                notAReport = true;
                EXPECT_STREQ(e.what(), "not an inventory report");
            }
        });
        EXPECT_EQ(code, c.Code);
        EXPECT_EQ(notAReport, c.Code == S_OK);
        EXPECT_LE(ReportReadsSoFar() - start, 1u);
        EXPECT_EQ(component.ProcessCount(), 3) << "the component keeps its report";
        EXPECT_EQ(component.StorageFileName, file.name());
    }
}
