#include <gtest/gtest.h>

#include "app/pure/PrcDetailsRows.h"

using namespace orvex;

namespace {

constexpr std::int64_t Second = 10'000'000;  // 100-ns units

TProcessInfo SampleProcess() {
    TProcessInfo p;
    p.PID = 1234;
    p.ParentPID = 42;
    p.Name = "notepad.exe";
    p.ImageName = "C:\\windows\\notepad.exe";
    p.UserName = "MACHINE\\user";
    p.Priority = 8;
    p.ThreadCount = 3;
    p.HandleCount = 57;
    p.Usage = 1;
    return p;
}

std::vector<std::string> Captions(const TPropertyRows& rows) {
    std::vector<std::string> c;
    for (const TPropertyRow& r : rows) c.push_back(r.Caption);
    return c;
}

const TPropertyRow* Find(const TPropertyRows& rows, const std::string& caption) {
    for (const TPropertyRow& r : rows)
        if (r.Caption == caption) return &r;
    return nullptr;
}

}  // namespace

TEST(ProcessGeneralRows, NtFamily) {
    TVersionInfo v;
    v.Description = "Notepad";
    v.FileVersion = "6.1";
    const TPropertyRows rows = ProcessGeneralRows(SampleProcess(), v, "notepad.exe file.txt", true);
    EXPECT_EQ(Captions(rows),
              (std::vector<std::string>{"Description", "Version", "Product Name", "Company Name", "", "PID",
                                        "Parent PID", "Image name", "Command line", "", "User Name", "Priority",
                                        "Thread Count", "Handle Count", "", "Signer", "SHA-256"}));
    EXPECT_EQ(rows[0], HeadingRow("Description", "Notepad"));
    EXPECT_EQ(rows[1], PlainRow("Version", "6.1"));
    EXPECT_EQ(rows[4].Style, TRowStyle::Separator);
    EXPECT_EQ(rows[5], HeadingRow("PID", "1234"));
    EXPECT_EQ(rows[6], PlainRow("Parent PID", "42"));
    EXPECT_EQ(rows[7], PlainRow("Image name", "C:\\windows\\notepad.exe"));
    EXPECT_EQ(rows[8], PlainRow("Command line", "notepad.exe file.txt"));
    EXPECT_EQ(rows[9].Style, TRowStyle::Separator);
    EXPECT_EQ(rows[10], HeadingRow("User Name", "MACHINE\\user"));
    EXPECT_EQ(rows[11], HeadingRow("Priority", "8"));
    EXPECT_EQ(rows[12], PlainRow("Thread Count", "3"));
    EXPECT_EQ(rows[13], PlainRow("Handle Count", "57"));
    EXPECT_EQ(rows[15], PlainRow("Signer", ""));
}

TEST(ProcessGeneralRows, NineXFamily) {
    TProcessInfo p = SampleProcess();
    p.PID = 0xFFFD3A5B;
    p.ParentPID = 0xFFFC1111;
    const TPropertyRows rows = ProcessGeneralRows(p, {}, "", false);
    EXPECT_EQ(Captions(rows),
              (std::vector<std::string>{"Description", "Version", "Product Name", "Company Name", "", "PID",
                                        "Parent PID", "Image name", "Command line", "", "Priority", "Thread Count",
                                        "Process Usage", "", "Signer", "SHA-256"}));
    EXPECT_EQ(Find(rows, "PID")->Values[0], "FFFD3A5B");
    EXPECT_EQ(Find(rows, "Parent PID")->Values[0], "FFFC1111");
    EXPECT_EQ(*Find(rows, "Priority"), PlainRow("Priority", "8"));
    EXPECT_EQ(*Find(rows, "Process Usage"), PlainRow("Process Usage", "1"));
    EXPECT_EQ(Find(rows, "Command line")->Values[0], "");
    EXPECT_EQ(Find(rows, "User Name"), nullptr);
    EXPECT_EQ(Find(rows, "Handle Count"), nullptr);
}

TEST(ProcessGeneralRows, EmptyRecordShowsZeros) {
    const TPropertyRows rows = ProcessGeneralRows(TProcessInfo{}, {}, "", true);
    EXPECT_EQ(Find(rows, "PID")->Values[0], "0");
    EXPECT_EQ(Find(rows, "Image name")->Values[0], "");
    EXPECT_EQ(Find(rows, "Thread Count")->Values[0], "0");
}

TEST(ProcessCounterRows, LayoutAndStyles) {
    const TPropertyRows rows = ProcessCounterRows(TProcessInfo{});
    EXPECT_EQ(Captions(rows), (std::vector<std::string>{"CPU Times",
                                                        "Kernel Time",
                                                        "User Time",
                                                        "Total Time",
                                                        "",
                                                        "I/O Counters",
                                                        "Read Operation Count",
                                                        "Write Operation Count",
                                                        "Other Operation Count",
                                                        "Read Transfer Count",
                                                        "Write Transfer Count",
                                                        "Other Transfer Count",
                                                        "",
                                                        "Virtual Memory Counters",
                                                        "Page Fault Count",
                                                        "Virtual Size",
                                                        "Working Set Size",
                                                        "Quota Peak Paged Pool Usage",
                                                        "Quota Peak Non Paged Pool Usage",
                                                        "Pagefile Usage"}));
    for (const TPropertyRow& r : rows) {
        if (r.Style == TRowStyle::Heading || r.Style == TRowStyle::Separator)
            EXPECT_TRUE(r.Values.empty()) << r.Caption;
        else
            EXPECT_EQ(r.Values.size(), 2u) << r.Caption;
    }
    EXPECT_EQ(rows[0].Style, TRowStyle::Heading);
    EXPECT_EQ(rows[5].Style, TRowStyle::Heading);
    EXPECT_EQ(rows[13].Style, TRowStyle::Heading);
    EXPECT_EQ(rows[4].Style, TRowStyle::Separator);
    EXPECT_EQ(rows[12].Style, TRowStyle::Separator);
}

TEST(ProcessCounterRows, StoredRowsKeepTheTimesAndShowNoCounters) {
    TProcessInfo p;
    p.KernelTime = 3600 * Second;
    p.UserTime = 2 * Second;
    p.IOCounters.ReadOperationCount = 77;
    p.VMCounters.WorkingSetSize = 4096;
    p.VMCounters.PeakWorkingSetSize = 8192;
    const TPropertyRows full = ProcessCounterRows(p);
    const TPropertyRows stored = StoredCounterRows(p);
    ASSERT_EQ(Captions(stored), Captions(full));
    EXPECT_EQ(Find(stored, "Kernel Time")->Values, (std::vector<std::string>{"01:00:00", "-"}));
    EXPECT_EQ(Find(stored, "Total Time")->Values[0], "01:00:02");
    for (const char* counter : {"Read Operation Count", "Page Fault Count", "Working Set Size", "Pagefile Usage"})
        EXPECT_EQ(Find(stored, counter)->Values, (std::vector<std::string>{"", ""})) << counter;
    for (std::size_t i = 0; i < full.size(); ++i) EXPECT_EQ(stored[i].Style, full[i].Style) << i;
}

TEST(ProcessCounterRows, TimesAsClockReadings) {
    TProcessInfo p;
    p.KernelTime = 3600 * Second;     // one hour
    p.UserTime = 25 * 3600 * Second;  // 25 hours: the whole day is dropped
    const TPropertyRows rows = ProcessCounterRows(p);
    EXPECT_EQ(*Find(rows, "Kernel Time"), (TPropertyRow{TRowStyle::Plain, "Kernel Time", {"01:00:00", "-"}}));
    EXPECT_EQ(Find(rows, "User Time")->Values, (std::vector<std::string>{"01:00:00", "-"}));
    EXPECT_EQ(Find(rows, "Total Time")->Values[0], "02:00:00");

    p.KernelTime = Second / 2;         // 0.5 s: to the even neighbour, 0
    p.UserTime = Second + Second / 2;  // 1.5 s: to the even neighbour, 2
    const TPropertyRows halves = ProcessCounterRows(p);
    EXPECT_EQ(Find(halves, "Kernel Time")->Values[0], "00:00:00");
    EXPECT_EQ(Find(halves, "User Time")->Values[0], "00:00:02");
    // The sum is taken before rounding: 2.0 s.
    EXPECT_EQ(Find(halves, "Total Time")->Values[0], "00:00:02");
    p.UserTime = Second / 2;  // 0.5 s twice: each shows 0, their sum 1 s
    EXPECT_EQ(Find(ProcessCounterRows(p), "User Time")->Values[0], "00:00:00");
    EXPECT_EQ(Find(ProcessCounterRows(p), "Total Time")->Values[0], "00:00:01");
}

TEST(ProcessCounterRows, TotalOfHugeTimesDoesNotOverflow) {
    TProcessInfo p;
    p.KernelTime = INT64_MAX;
    p.UserTime = INT64_MAX;
    EXPECT_EQ(Find(ProcessCounterRows(p), "Total Time")->Values[0],
              Find(ProcessCounterRows(p), "Kernel Time")->Values[0]);
}

TEST(ProcessCounterRows, CountersCurrentAndPeak) {
    TProcessInfo p;
    p.IOCounters = {1, 2, 3, 4000000000000ull, 5, 6};
    p.VMCounters.PeakVirtualSize = 2000;
    p.VMCounters.VirtualSize = 1000;
    p.VMCounters.PageFaultCount = 77;
    p.VMCounters.PeakWorkingSetSize = 400;
    p.VMCounters.WorkingSetSize = 300;
    p.VMCounters.QuotaPeakPagedPoolUsage = 21;
    p.VMCounters.QuotaPagedPoolUsage = 20;
    p.VMCounters.QuotaPeakNonPagedPoolUsage = 11;
    p.VMCounters.QuotaNonPagedPoolUsage = 10;
    p.VMCounters.PagefileUsage = 500;
    p.VMCounters.PeakPagefileUsage = 600;
    const TPropertyRows rows = ProcessCounterRows(p);
    using V = std::vector<std::string>;
    EXPECT_EQ(Find(rows, "Read Operation Count")->Values, (V{"1", "-"}));
    EXPECT_EQ(Find(rows, "Write Operation Count")->Values, (V{"2", "-"}));
    EXPECT_EQ(Find(rows, "Other Operation Count")->Values, (V{"3", "-"}));
    EXPECT_EQ(Find(rows, "Read Transfer Count")->Values, (V{"4000000000000", "-"}));
    EXPECT_EQ(Find(rows, "Write Transfer Count")->Values, (V{"5", "-"}));
    EXPECT_EQ(Find(rows, "Other Transfer Count")->Values, (V{"6", "-"}));
    EXPECT_EQ(Find(rows, "Page Fault Count")->Values, (V{"77", "-"}));
    EXPECT_EQ(Find(rows, "Virtual Size")->Values, (V{"1000 B", "2000 B"}));
    EXPECT_EQ(Find(rows, "Working Set Size")->Values, (V{"300 B", "400 B"}));
    EXPECT_EQ(Find(rows, "Quota Peak Paged Pool Usage")->Values, (V{"20 B", "21 B"}));
    EXPECT_EQ(Find(rows, "Quota Peak Non Paged Pool Usage")->Values, (V{"10 B", "11 B"}));
    EXPECT_EQ(Find(rows, "Pagefile Usage")->Values, (V{"500 B", "600 B"}));
}

TEST(ProcessCounterRows, SizesBeyondTwoGigabytesArePositive) {
    TProcessInfo p;
    p.VMCounters.VirtualSize = static_cast<std::uintptr_t>(0xFFFF0000u);
    EXPECT_EQ(Find(ProcessCounterRows(p), "Virtual Size")->Values[0], "4294901760 B");
}

TEST(ProcessDetails, ImageFileOnlyAboveNine) {
    EXPECT_FALSE(HasImageFile(0));
    EXPECT_FALSE(HasImageFile(4));
    EXPECT_FALSE(HasImageFile(9));
    EXPECT_TRUE(HasImageFile(10));
    EXPECT_TRUE(HasImageFile(0xFFFD3A5Bu));  // 9x identifiers compare unsigned
}
