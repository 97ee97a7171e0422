// The layout of saved reports: the lists and their items, saving again,
// saving over other files.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "engine/OXI_Processes.h"
#include "engine/OXI_Report.h"
#include "platform/Orvex_UserNames.h"
#include "storage/Orvex_SS.h"
#include "tests/wine/support/ReportFileTest.h"

using namespace orvex;
using namespace orvex::test;

namespace {

using Names = std::set<std::string>;

Names Numbers(int count) {
    Names n;
    for (int i = 0; i < count; ++i) n.insert(std::to_string(i));
    return n;
}

}  // namespace

using ReportLayout = ReportFileTest;

TEST_F(ReportLayout, ListsOfKindsNotCollectedAreWrittenEmpty) {
    TOrvex_ProcessList component;
    AddSamples(component, 3, 0, 0);
    component.SaveToStorage(file.name());

    auto root = OpenStorageFile(file.name(), StorageReadMode);
    const Names top = ElementNames(*root);
    EXPECT_TRUE(top.count("ProcessList") && top.count("DriverList") && top.count("ServiceList"));
    EXPECT_EQ(ElementNames(*root->OpenSubStorage("ProcessList", StorageReadMode, false)), Numbers(3));
    EXPECT_EQ(ElementNames(*root->OpenSubStorage("DriverList", StorageReadMode, false)), Names{});
    EXPECT_EQ(ElementNames(*root->OpenSubStorage("ServiceList", StorageReadMode, false)), Names{});
    auto item = root->OpenSubStorage("ProcessList\\2", StorageReadMode, false);
    auto set = item->OpenPropertySet(FMTID_DocSummaryInformation, StorageReadMode, false);
    ASSERT_TRUE(set);
    EXPECT_EQ(ReadIntProp(set->PropertyStorage.get(), "PID"), SampleProcess(2).PID);
    EXPECT_EQ(ReadStrProp(set->PropertyStorage.get(), "Name"), SampleProcess(2).Name.str());
}

TEST_F(ReportLayout, ItemNamesAreUnpaddedDecimalsAndTenFollowsNine) {
    TOrvex_ProcessList component;
    AddSamples(component, 12, 0, 11);
    component.SaveToStorage(file.name());
    {
        auto root = OpenStorageFile(file.name(), StorageReadMode);
        EXPECT_EQ(ElementNames(*root->OpenSubStorage("ProcessList", StorageReadMode, false)), Numbers(12));
        EXPECT_EQ(ElementNames(*root->OpenSubStorage("ServiceList", StorageReadMode, false)), Numbers(11));
    }
    TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(file.name()));
    ASSERT_EQ(loaded.ProcessCount(), 12);
    ASSERT_EQ(loaded.ServiceCount(), 11);
    for (int i = 0; i < 12; ++i) {
        TProcessInfo p;
        loaded.GetProcess(static_cast<std::uint32_t>(i), p);
        EXPECT_TRUE(SameStoredFields(p, SampleProcess(i))) << i;
    }
    TServiceInfo s;
    loaded.GetService(10, s);
    EXPECT_EQ(s, SampleService(10));
}

TEST_F(ReportLayout, SavingAgainReplacesTheListsAndRewritesTheHeader) {
    {
        TOrvex_ProcessList first;
        AddSamples(first, 5, 3, 4);
        first.SaveToStorage(file.name());
    }
    {
        // Stale header values that the next save must overwrite.
        auto root = OpenStorageFile(file.name(), StorageWriteMode);
        auto set = root->OpenPropertySet(FMTID_SummaryInformation, StorageWriteMode, false);
        ASSERT_TRUE(set);
        WriteStrProp(set->PropertyStorage.get(), "OS.Account", "stale account");
        WriteStrPropID(set->PropertyStorage.get(), 2, "stale title");
    }
    TOrvex_ProcessList second;
    AddSamples(second, 2, 0, 1);
    second.SaveToStorage(file.name());
    {
        auto root = OpenStorageFile(file.name(), StorageReadMode);
        EXPECT_EQ(ElementNames(*root->OpenSubStorage("ProcessList", StorageReadMode, false)), Numbers(2));
        EXPECT_EQ(ElementNames(*root->OpenSubStorage("DriverList", StorageReadMode, false)), Names{});
        EXPECT_EQ(ElementNames(*root->OpenSubStorage("ServiceList", StorageReadMode, false)), Numbers(1));
        auto set = root->OpenPropertySet(FMTID_SummaryInformation, StorageReadMode, false);
        ASSERT_TRUE(set);
        EXPECT_EQ(ReadStrProp(set->PropertyStorage.get(), "OS.Account"), ReadUserName());
        EXPECT_EQ(ReadStrPropID(set->PropertyStorage.get(), 2), "Orvex Inventory Storage File");
    }
    TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(file.name()));
    EXPECT_EQ(loaded.ProcessCount(), 2);
    EXPECT_EQ(loaded.DriverCount(), 0);
    EXPECT_EQ(loaded.ServiceCount(), 1);
    EXPECT_EQ(loaded.StorageInfo.Account, ReadUserName());
}

TEST_F(ReportLayout, AnotherProgramsCompoundFileKeepsItsOtherElements) {
    {
        auto root = CreateStorageFile(file.name(), STGM_CREATE | StorageWriteMode);
        WriteStream(*root, L"WordDocument", "document body");
        auto pool = root->OpenSubStorage("ObjectPool", StorageWriteMode, true);
        WriteStream(*pool, L"Inner", "inner data");
        // A summary set as office programs write it: 8-bit code page.
        auto set = root->CreatePropertySet({}, FMTID_SummaryInformation, CLSID_NULL, PROPSETFLAG_ANSI,
                                           STGM_CREATE | StorageWriteMode);
        WriteStrPropID(set->PropertyStorage.get(), 2, "A letter");
        WriteStrPropID(set->PropertyStorage.get(), 6, "their comments");
    }
    TOrvex_ProcessList component;
    AddSamples(component, 2, 1, 1);
    component.SaveToStorage(file.name());

    {
        auto root = OpenStorageFile(file.name(), StorageReadMode);
        EXPECT_EQ(ReadStream(*root, L"WordDocument"), "document body");
        auto pool = root->OpenSubStorage("ObjectPool", StorageReadMode, false);
        EXPECT_EQ(ReadStream(*pool, L"Inner"), "inner data");
        auto set = root->OpenPropertySet(FMTID_SummaryInformation, StorageReadMode, false);
        ASSERT_TRUE(set);
        EXPECT_EQ(ReadStrPropID(set->PropertyStorage.get(), 6), "their comments");
        EXPECT_EQ(ReadStrPropID(set->PropertyStorage.get(), 2), "Orvex Inventory Storage File");
    }
    TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(file.name()));
    EXPECT_EQ(loaded.ProcessCount(), 2);
    EXPECT_EQ(loaded.DriverCount(), 1);
    EXPECT_EQ(loaded.ServiceCount(), 1);
    EXPECT_FALSE(loaded.StorageInfo.Account.empty());
}

TEST_F(ReportLayout, APlainFileIsReplacedByAReport) {
    ASSERT_TRUE(file.write("plain text that is no compound file\r\n"));
    TOrvex_ProcessList component;
    AddSamples(component, 1, 1, 1);
    component.SaveToStorage(file.name());
    EXPECT_TRUE(IsStorageFile(file.name()));
    TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(file.name()));
    EXPECT_EQ(loaded.ProcessCount(), 1);
}

TEST_F(ReportLayout, SignedValuesKeepTheirBitsAndReadBackUnchanged) {
    TOrvex_ProcessList component;
    TProcessInfo p = SampleProcess(0);
    p.Priority = -5;
    component.AddProcess(p);
    TServiceInfo s = SampleService(0);
    s.Status = -1;
    s.Startup = -2;
    component.AddService(s);
    component.SaveToStorage(file.name());
    {
        auto root = OpenStorageFile(file.name(), StorageReadMode);
        auto ps = root->OpenSubStorage("ProcessList\\0", StorageReadMode, false);
        auto pset = ps->OpenPropertySet(FMTID_DocSummaryInformation, StorageReadMode, false);
        ASSERT_TRUE(pset);
        // The priority is stored zero-extended, the service values sign-extended.
        EXPECT_EQ(ReadIntProp(pset->PropertyStorage.get(), "Priority"), 0xFFFFFFFBLL);
        auto ss = root->OpenSubStorage("ServiceList\\0", StorageReadMode, false);
        auto sset = ss->OpenPropertySet(FMTID_DocSummaryInformation, StorageReadMode, false);
        ASSERT_TRUE(sset);
        EXPECT_EQ(ReadIntProp(sset->PropertyStorage.get(), "Status"), -1);
        EXPECT_EQ(ReadIntProp(sset->PropertyStorage.get(), "Startup"), -2);
    }
    TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(file.name()));
    TProcessInfo q;
    loaded.GetProcess(0, q);
    EXPECT_EQ(q.Priority, -5);
    TServiceInfo t;
    loaded.GetService(0, t);
    EXPECT_EQ(t.Status, -1);
    EXPECT_EQ(t, s);
}

TEST_F(ReportLayout, PointerWideFieldsKeepEveryBit) {
    TOrvex_ProcessList component;
    TProcessInfo p = SampleProcess(0);
    TDriverInfo d = SampleDriver(0);
    if constexpr (sizeof(std::uintptr_t) == 8) {
        p.HeapID = static_cast<std::uintptr_t>(0x000001F2'3D450000ULL);
        d.Base = static_cast<std::uintptr_t>(0xFFFFF806'12340000ULL);
    } else {
        p.HeapID = static_cast<std::uintptr_t>(0x80150000u);
        d.Base = static_cast<std::uintptr_t>(0xF7A10000u);
    }
    d.Size = 0x1'0000'0000LL;
    component.AddProcess(p);
    component.AddDriver(d);
    component.SaveToStorage(file.name());
    TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(file.name()));
    TProcessInfo q;
    loaded.GetProcess(0, q);
    EXPECT_EQ(q.HeapID, p.HeapID);
    TDriverInfo e;
    loaded.GetDriver(0, e);
    EXPECT_EQ(e, d);
}

TEST_F(ReportLayout, AnotherProgramsSummaryOfOtherTypesRefusesTheSaveAndTheFileStaysAsItWas) {
    // Office programs keep 32-bit counts and 8-bit texts in their summary
    // set; the writer opens that set to write the header into it, and takes
    // no set that holds what it does not write itself.
    {
        auto root = CreateStorageFile(file.name(), STGM_CREATE | StorageWriteMode);
        WriteStream(*root, L"WordDocument", "document body");
        auto set = root->CreatePropertySet({}, FMTID_SummaryInformation, CLSID_NULL, PROPSETFLAG_ANSI,
                                           STGM_CREATE | StorageWriteMode);
        std::string title = "A letter";
        ASSERT_EQ(WriteRawId(set->PropertyStorage.get(), 2, AnsiValue(title)), S_OK);
        ASSERT_EQ(WriteRawId(set->PropertyStorage.get(), 14, I4Value(3)), S_OK);
    }
    const std::string before = ReadWholeFile(file.name());
    TOrvex_ProcessList component;
    AddSamples(component, 2, 1, 1);
    EXPECT_EQ(RaisedCode([&] { component.SaveToStorage(file.name()); }), STG_E_DOCFILECORRUPT);
    EXPECT_TRUE(ReadWholeFile(file.name()) == before) << "nothing written";
    EXPECT_FALSE(IsInventoryReport(file.name()));

    // A plain file of another program is replaced by a report.
    ASSERT_TRUE(file.write("plain text"));
    component.SaveToStorage(file.name());
    EXPECT_TRUE(IsInventoryReport(file.name()));
}
