// The computer name, the search path, the machine probes and the NT 4 hotfix
// marker. The identification of the system itself is tested in every version
// mode by osinfo/OSIdentity_test.cpp.
#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <cstring>
#include <string>

#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_VMProbes.h"
#include "platform/pure/Orvex_OSKind.h"

using namespace orvex;

namespace {

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

}  // namespace

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
    if (rc == ERROR_SUCCESS && type == REG_SZ)
        EXPECT_EQ(ReadComputerName(), std::string(buf));
    else
        GTEST_SKIP() << "no registered computer name in this prefix";
}
