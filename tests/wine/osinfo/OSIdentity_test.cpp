// Identification of the running system in every Windows version Wine can
// report to a program (the executable runs once per version mode, see
// tests/wine/CMakeLists.txt). Each run checks the values computed at start
// against what the platform itself answers to this process, and against the
// system the mode stands for.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/OXI_Processes.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_WideText.h"
#include "platform/pure/Orvex_OSKind.h"
#include "platform/pure/Orvex_StrUtils.h"
#include "tests/wine/support/ReportSamples.h"
#include "tests/wine/support/TempFile.h"
#include "tests/wine/support/TestMode.h"

using namespace orvex;
using namespace orvex::test;

namespace {

// What this process is told by the platform, read here independently of the
// unit under test.
struct TAnswer {
    bool valid = false;
    std::uint32_t platform = 0, major = 0, minor = 0, build = 0, productType = 0, suiteMask = 0;
    std::string csd;
};

TAnswer FromGetVersionExA() {
    OSVERSIONINFOEXA vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    TAnswer a;
    a.valid = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&vi)) != FALSE;
    if (!a.valid) {
        vi = OSVERSIONINFOEXA{};
        vi.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        a.valid = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&vi)) != FALSE;
    }
    a.platform = vi.dwPlatformId;
    a.major = vi.dwMajorVersion;
    a.minor = vi.dwMinorVersion;
    a.build = vi.dwBuildNumber & 0xFFFF;
    a.productType = vi.wProductType;
    a.suiteMask = vi.wSuiteMask;
    a.csd = TrimText(std::string(vi.szCSDVersion, strnlen(vi.szCSDVersion, sizeof vi.szCSDVersion)));
    return a;
}

TAnswer FromRtlGetVersion() {
    using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    TAnswer a;
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) return a;
    const auto get = reinterpret_cast<TRtlGetVersion>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    if (!get) return a;
    OSVERSIONINFOEXW vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    a.valid = get(&vi) == 0;
    a.platform = vi.dwPlatformId;
    a.major = vi.dwMajorVersion;
    a.minor = vi.dwMinorVersion;
    a.build = vi.dwBuildNumber & 0xFFFF;
    a.productType = vi.wProductType;
    a.suiteMask = vi.wSuiteMask;
    a.csd = TrimText(WideToAnsi(vi.szCSDVersion));
    return a;
}

// The system a version mode stands for, as Wine 8 reports it.
struct TModeSystem {
    const char* mode;
    std::uint8_t kind;
    const char* name;
    std::uint32_t platform, major, minor, build;
    const char* csd;
};

constexpr TModeSystem ModeSystems[] = {
    {"win95", osWin95, "Windows 95", 1, 4, 0, 950, ""},
    {"win98", osWin98SE, "Windows 98 Second Edition", 1, 4, 10, 2222, "A"},
    {"winme", osWinME, "Windows Millenium Edition", 1, 4, 90, 3000, ""},
    {"nt40", osWinNT4, "Windows NT 4.x", 2, 4, 0, 1381, "Service Pack 6a"},
    {"win2k", osWin2000, "Windows 2000", 2, 5, 0, 2195, "Service Pack 4"},
    {"winxp", osWinXP, "Windows XP", 2, 5, 1, 2600, "Service Pack 3"},
    {"winxp64", osWinXP64, "Windows XP64", 2, 5, 2, 3790, "Service Pack 2"},
    {"win2k3", osWinServer2003, "Windows Server 2003", 2, 5, 2, 3790, "Service Pack 2"},
    {"winvista", osWinVista, "Windows Vista", 2, 6, 0, 6002, "Service Pack 2"},
    {"win2008", osWinServer2008, "Windows Server 2008", 2, 6, 0, 6002, "Service Pack 2"},
    // Wine 8.0 swaps the product types of these two: in mode win7 both
    // GetVersionExA and RtlGetVersion say server (3), in win2008r2
    // workstation (1). The kind follows what the system says.
    {"win7", osWinServer2008R2, "Windows Server 2008 R2", 2, 6, 1, 7601, "Service Pack 1"},
    {"win2008r2", osWin7, "Windows 7", 2, 6, 1, 7601, "Service Pack 1"},
    {"win8", osWin8, "Windows 8", 2, 6, 2, 9200, ""},
    {"win81", osWin81, "Windows 8.1", 2, 6, 3, 9600, ""},
    {"win10", osWin10, "Windows 10", 2, 10, 0, 18362, ""},
};

const TModeSystem* ModeSystem() {
    for (const TModeSystem& m : ModeSystems)
        if (Mode() == m.mode) return &m;
    return nullptr;
}

}  // namespace

// The values computed at start are those the platform answers this process:
// RtlGetVersion on the NT family (GetVersionExA's answer where it disagrees
// is the one a compatibility layer made up), GetVersionExA elsewhere.
TEST(AllModesOSIdentity, ValuesAreThePlatformsAnswer) {
    const TAnswer reported = FromGetVersionExA();
    ASSERT_TRUE(reported.valid);
    const TAnswer native = FromRtlGetVersion();
    const bool useNative = reported.platform == VER_PLATFORM_WIN32_NT && native.valid &&
                           native.platform == VER_PLATFORM_WIN32_NT;
    const TAnswer& truth = useNative ? native : reported;
    EXPECT_EQ(OSPlatform(), truth.platform);
    EXPECT_EQ(OSMajorVersion(), truth.major);
    EXPECT_EQ(OSMinorVersion(), truth.minor);
    EXPECT_EQ(OSBuildNumber(), truth.build);
    // NT 4 SP6a may be marked by the hotfix key; Wine says "6a" itself.
    EXPECT_EQ(OSCSD(), truth.csd);
    const bool nt = truth.platform == VER_PLATFORM_WIN32_NT;
    EXPECT_EQ(OSSuite(), nt ? (truth.suiteMask & 0x0FFF) : 0u);
    EXPECT_EQ(OSEdition(), DetectEdition(truth.platform, truth.major, truth.productType, truth.suiteMask).Edition);
    EXPECT_EQ(OSName(), OSKindName(OSKind()));
    EXPECT_FALSE(OSName().empty()) << "mode " << Mode();
    EXPECT_EQ(IsNT(), nt);
    EXPECT_EQ(IsNT4(), OSKind() == osWinNT4);

    // A second identification reads the same.
    std::uint32_t platform = 99, major = 99, minor = 99, build = 99;
    std::string csd = "x", name = "x";
    std::uint16_t suite = 0xFFFF;
    std::uint8_t edition = 99;
    EXPECT_EQ(GetOSInfo(platform, major, minor, build, csd, suite, edition, name), OSKind());
    EXPECT_EQ(platform, OSPlatform());
    EXPECT_EQ(major, OSMajorVersion());
    EXPECT_EQ(minor, OSMinorVersion());
    EXPECT_EQ(build, OSBuildNumber());
    EXPECT_EQ(csd, OSCSD());
    EXPECT_EQ(suite, OSSuite());
    EXPECT_EQ(edition, OSEdition());
    EXPECT_EQ(name, OSName());
}

// The kind, name and numbers are those of the system the mode stands for.
// Wine tells a 64-bit program in a 9x mode the same 9x numbers as a 32-bit
// one (no real 9x system could have run it), so both widths are held to the
// same table.
TEST(AllModesOSIdentity, KindOfTheSystemTheModeStandsFor) {
    const TModeSystem* m = ModeSystem();
    ASSERT_NE(m, nullptr) << "no expectation for mode " << Mode();
    EXPECT_EQ(OSPlatform(), m->platform);
    EXPECT_EQ(IsNT(), m->platform == VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(int(OSKind()), int(m->kind));
    EXPECT_EQ(OSName(), m->name);
    EXPECT_EQ(OSMajorVersion(), m->major);
    EXPECT_EQ(OSMinorVersion(), m->minor);
    EXPECT_EQ(OSBuildNumber(), m->build);
    EXPECT_EQ(OSCSD(), m->csd);
}

// From 8.1 on GetVersionExA tells this program (it has no compatibility
// manifest) 6.2 build 9200; the identification is not misled by that.
TEST(AllModesOSIdentity, NotMisledByTheCompatibilityVersion) {
    const TAnswer reported = FromGetVersionExA();
    if (reported.platform != VER_PLATFORM_WIN32_NT || reported.major < 6)
        GTEST_SKIP() << "GetVersionExA tells the truth before Windows 8.1";
    const TAnswer native = FromRtlGetVersion();
    ASSERT_TRUE(native.valid);
    if (Mode() == "win81" || Mode() == "win10") {
        EXPECT_EQ(reported.major, 6u);
        EXPECT_EQ(reported.minor, 2u);
        EXPECT_EQ(reported.build, 9200u);
        EXPECT_NE(native.major * 100 + native.minor, 602u);
    }
    EXPECT_EQ(OSMajorVersion(), native.major);
    EXPECT_EQ(OSMinorVersion(), native.minor);
    EXPECT_EQ(OSBuildNumber(), native.build);
}

// A report saved in the mode names that system in its header and keeps its
// numbers.
TEST(AllModesOSIdentity, ReportHeaderNamesTheSystem) {
    TComInit com;
    TTempFile file;
    ASSERT_TRUE(file.valid());
    TOrvex_OXIC_Component().SaveToStorage(file.name());
    TOrvex_OXIC_Component loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(file.name()));
    const TStorageInfoRecord& h = loaded.StorageInfo;
    const std::string edition = EditionName(OSKind(), OSEdition(), OSSuite());
    EXPECT_EQ(h.OSName, edition.empty() ? OSName() : OSName() + " " + edition);
    EXPECT_EQ(h.Platform, static_cast<std::int32_t>(OSPlatform()));
    EXPECT_EQ(h.MajorVersion, static_cast<std::int32_t>(OSMajorVersion()));
    EXPECT_EQ(h.MinorVersion, static_cast<std::int32_t>(OSMinorVersion()));
    EXPECT_EQ(h.BuildNumber, static_cast<std::int32_t>(OSBuildNumber()));
    EXPECT_EQ(h.CSDVersion, OSCSD());
    const TModeSystem* m = ModeSystem();
    ASSERT_NE(m, nullptr) << "no expectation for mode " << Mode();
    EXPECT_EQ(h.OSName.substr(0, std::string_view(m->name).size()), m->name);
}

// This program links the engine and nothing above it, and sets nothing up
// for reports: a component saves its lists, and one freshly constructed
// reads them back, on every system (on 9x the component binds nothing).
TEST(AllModesOSIdentity, FreshComponentsSaveAndLoadAReport) {
    TComInit com;
    TTempFile file;
    ASSERT_TRUE(file.valid());
    {
        TOrvex_ProcessList saved;
        AddSamples(saved, 3, 2, 2);
        saved.SaveToStorage(file.name());
    }
    TOrvex_ProcessList loaded;
    EXPECT_TRUE(loaded.LoadFromStorage(file.name()));
    EXPECT_FALSE(loaded.LiveData());
    EXPECT_EQ(loaded.StorageFileName, file.name());
    EXPECT_EQ(loaded.StorageInfo.Machine, MachineName());
    EXPECT_EQ(loaded.StorageInfo.MajorVersion, static_cast<std::int32_t>(OSMajorVersion()));
    ASSERT_EQ(loaded.ProcessCount(), 3);
    ASSERT_EQ(loaded.DriverCount(), 2);
    ASSERT_EQ(loaded.ServiceCount(), 2);
    for (int i = 0; i < 3; ++i) {
        TProcessInfo p;
        loaded.GetProcess(static_cast<std::uint32_t>(i), p);
        EXPECT_TRUE(SameStoredFields(p, SampleProcess(i))) << "process " << i;
    }
    for (int i = 0; i < 2; ++i) {
        TDriverInfo d;
        loaded.GetDriver(static_cast<std::uint32_t>(i), d);
        EXPECT_EQ(d.Name, SampleDriver(i).Name);
        EXPECT_EQ(d.Size, SampleDriver(i).Size);
        TServiceInfo s;
        loaded.GetService(static_cast<std::uint32_t>(i), s);
        EXPECT_EQ(s.Name, SampleService(i).Name);
        EXPECT_EQ(s.DependOnService, SampleService(i).DependOnService);
        EXPECT_EQ(s.Status, SampleService(i).Status);
    }
}
