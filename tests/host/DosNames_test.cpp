#include <gtest/gtest.h>

#include "engine/pure/OXI_DosNames.h"

namespace {

orvex::TDosNames Drives() {
    orvex::TDosNames d;
    d.Add("C:", "\\Device\\HarddiskVolume1");
    d.Add("D:", "\\Device\\HarddiskVolume10");
    d.Add("E:", "\\Device\\CdRom0");
    d.Add("Z:", "\\Device\\LanmanRedirector\\;Z:0000000000012345\\server\\share");
    return d;
}

TEST(DosNames, DevicePrefixBecomesItsDrive) {
    const orvex::TDosNames d = Drives();
    EXPECT_EQ(d.ToDos("\\Device\\HarddiskVolume1\\Windows\\x.dll"), "C:\\Windows\\x.dll");
    EXPECT_EQ(d.ToDos("\\Device\\HarddiskVolume10\\data\\a.txt"), "D:\\data\\a.txt");
    EXPECT_EQ(d.ToDos("\\Device\\CdRom0\\setup.exe"), "E:\\setup.exe");
    EXPECT_EQ(d.ToDos("\\Device\\LanmanRedirector\\;Z:0000000000012345\\server\\share\\doc.txt"), "Z:\\doc.txt");
}

TEST(DosNames, DeviceMatchesOnlyAsAWholeComponent) {
    orvex::TDosNames d;
    d.Add("C:", "\\Device\\HarddiskVolume1");
    // Volume 10 is not under volume 1, whatever the order of the drives.
    EXPECT_EQ(d.ToDos("\\Device\\HarddiskVolume10\\x.txt"), "\\Device\\HarddiskVolume10\\x.txt");
    const orvex::TDosNames all = Drives();
    EXPECT_EQ(all.ToDos("\\Device\\HarddiskVolume1\\x.txt"), "C:\\x.txt");
    EXPECT_EQ(all.ToDos("\\Device\\HarddiskVolume11\\x.txt"), "\\Device\\HarddiskVolume11\\x.txt");
}

TEST(DosNames, TheDeviceItselfIsTheDrivesRoot) {
    const orvex::TDosNames d = Drives();
    EXPECT_EQ(d.ToDos("\\Device\\HarddiskVolume1"), "C:\\");
    EXPECT_EQ(d.ToDos("\\Device\\HarddiskVolume1\\"), "C:\\");
}

TEST(DosNames, CaseOfTheDeviceDoesNotMatterAndTheRestIsKept) {
    const orvex::TDosNames d = Drives();
    EXPECT_EQ(d.ToDos("\\DEVICE\\harddiskvolume1\\Program Files\\App.EXE"), "C:\\Program Files\\App.EXE");
}

TEST(DosNames, DosDevicePrefixIsDropped) {
    const orvex::TDosNames none;
    EXPECT_EQ(none.ToDos("\\??\\C:\\windows\\system32\\kernel32.dll"), "C:\\windows\\system32\\kernel32.dll");
    EXPECT_EQ(none.ToDos("\\DosDevices\\d:\\x"), "d:\\x");
    EXPECT_EQ(none.ToDos("\\??\\pipe\\name"), "\\??\\pipe\\name");
    EXPECT_EQ(none.ToDos("\\??\\C"), "\\??\\C");
}

TEST(DosNames, OtherNamesStayNative) {
    const orvex::TDosNames d = Drives();
    EXPECT_EQ(d.ToDos("\\Device\\NamedPipe\\orvex"), "\\Device\\NamedPipe\\orvex");
    EXPECT_EQ(d.ToDos("\\BaseNamedObjects\\OrvexMutex"), "\\BaseNamedObjects\\OrvexMutex");
    EXPECT_EQ(d.ToDos(""), "");
    EXPECT_EQ(d.ToDos("\\Device\\Harddisk"), "\\Device\\Harddisk");
}

TEST(DosNames, DevicesThatAreNoPathsAreIgnored) {
    orvex::TDosNames d;
    d.Add("C:", "");
    d.Add("D:", "HarddiskVolume1");
    EXPECT_TRUE(d.Empty());
    EXPECT_EQ(d.ToDos("HarddiskVolume1\\x"), "HarddiskVolume1\\x");
}

}  // namespace
