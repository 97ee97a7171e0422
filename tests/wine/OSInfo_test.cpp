#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <cstring>
#include <string>

#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_VMProbes.h"
#include "platform/pure/Orvex_OSKind.h"
#include "tests/wine/support/TestMode.h"

using namespace orvex;

namespace {

OSVERSIONINFOEXA ReportedVersion() {
    OSVERSIONINFOEXA vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    EXPECT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&vi)));
    return vi;
}

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The values computed at start agree with what the platform reports now.
void ExpectStartValuesMatchPlatform() {
    const OSVERSIONINFOEXA vi = ReportedVersion();
    EXPECT_EQ(OSPlatform(), vi.dwPlatformId);
    EXPECT_EQ(OSMajorVersion(), vi.dwMajorVersion);
    EXPECT_EQ(OSMinorVersion(), vi.dwMinorVersion);
    EXPECT_EQ(OSBuildNumber(), vi.dwBuildNumber & 0xFFFF);

    std::uint32_t platform = 99, major = 99, minor = 99, build = 99;
    std::string csd = "x", name = "x";
    std::uint16_t suite = 0xFFFF;
    std::uint8_t edition = 99;
    const std::uint8_t kind = GetOSInfo(platform, major, minor, build, csd, suite, edition, name);
    EXPECT_EQ(kind, OSKind());
    EXPECT_EQ(platform, OSPlatform());
    EXPECT_EQ(major, OSMajorVersion());
    EXPECT_EQ(minor, OSMinorVersion());
    EXPECT_EQ(build, OSBuildNumber());
    EXPECT_EQ(csd, OSCSD());
    EXPECT_EQ(suite, OSSuite());
    EXPECT_EQ(edition, OSEdition());
    EXPECT_EQ(name, OSName());
    EXPECT_EQ(name, OSKindName(kind));
    EXPECT_EQ(IsNT(), IsNTKind(kind));
    EXPECT_EQ(IsNT4(), kind == osWinNT4);
}

}  // namespace

TEST(AllModesOSInfo, StartValuesMatchThePlatform) { ExpectStartValuesMatchPlatform(); }

TEST(AllModesOSInfo, ServicePackTextIsTrimmed) {
    const std::string& csd = OSCSD();
    if (!csd.empty()) {
        EXPECT_GT(static_cast<unsigned char>(csd.front()), ' ');
        EXPECT_GT(static_cast<unsigned char>(csd.back()), ' ');
    }
}

TEST(AllModesOSInfo, MachineNameIsTheUpperCaseComputerName) {
    char buf[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof buf;
    ASSERT_TRUE(GetComputerNameA(buf, &size));
    EXPECT_FALSE(ReadComputerName().empty());
    EXPECT_EQ(Upper(ReadComputerName()), Upper(buf));
    EXPECT_EQ(MachineName(), Upper(ReadComputerName()));
    for (char c : MachineName()) EXPECT_FALSE(c >= 'a' && c <= 'z') << MachineName();
}

TEST(AllModesOSInfo, SearchPathListsWindowsAndSystemDirectories) {
    char windows[MAX_PATH] = {}, system[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    EXPECT_EQ(WindowsSearchPath(), std::string(windows) + ";" + system + ";");
}

TEST(AllModesOSInfo, NoVirtualMachineMonitor) {
    // Under Wine both probe instructions fault; the faults are caught.
    EXPECT_FALSE(IsVMwarePresent());
    EXPECT_FALSE(IsVirtualPCPresent());
    // The handler is gone afterwards and the probes can run again.
    EXPECT_FALSE(IsVMwarePresent());
    EXPECT_FALSE(IsVirtualPCPresent());
}

TEST(OSInfo, ModernNTIsTheNewestKind) {
    const OSVERSIONINFOEXA vi = ReportedVersion();
    ASSERT_EQ(vi.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    ASSERT_GE(vi.dwMajorVersion, 6u);
    EXPECT_EQ(OSKind(), osWinVista);
    EXPECT_EQ(OSName(), "Windows Vista");
    EXPECT_TRUE(IsNT());
    EXPECT_FALSE(IsNT4());
    EXPECT_EQ(OSCSD(), vi.szCSDVersion);
    EXPECT_EQ(OSSuite(), vi.wSuiteMask & 0x0FFF);
    EXPECT_EQ(vi.wProductType, VER_NT_WORKSTATION);
    EXPECT_EQ(OSEdition(), edWorkstation);
    EXPECT_EQ(EditionName(OSKind(), OSEdition(), OSSuite()), "");
}

TEST(Win98OSInfo, Windows98SecondEdition) {
    EXPECT_EQ(OSPlatform(), 1u);
    EXPECT_EQ(OSMajorVersion(), 4u);
    EXPECT_EQ(OSMinorVersion(), 10u);
    EXPECT_EQ(OSBuildNumber(), 2222u);
    EXPECT_EQ(OSKind(), osWin98SE);
    EXPECT_EQ(OSName(), "Windows 98 Second Edition");
    EXPECT_FALSE(IsNT());
    EXPECT_FALSE(IsNT4());
    EXPECT_EQ(OSEdition(), edNone);
    EXPECT_EQ(OSSuite(), 0);
    EXPECT_EQ(EditionName(OSKind(), OSEdition(), OSSuite()), "");
}

TEST(Nt40OSInfo, WindowsNT4) {
    const OSVERSIONINFOEXA vi = ReportedVersion();
    EXPECT_EQ(OSPlatform(), 2u);
    EXPECT_EQ(OSMajorVersion(), 4u);
    EXPECT_EQ(OSMinorVersion(), 0u);
    EXPECT_EQ(OSBuildNumber(), 1381u);
    EXPECT_EQ(OSCSD(), "Service Pack 6a");
    EXPECT_EQ(OSKind(), osWinNT4);
    EXPECT_EQ(OSName(), "Windows NT 4.x");
    EXPECT_TRUE(IsNT());
    EXPECT_TRUE(IsNT4());
    EXPECT_EQ(vi.wProductType, VER_NT_WORKSTATION);
    EXPECT_EQ(OSEdition(), edWorkstation);
    EXPECT_EQ(EditionName(OSKind(), OSEdition(), OSSuite()), "Workstation");
}

TEST(Win10OSInfo, Windows10IsTheNewestKind) {
    // The system is 10.0; GetVersionExA tells a program without a
    // compatibility manifest 6.2. Either way the kind is the newest NT kind.
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion =
        reinterpret_cast<RtlGetVersionFn>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion"));
    ASSERT_NE(rtlGetVersion, nullptr);
    OSVERSIONINFOW real{};
    real.dwOSVersionInfoSize = sizeof real;
    ASSERT_EQ(rtlGetVersion(&real), 0);
    EXPECT_EQ(real.dwMajorVersion, 10u);

    const OSVERSIONINFOEXA vi = ReportedVersion();
    EXPECT_EQ(OSPlatform(), 2u);
    EXPECT_EQ(OSMajorVersion(), vi.dwMajorVersion);
    EXPECT_EQ(OSMinorVersion(), vi.dwMinorVersion);
    EXPECT_TRUE(OSMajorVersion() == 10 || (OSMajorVersion() == 6 && OSMinorVersion() == 2))
        << OSMajorVersion() << "." << OSMinorVersion();
    EXPECT_EQ(OSKind(), osWinVista);
    EXPECT_EQ(OSName(), "Windows Vista");
    EXPECT_TRUE(IsNT());
    EXPECT_FALSE(IsNT4());
    EXPECT_EQ(EditionName(OSKind(), OSEdition(), OSSuite()), "");
}

namespace {

constexpr const char* HotfixKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";

// Creates the hotfix marker key for one test and removes it afterwards.
class THotfixKey {
public:
    THotfixKey() {
        created_ = RegCreateKeyExA(HKEY_LOCAL_MACHINE, HotfixKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                                   nullptr) == ERROR_SUCCESS;
    }
    ~THotfixKey() {
        if (!created_) return;
        RegCloseKey(key_);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, HotfixKey);
    }
    bool created() const { return created_; }
    void setDword(DWORD v) {
        ASSERT_EQ(RegSetValueExA(key_, "Installed", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v),
                  ERROR_SUCCESS);
    }
    void setText(const char* s) {
        ASSERT_EQ(RegSetValueExA(key_, "Installed", 0, REG_SZ, reinterpret_cast<const BYTE*>(s),
                                 static_cast<DWORD>(std::strlen(s) + 1)),
                  ERROR_SUCCESS);
    }

private:
    HKEY key_ = nullptr;
    bool created_ = false;
};

}  // namespace

TEST(OSInfoHotfix, MarkerMustBeTheNumberOne) {
    EXPECT_FALSE(IsHotfixQ246009Installed());  // not in a fresh prefix
    {
        THotfixKey key;
        ASSERT_TRUE(key.created());
        EXPECT_FALSE(IsHotfixQ246009Installed());  // key without the value
        key.setDword(1);
        EXPECT_TRUE(IsHotfixQ246009Installed());
        EXPECT_EQ(ApplyHotfixRule("Service Pack 6", IsHotfixQ246009Installed()), "Service Pack 6a");
        key.setDword(0);
        EXPECT_FALSE(IsHotfixQ246009Installed());
        key.setDword(2);
        EXPECT_FALSE(IsHotfixQ246009Installed());
        key.setText("1");
        EXPECT_FALSE(IsHotfixQ246009Installed());
    }
    EXPECT_FALSE(IsHotfixQ246009Installed());
}

TEST(OSInfoComputerName, RegistryNameWins) {
    // The name under ComputerName\ComputerName is what the system will use;
    // ReadComputerName prefers it to the name of the running session.
    std::string registered;
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName", 0,
                            KEY_READ, &key),
              ERROR_SUCCESS);
    char buf[256] = {};
    DWORD size = sizeof buf - 1, type = 0;
    const LONG rc = RegQueryValueExA(key, "ComputerName", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(key);
    if (rc == ERROR_SUCCESS && type == REG_SZ) EXPECT_EQ(ReadComputerName(), std::string(buf));
    else GTEST_SKIP() << "no registered computer name in this prefix";
}
