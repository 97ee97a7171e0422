#include <gtest/gtest.h>

#include "app/pure/MainRows.h"

#include <stdexcept>

using namespace orvex;
using namespace orvex::app;
using Strings = std::vector<std::string>;

TEST(MainRows, ProcessOnNt) {
    TProcessInfo p;
    p.Name = "explorer.exe";
    p.PID = 1234;
    p.UserTime = 20'000'000;        // 2 s
    p.KernelTime = 35'976'000'000;  // 3597.6 s: 3599.6 s in all, rounded to 3600
    p.VMCounters.WorkingSetSize = 1023;
    EXPECT_EQ(ProcessRowTexts(p, true), (Strings{"explorer.exe", "1234", "01:00:00", "0 KB"}));
    p.VMCounters.WorkingSetSize = 5 * 1024 * 1024 + 1023;
    EXPECT_EQ(ProcessRowTexts(p, true)[3], "5120 KB");
}

TEST(MainRows, ProcessOn9xShowsHexPidThreadsAndUsage) {
    TProcessInfo p;
    p.Name = "KERNEL32.DLL";
    p.PID = 1234;
    p.ThreadCount = 7;
    p.Usage = 1;
    EXPECT_EQ(ProcessRowTexts(p, false), (Strings{"KERNEL32.DLL", "4D2", "7", "1"}));
    EXPECT_EQ(FormatPid(0xFFF1A2B3u, false), "FFF1A2B3");
}

TEST(MainRows, Driver) {
    TDriverInfo d;
    d.Name = "\\SystemRoot\\System32\\drivers\\ntfs.sys";
    d.Size = static_cast<std::int64_t>(0xFFFFF80012340000ull);
    d.LoadCount = 12;
    EXPECT_EQ(DriverRowTexts(d),
              (Strings{"ntfs.sys", "0xFFFFF80012340000", "12", "\\SystemRoot\\System32\\drivers\\ntfs.sys"}));
    EXPECT_EQ(PathFileName("C:ntoskrnl.exe"), "ntoskrnl.exe");
    EXPECT_EQ(PathFileName("plain.sys"), "plain.sys");
    EXPECT_EQ(PathFileName("dir\\"), "");
}

TEST(MainRows, ServiceNamesAndValuesOutsideTheTables) {
    TServiceInfo s;
    s.DisplayName = "Plug and Play";
    s.Status = 4;
    s.Startup = 2;
    EXPECT_EQ(ServiceRowTexts(s), (Strings{"Plug and Play", "Running", "Automatic"}));
    s.Status = 7;
    s.Startup = 4;
    EXPECT_EQ(ServiceRowTexts(s), (Strings{"Plug and Play", "Paused", "Disabled"}));
    s.Status = -1;
    s.Startup = 9;
    EXPECT_EQ(ServiceRowTexts(s), (Strings{"Plug and Play", "Unknown (-1)", "Unknown (9)"}));
}

TEST(MainRows, CaptionsAndPanels) {
    EXPECT_EQ(CountCaption("Processes", 42), " Processes (42)");
    EXPECT_EQ(StatusPanelText("Threads", 0), "Threads: 0");
}

TEST(MainRows, NoticesOfWhatTheLiveDataLack) {
    EXPECT_EQ(UnreadNamesNotice(0), "");
    EXPECT_EQ(UnreadNamesNotice(-1), "");
    EXPECT_EQ(UnreadNamesNotice(1), "1 handle name not read: its query does not return");
    EXPECT_EQ(UnreadNamesNotice(12), "12 handle names not read: their queries do not return");
    EXPECT_EQ(JoinNotices({}), "");
    EXPECT_EQ(JoinNotices({"", ""}), "");
    EXPECT_EQ(JoinNotices({"", "b"}), "b");
    EXPECT_EQ(JoinNotices({"a", "", "b"}), "a; b");
}

TEST(MainRows, CellTextsReadBackInTheirBase) {
    EXPECT_EQ(CellTextToInteger("1234", 10), 1234u);
    EXPECT_EQ(CellTextToInteger("4D2", 16), 1234u);
    EXPECT_EQ(CellTextToInteger("4d2", 16), 1234u);
    EXPECT_EQ(CellTextToInteger("4294967295", 10), 0xFFFFFFFFu);
    EXPECT_THROW(CellTextToInteger("4294967296", 10), std::invalid_argument);
    EXPECT_THROW(CellTextToInteger("4D2", 10), std::invalid_argument);
    EXPECT_THROW(CellTextToInteger("", 10), std::invalid_argument);
    EXPECT_THROW(CellTextToInteger("-5", 10), std::invalid_argument);
    try {
        CellTextToInteger("x1", 10);
        FAIL();
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "'x1' is not a valid integer value");
    }
}
