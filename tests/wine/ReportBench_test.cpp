// Size of a report and the time to save and load it: of the live inventory
// and of one the size of a busy Windows machine's.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "engine/OXI_Processes.h"
#include "tests/wine/support/ReportFileTest.h"

using namespace orvex;
using namespace orvex::test;

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Saves and loads Component Rounds times and prints the medians.
void Bench(const char* what, TOrvex_ProcessList& component, const std::string& fileName, int rounds) {
    std::vector<double> save, load;
    for (int i = 0; i < rounds; ++i) {
        ASSERT_TRUE(DeleteFileA(fileName.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND);
        auto t0 = Clock::now();
        component.SaveToStorage(fileName);
        auto t1 = Clock::now();
        TOrvex_ProcessList loaded;
        EXPECT_TRUE(loaded.LoadFromStorage(fileName));
        auto t2 = Clock::now();
        EXPECT_EQ(loaded.ProcessCount(), component.ProcessCount());
        EXPECT_EQ(loaded.DriverCount(), component.DriverCount());
        EXPECT_EQ(loaded.ServiceCount(), component.ServiceCount());
        save.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        load.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
    }
    const std::size_t size = ReadWholeFile(fileName).size();
    EXPECT_GT(size, 0u);
    std::printf(
        "[  BENCH   ] %s: %d processes, %d drivers, %d services: %zu bytes, save %.1f ms, load %.1f ms "
        "(median of %d)\n",
        what, component.ProcessCount(), component.DriverCount(), component.ServiceCount(), size, Median(save),
        Median(load), rounds);
}

}  // namespace

using ReportBench = ReportFileTest;

TEST_F(ReportBench, SizeAndTimesOfSavingAndLoading) {
    TOrvex_ProcessList live;
    live.DetectionRange = TDetectionRange{dtProcesses, dtDrivers, dtServices};
    live.RefreshData();
    ASSERT_GT(live.ProcessCount(), 0);
    Bench("live inventory", live, file.name(), 5);

    TOrvex_ProcessList busy;
    AddSamples(busy, 300, 250, 300);
    Bench("busy machine", busy, file.name(), 3);
}
