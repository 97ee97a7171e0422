// Reports of a live inventory: save, load into a second component, compare.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "engine/OXI_Processes.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_Token.h"
#include "platform/Orvex_UserNames.h"
#include "platform/Orvex_VMProbes.h"
#include "platform/pure/Orvex_OSKind.h"
#include "platform/pure/Orvex_StrUtils.h"
#include "storage/Orvex_SS.h"
#include "tests/wine/support/ReportSamples.h"
#include "tests/wine/support/TempFile.h"

using namespace orvex;
using namespace orvex::test;

namespace {

TDateTime LocalNowForTest() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    FILETIME ft{};
    SystemTimeToFileTime(&st, &ft);
    return FileTimeToDateTime(ft);
}

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(file.valid()); }
    TComInit com;
    TTempFile file;
};

}  // namespace

using AllModesReport = ReportTest;

TEST_F(AllModesReport, LiveInventoryRoundTripsEveryStoredField) {
    TOrvex_ProcessList live;
    live.DetectionRange = TDetectionRange{dtProcesses, dtDrivers, dtServices, dtHandles, dtWindows};
    live.RefreshData();
    ASSERT_GT(live.ProcessCount(), 0);
    if (IsNT()) {
        ASSERT_GT(live.DriverCount(), 0);
        ASSERT_GT(live.ServiceCount(), 0);
    }

    const TDateTime before = LocalNowForTest();
    live.SaveToStorage(file.name());
    const TDateTime after = LocalNowForTest();

    TOrvex_ProcessList loaded;
    loaded.DetectionRange = TDetectionRange{dtProcesses};
    loaded.RefreshData();  // something to replace
    EXPECT_TRUE(loaded.LoadFromStorage(file.name()));
    EXPECT_FALSE(loaded.LiveData());
    EXPECT_EQ(loaded.StorageFileName, file.name());

    ASSERT_EQ(loaded.ProcessCount(), live.ProcessCount());
    for (int i = 0; i < live.ProcessCount(); ++i) {
        TProcessInfo a, b;
        live.GetProcess(static_cast<std::uint32_t>(i), a);
        loaded.GetProcess(static_cast<std::uint32_t>(i), b);
        EXPECT_TRUE(SameStoredFields(a, b)) << "process " << i << " " << a.Name.str() << " / " << b.Name.str();
        EXPECT_TRUE(b.Modules.empty() && b.Threads.empty() && b.Privileges.empty() && b.Groups.empty());
        EXPECT_EQ(b.VMCounters, TVMCounters{});
        EXPECT_EQ(b.IOCounters, TIOCounters{});
    }
    ASSERT_EQ(loaded.DriverCount(), live.DriverCount());
    for (int i = 0; i < live.DriverCount(); ++i) {
        TDriverInfo a, b;
        live.GetDriver(static_cast<std::uint32_t>(i), a);
        loaded.GetDriver(static_cast<std::uint32_t>(i), b);
        EXPECT_EQ(a, b) << "driver " << i << " " << a.Name.str();
    }
    ASSERT_EQ(loaded.ServiceCount(), live.ServiceCount());
    for (int i = 0; i < live.ServiceCount(); ++i) {
        TServiceInfo a, b;
        live.GetService(static_cast<std::uint32_t>(i), a);
        loaded.GetService(static_cast<std::uint32_t>(i), b);
        EXPECT_EQ(a, b) << "service " << i << " " << a.Name.str();
    }
    EXPECT_EQ(loaded.HandleCount(), 0);
    EXPECT_EQ(loaded.WindowCount(), 0);

    const TStorageInfoRecord& h = loaded.StorageInfo;
    EXPECT_EQ(h.Machine, MachineName());
    EXPECT_EQ(h.Application, "Orvex Inventory Component Suite 10.2.0");
    const std::string edition = EditionName(OSKind(), OSEdition(), OSSuite());
    EXPECT_EQ(h.OSName, edition.empty() ? OSName() : OSName() + " " + edition);
    EXPECT_EQ(h.Platform, static_cast<std::int32_t>(OSPlatform()));
    EXPECT_EQ(h.MajorVersion, static_cast<std::int32_t>(OSMajorVersion()));
    EXPECT_EQ(h.MinorVersion, static_cast<std::int32_t>(OSMinorVersion()));
    EXPECT_EQ(h.BuildNumber, static_cast<std::int32_t>(OSBuildNumber()));
    EXPECT_EQ(h.CSDVersion, TrimText(OSCSD())) << "taken from \"OS.CSD\"";
    EXPECT_EQ(h.Rights, IsAdministrator() ? "Admin" : "NON-Admin");
    const std::string alt = ReadAltDefaultUserName();
    EXPECT_EQ(h.LoggedUser, alt.empty() ? ReadUserName() : alt);
    EXPECT_EQ(h.Account, ReadUserName());
    EXPECT_FALSE(h.Account.empty());
    EXPECT_EQ(h.VMWare, IsVMwarePresent());
    EXPECT_EQ(h.VPC, IsVirtualPCPresent());
    // Stored to the millisecond, from the local clock.
    EXPECT_GE(h.Timestamp, before - 1.0 / 86'400'000);
    EXPECT_LE(h.Timestamp, after + 1.0 / 86'400'000);
}

TEST_F(AllModesReport, HeaderSetHoldsTheFixedTextsAndIsKeptInTheAnsiCodePage) {
    TOrvex_ProcessList component;
    component.SaveToStorage(file.name());

    auto root = OpenStorageFile(file.name(), StorageReadMode);
    auto set = root->OpenPropertySet(FMTID_SummaryInformation, StorageReadMode, false);
    ASSERT_TRUE(set);
    IPropertyStorage* ps = set->PropertyStorage.get();
    EXPECT_EQ(ReadStrPropID(ps, 2), "Orvex Inventory Storage File");
    EXPECT_EQ(ReadStrPropID(ps, 18), "Orvex Inventory Component Suite 10.2.0");
    EXPECT_FALSE(ReadStrPropID(ps, 4).empty()) << "copyright line";
    EXPECT_EQ(ReadStrPropID(ps, 3), MachineName());
    const std::string rights = ReadStrPropID(ps, 19);
    EXPECT_TRUE(rights == "Admin" || rights == "NON-Admin") << rights;
    EXPECT_EQ(ReadStrProp(ps, "OS.CSD"), TrimText(OSCSD()));
    TPropVariant var;
    ReadRaw(ps, L"OS.CSDVersion", var);
    EXPECT_EQ(var->vt, VT_EMPTY) << "the writer's name is \"OS.CSD\" only";
    var.clear();
    ASSERT_EQ(ReadRaw(ps, L"OS.Platform", var), S_OK);
    EXPECT_EQ(var->vt, VT_I8);
    EXPECT_EQ(var->hVal.QuadPart, static_cast<std::int64_t>(OSPlatform()));
    var.clear();
    ASSERT_EQ(ReadRaw(ps, L"VMWare", var), S_OK);
    EXPECT_EQ(var->vt, VT_I8);
    EXPECT_EQ(var->hVal.QuadPart, IsVMwarePresent() ? 1 : 0);
    var.clear();
    ASSERT_EQ(ReadRaw(ps, L"VPC", var), S_OK);
    EXPECT_EQ(var->vt, VT_I8);
    var.clear();
    ASSERT_EQ(ReadRawId(ps, 12, var), S_OK);
    EXPECT_EQ(var->vt, VT_FILETIME);
    var.clear();
    ASSERT_EQ(ReadRawId(ps, 2, var), S_OK);
    EXPECT_EQ(var->vt, VT_LPWSTR) << "texts stay UTF-16 in the 8-bit set";
    var.clear();
    // Property 1 is the set's code page: the system ANSI one, not UTF-16.
    ASSERT_EQ(ReadRawId(ps, 1, var), S_OK);
    EXPECT_EQ(var->vt, VT_I2);
    EXPECT_EQ(static_cast<UINT>(static_cast<USHORT>(var->iVal)), GetACP());
}

using Report = ReportTest;

// Names of odd length and texts outside ASCII read back after the file was
// closed: the sets' code page keeps the name dictionary unpadded.
TEST_F(Report, OddLengthNamesAndWideTextsSurviveClosingTheFile) {
    TOrvex_ProcessList component;
    TProcessInfo p = SampleProcess(1);
    p.Name = "na\xEFve \xE9t\xE9.exe";  // system ANSI code page text
    component.AddProcess(p);
    TServiceInfo s = SampleService(3);
    s.Typ = -7;
    component.AddService(s);
    component.SaveToStorage(file.name());

    TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(file.name()));
    ASSERT_EQ(loaded.ProcessCount(), 1);
    TProcessInfo q;
    loaded.GetProcess(0, q);
    EXPECT_TRUE(SameStoredFields(p, q)) << q.Name.str();
    TServiceInfo t;
    loaded.GetService(0, t);
    EXPECT_EQ(t, s);
    EXPECT_FALSE(loaded.StorageInfo.Account.empty()) << "\"OS.Account\" follows odd-length names";
    EXPECT_FALSE(loaded.StorageInfo.Application.empty());
}
