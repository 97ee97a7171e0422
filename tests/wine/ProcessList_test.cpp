// The process-list component: construction, the refresh cycle in every
// Windows version mode, record copies and look-ups.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <set>

#include "app/PrcDetails.h"
#include "app/SvcDetails.h"
#include "app/WinDetails.h"
#include "engine/OXI_Processes.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_PSAPI.h"
#include "platform/Orvex_Token.h"
#include "tests/wine/DetailsProbe.h"
#include "tests/wine/support/HelperProcess.h"
#include "tests/wine/support/TestMode.h"
#include "tests/wine/support/TestService.h"
#include "tests/wine/support/TestThread.h"

namespace {

using namespace orvex;

const TDetectionRange AllKinds{dtProcesses, dtServices, dtDrivers, dtHandles, dtWindows};

TServiceInfo Service(const char* name, const char* display, const char* depends = "") {
    TServiceInfo s;
    s.Name = name;
    s.DisplayName = display;
    s.DependOnService = depends;
    return s;
}

TEST(AllModesProcessList, StartsEmptyAndLiveWithTheDefaultRange) {
    TOrvex_ProcessList list;
    EXPECT_EQ(list._About().rfind("Orvex Inventory Component Suite 10.2.0", 0), 0u) << list._About();
    EXPECT_EQ(list._Refresh(), "Double-click to get data");
    EXPECT_TRUE(list.LiveData());
    EXPECT_TRUE(list.StorageFileName.empty());
    EXPECT_TRUE(list.DetectionRange == (TDetectionRange{dtProcesses, dtServices, dtDrivers}));
    EXPECT_EQ(list.ProcessCount() + list.DriverCount() + list.ServiceCount() + list.HandleCount() + list.WindowCount() +
                  list.ThreadCount(),
              0);
}

TEST(ProcessList, ConstructionEnablesTheDebugPrivilege) {
    TOrvex_ProcessList list;
    TPrivilegeList privileges;
    ASSERT_TRUE(ReadTokenPrivileges(::GetCurrentProcess(), privileges));
    bool enabled = false;
    for (const auto& p : privileges)
        if (p.Name == "SeDebugPrivilege") enabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    EXPECT_TRUE(enabled);
}

TEST(AllModesProcessList, EmptyRangeRefreshLeavesEveryListEmptyAndSetsTheVersion) {
    TOrvex_ProcessList list;
    list.DetectionRange = TDetectionRange{};
    list.RefreshData();
    EXPECT_TRUE(list.LiveData());
    EXPECT_EQ(list.ProcessCount(), 0);
    EXPECT_EQ(list.WindowCount(), 0);
    EXPECT_EQ(list.DriverCount(), 0);
    EXPECT_EQ(list.ServiceCount(), 0);
    EXPECT_EQ(list.HandleCount(), 0);
    EXPECT_EQ(list.StorageInfo.Platform, static_cast<int>(OSPlatform()));
    EXPECT_EQ(list.StorageInfo.MajorVersion, static_cast<int>(OSMajorVersion()));
    EXPECT_EQ(list.StorageInfo.MinorVersion, static_cast<int>(OSMinorVersion()));
    EXPECT_EQ(list.StorageInfo.BuildNumber, static_cast<int>(OSBuildNumber()));
    EXPECT_EQ(list.StorageInfo.CSDVersion, OSCSD());
}

TEST(ProcessList, FullRefreshHoldsTheHelperItsHandlesAndItsWindow) {
    orvex::test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    TOrvex_ProcessList list;
    list.DetectionRange = AllKinds;
    list.RefreshData();

    const int index = list.FindProcess(helper.pid());
    ASSERT_GE(index, 0);
    TProcessInfo p;
    list.GetProcess(static_cast<std::uint32_t>(index), p);
    EXPECT_EQ(p.PID, helper.pid());
    EXPECT_EQ(p.Name, "orvex_test_helper.exe");
    EXPECT_GE(p.Threads.size(), 3u);

    long long threads = 0;
    for (int i = 0; i < list.ProcessCount(); ++i) {
        TProcessInfo q;
        list.GetProcess(static_cast<std::uint32_t>(i), q);
        threads += q.ThreadCount;
    }
    EXPECT_EQ(list.ThreadCount(), threads);

    bool helperHandle = false;
    for (int i = 0; i < list.HandleCount(); ++i) {
        THandleInfo h;
        list.GetHandle(static_cast<std::uint32_t>(i), h);
        if (h.ProcessID == helper.pid() && h.Handle == helper.hex("mutex")) helperHandle = true;
    }
    EXPECT_TRUE(helperHandle);
    EXPECT_GE(list.FindWindow(static_cast<std::uintptr_t>(helper.hex("hwnd"))), 1);
    EXPECT_GT(list.ServiceCount(), 0);
    EXPECT_GT(list.DriverCount(), 0);
    // The libraries bound by the refresh were already mapped: nothing stays owned.
    EXPECT_FALSE(ProcessStatusLibrary().owned());
}

// This program's own executable is listed among its modules only: the idle
// process (PID 0, where the platform lists one) has no modules at all.
TEST(ProcessList, OwnModulesBelongToThisProcessOnly) {
    TOrvex_ProcessList list;
    list.DetectionRange = TDetectionRange{dtProcesses};
    list.RefreshData();
    ASSERT_GT(list.ProcessCount(), 1);
    const auto ownBase = reinterpret_cast<std::uintptr_t>(::GetModuleHandleA(nullptr));
    bool ownListed = false;
    for (int i = 0; i < list.ProcessCount(); ++i) {
        TProcessInfo p;
        list.GetProcess(static_cast<std::uint32_t>(i), p);
        if (p.PID == 0) EXPECT_TRUE(p.Modules.empty()) << p.Modules.size() << " modules for process 0";
        for (const TModuleInfo& m : p.Modules) {
            const bool own = m.Base == ownBase && m.Name == "orvex_wine_tests.exe";
            if (own) EXPECT_EQ(p.PID, ::GetCurrentProcessId()) << "own executable listed under pid " << p.PID;
            if (own && p.PID == ::GetCurrentProcessId()) ownListed = true;
        }
    }
    EXPECT_TRUE(ownListed);
}

TEST(AllModesProcessList, CopiesBeyondTheEndAreEmptyRecords) {
    TOrvex_ProcessList list;
    list.DetectionRange = TDetectionRange{dtProcesses};
    list.RefreshData();
    ASSERT_GT(list.ProcessCount(), 0);
    TProcessInfo p;
    list.GetProcess(0, p);
    // A real record: the idle process has its fallback name, any other one
    // its identifier (its name may be unreadable, as for a 64-bit process
    // seen by the 32-bit program on the NT 4 path).
    EXPECT_TRUE(p.PID != 0 || !p.Name.empty());
    list.GetProcess(static_cast<std::uint32_t>(list.ProcessCount()), p);
    EXPECT_EQ(p.PID, 0u);
    EXPECT_TRUE(p.Name.empty());
    EXPECT_TRUE(p.Threads.empty());
    EXPECT_TRUE(p.Modules.empty());
    TServiceInfo s = Service("x", "y");
    list.GetService(0, s);
    EXPECT_TRUE(s.Name.empty());
}

TEST(AllModesProcessList, ServiceLookUps) {
    TOrvex_ProcessList list;
    list.AddService(Service("Alpha", "Alpha Service"));
    list.AddService(Service("Beta", "alpha", "Alpha Gamma"));
    list.AddService(Service("AlphaTwo", "Second", "ALPHATWO"));
    list.AddService(Service("Delta", "Delta Service", "alphatwo"));
    // Key name first within a record, then display name; the first record wins.
    EXPECT_EQ(list.FindService("ALPHA"), 0);
    EXPECT_EQ(list.FindService("second"), 2);
    EXPECT_EQ(list.FindService("Delta Service"), 3);
    EXPECT_EQ(list.FindService("none"), -1);
    EXPECT_EQ(list.GetServiceDisplayName("beta"), "alpha");
    EXPECT_EQ(list.GetServiceDisplayName("missing"), "");
    // A substring test over the whole dependency text: "Alpha" also matches
    // the services that depend only on "AlphaTwo".
    std::vector<std::string> dependents{"stale"};
    list.GetDependentServices("alpha", dependents);
    EXPECT_EQ(dependents, (std::vector<std::string>{"Beta", "AlphaTwo", "Delta"}));
    list.GetDependentServices("Gamma", dependents);
    EXPECT_EQ(dependents, (std::vector<std::string>{"Beta"}));
}

TEST(Win98ProcessList, OnlyProcessesAndWindowsAreCollected) {
    TOrvex_ProcessList list;
    list.DetectionRange = AllKinds;
    list.RefreshData();
    EXPECT_GT(list.ProcessCount(), 0);
    EXPECT_GT(list.WindowCount(), 0);
    EXPECT_EQ(list.DriverCount(), 0);
    EXPECT_EQ(list.HandleCount(), 0);
    EXPECT_EQ(list.ServiceCount(), 0);
}

TEST(Nt40ProcessList, CollectsEveryKind) {
    orvex::test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    TOrvex_ProcessList list;
    list.DetectionRange = AllKinds;
    list.RefreshData();
    EXPECT_GE(list.FindProcess(helper.pid()), 0);
    EXPECT_GT(list.DriverCount(), 0);
    EXPECT_GT(list.ServiceCount(), 0);
    EXPECT_GT(list.HandleCount(), 0);
}

// Refreshes of every kind while the system changes under them: the helper
// starts hundreds of processes that live for a few milliseconds each, creates
// and destroys windows and opens and closes handles without pause, and a
// thread of this test installs and deletes services. Every refresh finishes
// with whole records: threads under the process they belong to, no record
// without its key, no key twice; and the details dialogs finish on records
// whose process, service or window is gone.
TEST(ProcessList, RefreshesAndDetailsFinishWhileProcessesWindowsServicesAndHandlesComeAndGo) {
    orvex::test::THelperProcess helper("--no-window --churn --spawn=400 --handle-churn");
    ASSERT_TRUE(helper.started());
    std::atomic<bool> stop{false};
    std::atomic<int> servicesMade{0};
    orvex::test::TTestThread services([&] {
        for (int i = 0; i < 200 && !stop; ++i) {
            orvex::test::TInstalledTestService service("_churn");
            if (service.installed()) ++servicesMade;
        }
    });

    TOrvex_ProcessList list;
    list.DetectionRange = AllKinds;
    std::set<std::uint32_t> children;
    int childRecords = 0, roundsWithTestServices = 0;
    TProcessInfo lastChild;
    TServiceInfo lastService;
    TWindowInfo lastWindow;
    for (int round = 0; round < 8; ++round) {
        list.RefreshData();
        ASSERT_GT(list.ProcessCount(), 1) << "round " << round;
        std::set<std::uint32_t> pids;
        for (int i = 0; i < list.ProcessCount(); ++i) {
            TProcessInfo p;
            list.GetProcess(static_cast<std::uint32_t>(i), p);
            EXPECT_TRUE(pids.insert(p.PID).second) << "PID " << p.PID << " twice in round " << round;
            for (const TThreadInfo& t : p.Threads) {
                if (t.OwnerPID != 0) {
                    EXPECT_EQ(t.OwnerPID, p.PID) << "thread " << t.TID << " in round " << round;
                }
            }
            for (const TModuleInfo& m : p.Modules) EXPECT_FALSE(m.Name.empty()) << "a module of " << p.PID;
            if (p.Name == "orvex_test_helper.exe" && p.PID != helper.pid() && p.ParentPID == helper.pid()) {
                children.insert(p.PID);
                ++childRecords;
                lastChild = p;
            }
        }
        std::set<std::string> keys;
        bool testService = false;
        for (int i = 0; i < list.ServiceCount(); ++i) {
            TServiceInfo sv;
            list.GetService(static_cast<std::uint32_t>(i), sv);
            EXPECT_FALSE(sv.Name.empty()) << "round " << round;
            EXPECT_TRUE(keys.insert(sv.Name.str()).second) << sv.Name.str() << " twice in round " << round;
            if (sv.Name.str().rfind(orvex::test::TInstalledTestService::Prefix, 0) == 0) {
                testService = true;
                lastService = sv;
            }
        }
        roundsWithTestServices += testService;
        for (int i = 0; i < list.HandleCount(); ++i) {
            THandleInfo h;
            list.GetHandle(static_cast<std::uint32_t>(i), h);
            EXPECT_NE(h.Handle, 0u) << "round " << round;
            EXPECT_FALSE(h.TypeName.empty()) << h.ProcessID << " " << h.Handle << " in round " << round;
        }
        std::set<std::uintptr_t> windows;
        for (int i = 0; i < list.WindowCount(); ++i) {
            TWindowInfo w;
            list.GetWindow(static_cast<std::uint32_t>(i), w);
            EXPECT_NE(w.Handle, 0u) << "round " << round;
            EXPECT_TRUE(windows.insert(w.Handle).second) << "window " << w.Handle << " twice in round " << round;
            if (w.ProcessID == helper.pid()) lastWindow = w;
        }
    }
    stop = true;
    services.join();
    // The helper ends itself once it has stopped starting copies.
    orvex::THandle spawnStop(::OpenEventA(EVENT_MODIFY_STATE, FALSE, helper.value("stop").c_str()));
    ASSERT_TRUE(spawnStop);
    ::SetEvent(spawnStop.get());
    EXPECT_TRUE(helper.waitForExit(30000));
    EXPECT_GT(children.size(), 1u) << "the refreshes met the short-lived processes";
    EXPECT_GT(servicesMade.load(), 0);
    ASSERT_GT(childRecords, 0);
    ASSERT_GT(roundsWithTestServices, 0) << "the refreshes met the test services";
    ASSERT_NE(lastWindow.Handle, 0u);

    // The dialogs on records whose process, service and window are gone.
    TOrvex_ProcessList one;
    one.AddProcess(lastChild);
    one.AddService(lastService);
    {
        orvex::Tdlg_PrcDetails dialog(one, 0);
        orvex::test::TDialogProbe probe("Process Details", [](HWND) {});
        dialog.Execute(nullptr);
        EXPECT_TRUE(probe.Finish());
    }
    {
        orvex::Tdlg_SvcDetails dialog(one, 0);
        orvex::test::TDialogProbe probe("Service Details", [](HWND) {});
        dialog.Execute(nullptr);
        EXPECT_TRUE(probe.Finish());
    }
    orvex::test::TDialogProbe probe("Window Details", [](HWND) {});
    orvex::ShowWindowDetails(nullptr, lastWindow);
    EXPECT_TRUE(probe.Finish());
}

}  // namespace
