// The service routines against Wine's service control manager: a test
// service of our own (orvex_test_service.exe, installed for the suite) and
// Wine's own services.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Orvex_AdvAPI.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_Services.h"
#include "platform/pure/Orvex_BufferText.h"
#include "tests/wine/support/TestMode.h"
#include "tests/wine/support/TestService.h"

namespace {

using orvex::TScHandle;

TScHandle Own(SC_HANDLE h) { return TScHandle(h, &::CloseServiceHandle); }

using orvex::test::WaitServiceStopped;

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class ServiceRoutines : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(orvex::BindServiceControl());
        service_ = std::make_unique<orvex::test::TInstalledTestService>();
        ASSERT_TRUE(service_->installed()) << "CreateServiceA failed: " << service_->error();
        key_ = service_->key();
        display_ = service_->display();
        report_ = service_->report();
        binaryPath_ = service_->binaryPath();
        installed_ = true;
    }

    static void TearDownTestSuite() {
        service_.reset();
        installed_ = false;
    }

    void SetUp() override {
        ASSERT_TRUE(installed_);
        DeleteFileA(report_.c_str());
    }

    void TearDown() override {
        if (orvex::GetServiceCurrentState("", key_) != SERVICE_STOPPED) {
            EXPECT_TRUE(orvex::StopNamedService("", key_));
        }
    }

    static std::vector<std::string> ReportLines() { return Lines(ReadWholeFile(report_)); }

    static inline std::string key_, display_, report_, binaryPath_;
    static inline bool installed_ = false;
    static inline std::unique_ptr<orvex::test::TInstalledTestService> service_;
};

TEST_F(ServiceRoutines, InstalledServiceIsListedByDisplayNameAndFoundByIt) {
    std::vector<std::string> list{"kept"};
    ASSERT_TRUE(orvex::ListServiceDisplayNames("", SERVICE_WIN32, SERVICE_STATE_ALL, list));
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(list.front(), "kept") << "the list is appended to, not replaced";
    EXPECT_EQ(std::count(list.begin(), list.end(), display_), 1);
    EXPECT_EQ(orvex::ServiceDisplayToKeyName("", display_), key_);
    EXPECT_EQ(orvex::GetServiceCurrentState("", key_), SERVICE_STOPPED);

    // The full listing gives key name, display name and state together.
    const auto findEntry = [](const std::vector<orvex::TServiceEntry>& entries, const std::string& key) {
        return std::find_if(entries.begin(), entries.end(),
                            [&](const orvex::TServiceEntry& e) { return e.Name == key; });
    };
    std::vector<orvex::TServiceEntry> entries(1);
    ASSERT_TRUE(orvex::ListServices("", SERVICE_WIN32, SERVICE_STATE_ALL, entries));
    EXPECT_EQ(entries.front().Name, "") << "the list is appended to, not replaced";
    EXPECT_EQ(entries.size(), list.size());
    auto entry = findEntry(entries, key_);
    ASSERT_NE(entry, entries.end());
    EXPECT_EQ(entry->DisplayName, display_);
    EXPECT_EQ(entry->CurrentState, static_cast<DWORD>(SERVICE_STOPPED));
    for (std::size_t i = 1; i < entries.size(); ++i) EXPECT_EQ(entries[i].DisplayName, list[i]);

    // A stopped service is not among the active ones, a running one is.
    std::vector<std::string> active;
    ASSERT_TRUE(orvex::ListServiceDisplayNames("", SERVICE_WIN32, SERVICE_ACTIVE, active));
    EXPECT_EQ(std::count(active.begin(), active.end(), display_), 0);
    ASSERT_TRUE(orvex::StartNamedService("", key_, ""));
    active.clear();
    ASSERT_TRUE(orvex::ListServiceDisplayNames("", SERVICE_WIN32, SERVICE_ACTIVE, active));
    EXPECT_EQ(std::count(active.begin(), active.end(), display_), 1);
    entries.clear();
    ASSERT_TRUE(orvex::ListServices("", SERVICE_WIN32, SERVICE_ACTIVE, entries));
    entry = findEntry(entries, key_);
    ASSERT_NE(entry, entries.end());
    EXPECT_EQ(entry->CurrentState, static_cast<DWORD>(SERVICE_RUNNING));
    std::vector<std::string> inactive;
    ASSERT_TRUE(orvex::ListServiceDisplayNames("", SERVICE_WIN32, SERVICE_INACTIVE, inactive));
    EXPECT_EQ(std::count(inactive.begin(), inactive.end(), display_), 0);
}

TEST_F(ServiceRoutines, ConfigurationIsReadIntoTheCallersBlock) {
    orvex::TServiceConfigBuffer buffer;
    std::memset(&buffer, 0, sizeof buffer);
    ASSERT_TRUE(orvex::ReadServiceConfig("", key_, buffer));
    const QUERY_SERVICE_CONFIGA& config = buffer.config;
    EXPECT_EQ(config.dwServiceType, static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS));
    EXPECT_EQ(config.dwStartType, static_cast<DWORD>(SERVICE_DEMAND_START));
    EXPECT_EQ(config.dwErrorControl, static_cast<DWORD>(SERVICE_ERROR_NORMAL));
    EXPECT_EQ(orvex::ServiceStartTypeName(config.dwStartType), "Manual");
    EXPECT_EQ(orvex::ServiceTypeName(orvex::ServiceTypeIndex(config.dwServiceType)), "Own Process");
    EXPECT_EQ(orvex::ServiceErrorControlName(config.dwErrorControl), "Normal");
    ASSERT_NE(config.lpBinaryPathName, nullptr);
    EXPECT_EQ(std::string(config.lpBinaryPathName), binaryPath_);
    ASSERT_NE(config.lpDisplayName, nullptr);
    EXPECT_EQ(std::string(config.lpDisplayName), display_);

    // Every text lies inside the caller's block, not in a copy that is gone.
    const auto* begin = reinterpret_cast<const char*>(&buffer);
    const auto* end = begin + sizeof buffer;
    for (const char* text :
         {config.lpBinaryPathName, config.lpLoadOrderGroup, config.lpServiceStartName, config.lpDisplayName}) {
        if (!text) continue;
        EXPECT_GE(text, begin);
        EXPECT_LT(text + std::strlen(text), end);
    }
    // The dependency list, when there is one, ends inside the block too. Wine
    // does not report dependencies (it gives an empty list); Windows gives ours.
    if (config.lpDependencies) {
        const auto length = orvex::TextListInBuffer(&buffer, sizeof buffer,
                                                    reinterpret_cast<std::uintptr_t>(config.lpDependencies));
        ASSERT_TRUE(length.has_value());
        const std::string list(config.lpDependencies, *length);
        EXPECT_TRUE(list == std::string("\0", 1) || list == std::string("PlugPlay\0\0", 10)) << list;
    }
}

TEST_F(ServiceRoutines, StartPassesTheWholeParameterTextAsOneArgument) {
    ASSERT_TRUE(orvex::StartNamedService("", key_, "a b"));
    EXPECT_EQ(orvex::GetServiceCurrentState("", key_), SERVICE_RUNNING);
    EXPECT_EQ(ReportLines(), (std::vector<std::string>{"args=1", "arg=a b", "running"}));
    EXPECT_FALSE(orvex::StartNamedService("", key_, "a b")) << "the service already runs";
}

TEST_F(ServiceRoutines, StartWithOneWordAndWithNoParameters) {
    ASSERT_TRUE(orvex::StartNamedService("", key_, "a"));
    EXPECT_EQ(ReportLines(), (std::vector<std::string>{"args=1", "arg=a", "running"}));
    ASSERT_TRUE(orvex::StopNamedService("", key_));
    DeleteFileA(report_.c_str());
    ASSERT_TRUE(orvex::StartNamedService("", key_, ""));
    EXPECT_EQ(ReportLines(), (std::vector<std::string>{"args=0", "running"}));
    ASSERT_TRUE(orvex::StopNamedService("", key_));
    DeleteFileA(report_.c_str());
    // Two blanks and a line break stay inside the one argument.
    ASSERT_TRUE(orvex::StartNamedService("", key_, "x  y\r\nz"));
    const std::string report = ReadWholeFile(report_);
    EXPECT_EQ(report.rfind("args=1\narg=x  y\r\nz\nrunning\n", 0), 0u) << report;
}

TEST_F(ServiceRoutines, PauseResumeAndStopWaitForTheirStates) {
    ASSERT_TRUE(orvex::StartNamedService("", key_, ""));
    EXPECT_TRUE(orvex::PauseNamedService("", key_));
    EXPECT_EQ(orvex::GetServiceCurrentState("", key_), SERVICE_PAUSED);
    EXPECT_EQ(orvex::ServiceStateName(orvex::GetServiceCurrentState("", key_)), "Paused");
    EXPECT_TRUE(orvex::PauseNamedService("", key_)) << "pausing a paused service reports it paused";
    EXPECT_TRUE(orvex::ResumeNamedService("", key_));
    EXPECT_EQ(orvex::GetServiceCurrentState("", key_), SERVICE_RUNNING);
    EXPECT_TRUE(orvex::StopNamedService("", key_));
    EXPECT_EQ(orvex::GetServiceCurrentState("", key_), SERVICE_STOPPED);
    EXPECT_EQ(ReportLines(),
              (std::vector<std::string>{"args=0", "running", "paused", "paused", "continued", "stopped"}));
}

TEST_F(ServiceRoutines, ControlsOfAStoppedService) {
    ASSERT_EQ(orvex::GetServiceCurrentState("", key_), SERVICE_STOPPED);
    // The refused stop request still reports the stopped state.
    EXPECT_TRUE(orvex::StopNamedService("", key_));
    EXPECT_FALSE(orvex::PauseNamedService("", key_));
    EXPECT_FALSE(orvex::ResumeNamedService("", key_));
    EXPECT_EQ(orvex::GetServiceCurrentState("", key_), SERVICE_STOPPED);
}

TEST_F(ServiceRoutines, WaitingForAStateThatNeverComesEndsAtTheTimeLimit) {
    ASSERT_TRUE(orvex::StartNamedService("", key_, "--stuck-pause"));
    const DWORD start = GetTickCount();
    EXPECT_FALSE(orvex::PauseNamedService("", key_));
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, orvex::ServiceWaitLimitMs - 500);
    EXPECT_LT(elapsed, orvex::ServiceWaitLimitMs + 5000);
    EXPECT_EQ(orvex::GetServiceCurrentState("", key_), SERVICE_PAUSE_PENDING);
    EXPECT_TRUE(orvex::StopNamedService("", key_));
}

TEST_F(ServiceRoutines, UnknownServicesGiveFailureResults) {
    const std::string missing = "OrvexNoSuchService";
    EXPECT_EQ(orvex::GetServiceCurrentState("", missing), -1);
    EXPECT_FALSE(orvex::StartNamedService("", missing, "a"));
    EXPECT_FALSE(orvex::StopNamedService("", missing));
    EXPECT_FALSE(orvex::PauseNamedService("", missing));
    EXPECT_FALSE(orvex::ResumeNamedService("", missing));
    EXPECT_EQ(orvex::ServiceDisplayToKeyName("", "Orvex display name that no service has"), "");
    EXPECT_EQ(orvex::ServiceDisplayToKeyName("", ""), "");

    orvex::TServiceConfigBuffer buffer;
    std::memset(&buffer, 0xAB, sizeof buffer);
    EXPECT_FALSE(orvex::ReadServiceConfig("", missing, buffer));
    EXPECT_TRUE(std::all_of(std::begin(buffer.bytes), std::end(buffer.bytes), [](unsigned char b) {
        return b == 0xAB;
    })) << "a failed read leaves the caller's block as it was";
    // A display name is not a key name.
    EXPECT_FALSE(orvex::ReadServiceConfig("", display_, buffer));
    EXPECT_EQ(orvex::GetServiceCurrentState("", display_), -1);
}

TEST_F(ServiceRoutines, ListingGoesOnWhenTheServicesDoNotFitIntoOneRequest) {
    // Enough services with long display names to overflow one request.
    TScHandle manager = Own(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ASSERT_TRUE(manager);
    std::vector<TScHandle> created;
    std::vector<std::string> displays;
    for (int i = 0; i < 64; ++i) {
        const std::string key = key_ + "_bulk" + std::to_string(i);
        std::string display = "Orvex bulk " + std::to_string(GetCurrentProcessId()) + " " + std::to_string(i) + " ";
        display.resize(250, 'x');
        TScHandle service = Own(::CreateServiceA(manager.get(), key.c_str(), display.c_str(), SERVICE_ALL_ACCESS,
                                                 SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                                 "C:\\windows\\system32\\none.exe", nullptr, nullptr, nullptr, nullptr,
                                                 nullptr));
        if (!service) break;
        created.push_back(std::move(service));
        displays.push_back(display);
    }
    std::vector<std::string> list;
    const bool listed = orvex::ListServiceDisplayNames("", SERVICE_WIN32, SERVICE_STATE_ALL, list);
    for (TScHandle& service : created) ::DeleteService(service.get());
    ASSERT_EQ(created.size(), 64u) << "CreateServiceA failed: " << GetLastError();
    ASSERT_TRUE(listed);
    std::size_t bytes = 0;
    for (const std::string& name : list) bytes += name.size();
    EXPECT_GT(bytes + list.size() * sizeof(ENUM_SERVICE_STATUSA), 18432u) << "the list must exceed one request";
    for (const std::string& display : displays) EXPECT_EQ(std::count(list.begin(), list.end(), display), 1) << display;
    EXPECT_EQ(std::count(list.begin(), list.end(), display_), 1);
}

TEST_F(ServiceRoutines, EveryServiceIsListedWhateverTheirNumber) {
    // One more service at a time: on the way the manager answers that the
    // block is too small in each of the ways it has, and at some counts it
    // fills the block exactly.
    orvex::test::TInstalledServiceBatch batch(0);
    ASSERT_TRUE(batch.installed()) << "OpenSCManagerA failed: " << batch.error();
    std::vector<orvex::TServiceEntry> before;
    ASSERT_TRUE(orvex::ListServices("", SERVICE_WIN32, SERVICE_STATE_ALL, before));
    ASSERT_FALSE(before.empty());
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(batch.Add()) << "CreateServiceA failed: " << batch.error();
        std::vector<orvex::TServiceEntry> entries;
        ASSERT_TRUE(orvex::ListServices("", SERVICE_WIN32, SERVICE_STATE_ALL, entries));
        ASSERT_EQ(entries.size(), before.size() + batch.services().size());
        const auto& added = batch.services().back();
        const auto count = std::count_if(entries.begin(), entries.end(), [&](const orvex::TServiceEntry& e) {
            return e.Name == added.key && e.DisplayName == added.display && e.CurrentState == SERVICE_STOPPED;
        });
        ASSERT_EQ(count, 1) << added.key;
    }
}

// --- Wine's own services

class WineServiceRoutines : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(orvex::BindServiceControl()); }
};

TEST_F(WineServiceRoutines, EveryListedDisplayNameLeadsBackToItsService) {
    std::vector<std::string> list;
    ASSERT_TRUE(orvex::ListServiceDisplayNames("", SERVICE_WIN32, SERVICE_STATE_ALL, list));
    ASSERT_GE(list.size(), 5u) << "Wine registers a dozen services";
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    ASSERT_NE(manager, nullptr);
    TScHandle owner = Own(manager);
    for (const std::string& display : list) {
        const std::string key = orvex::ServiceDisplayToKeyName("", display);
        ASSERT_FALSE(key.empty()) << display;
        char back[512] = {};
        DWORD size = sizeof back;
        ASSERT_TRUE(::GetServiceDisplayNameA(manager, key.c_str(), back, &size)) << key;
        EXPECT_EQ(std::string(back), display);
        const int state = orvex::GetServiceCurrentState("", key);
        EXPECT_GE(state, SERVICE_STOPPED) << key;
        EXPECT_LE(state, SERVICE_PAUSED) << key;
    }
}

TEST_F(WineServiceRoutines, KnownServiceByKeyAndDisplayName) {
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    ASSERT_NE(manager, nullptr);
    TScHandle owner = Own(manager);
    char display[512] = {};
    DWORD size = sizeof display;
    ASSERT_TRUE(::GetServiceDisplayNameA(manager, "RpcSs", display, &size));
    EXPECT_EQ(orvex::ServiceDisplayToKeyName("", display), "RpcSs");
    std::vector<std::string> list;
    ASSERT_TRUE(orvex::ListServiceDisplayNames("", SERVICE_WIN32_SHARE_PROCESS | SERVICE_WIN32_OWN_PROCESS,
                                               SERVICE_STATE_ALL, list));
    EXPECT_NE(std::find(list.begin(), list.end(), std::string(display)), list.end());

    orvex::TServiceConfigBuffer buffer{};
    ASSERT_TRUE(orvex::ReadServiceConfig("", "RpcSs", buffer));
    ASSERT_NE(buffer.config.lpBinaryPathName, nullptr);
    EXPECT_NE(std::string(buffer.config.lpBinaryPathName).find(".exe"), std::string::npos)
        << buffer.config.lpBinaryPathName;
}

TEST_F(WineServiceRoutines, DriversAreNotListedAsWin32Services) {
    std::vector<std::string> drivers;
    ASSERT_TRUE(orvex::ListServiceDisplayNames("", SERVICE_DRIVER, SERVICE_STATE_ALL, drivers));
    ASSERT_FALSE(drivers.empty()) << "Wine registers its own kernel drivers (mountmgr, winebus, ...)";
    std::vector<std::string> win32;
    ASSERT_TRUE(orvex::ListServiceDisplayNames("", SERVICE_WIN32, SERVICE_STATE_ALL, win32));
    for (const std::string& name : drivers) EXPECT_EQ(std::find(win32.begin(), win32.end(), name), win32.end()) << name;
}

}  // namespace
