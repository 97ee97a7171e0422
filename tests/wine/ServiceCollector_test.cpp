// The service list against Wine's service manager and a test service of
// our own whose configuration is known.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/OXI_Collectors.h"
#include "platform/Orvex_AdvAPI.h"
#include "platform/Orvex_Services.h"
#include "tests/wine/support/TestService.h"

namespace {

using orvex::TServiceInfo;

const TServiceInfo* Find(const orvex::TServiceList& list, const std::string& key) {
    auto it = std::find_if(list.begin(), list.end(), [&](const TServiceInfo& s) { return s.Name == key; });
    return it == list.end() ? nullptr : &*it;
}

// The key names of the Win32 services in the manager's order, read in one
// request with a block large enough for all of them.
std::vector<std::string> KeyNamesInOneRequest() {
    std::vector<std::string> keys;
    const orvex::TScHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ENUMERATE_SERVICE),
                                   &::CloseServiceHandle);
    if (!manager) return keys;
    std::vector<ENUM_SERVICE_STATUSA> records(1u << 15);
    DWORD needed = 0, returned = 0, resume = 0;
    if (!::EnumServicesStatusA(manager.get(), SERVICE_WIN32, SERVICE_STATE_ALL, records.data(),
                               static_cast<DWORD>(records.size() * sizeof records[0]), &needed, &returned, &resume))
        return keys;
    for (DWORD i = 0; i < returned; ++i) keys.emplace_back(records[i].lpServiceName);
    return keys;
}

TEST(ServiceCollector, ListsTheTestServiceWithItsConfiguration) {
    ASSERT_TRUE(orvex::BindServiceControl());
    orvex::test::TInstalledTestService service("_collector");
    ASSERT_TRUE(service.installed()) << service.error();

    orvex::TServiceList list;
    orvex::CollectServices(list);
    const TServiceInfo* s = Find(list, service.key());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->DisplayName, service.display());
    EXPECT_EQ(s->Status, SERVICE_STOPPED);
    // Quotes removed, arguments kept.
    std::string expected = service.binaryPath();
    expected.erase(std::remove(expected.begin(), expected.end(), '"'), expected.end());
    EXPECT_EQ(s->ImageName, expected);
    EXPECT_EQ(s->ImageName.str().find('"'), std::string::npos);
    EXPECT_EQ(s->Startup, SERVICE_DEMAND_START);
    EXPECT_EQ(s->ErrCtrl, static_cast<std::uint32_t>(SERVICE_ERROR_NORMAL));
    EXPECT_EQ(s->Typ, 4) << "own process";
    EXPECT_EQ(s->ObjectName, "LocalSystem");
    EXPECT_TRUE(s->Description.empty());
    // Wine's manager reports no dependency list; Windows gives "PlugPlay".
    EXPECT_TRUE(s->DependOnService.empty() || s->DependOnService == "PlugPlay") << s->DependOnService.str();

    ASSERT_TRUE(orvex::StartNamedService("", service.key(), ""));
    list.clear();
    orvex::CollectServices(list);
    s = Find(list, service.key());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Status, SERVICE_RUNNING);
    EXPECT_TRUE(orvex::StopNamedService("", service.key()));
}

TEST(ServiceCollector, EveryWineServiceHasItsKeyNameAndState) {
    ASSERT_TRUE(orvex::BindServiceControl());
    orvex::TServiceList list;
    orvex::CollectServices(list);
    ASSERT_GE(list.size(), 5u);
    for (const TServiceInfo& s : list) {
        EXPECT_FALSE(s.Name.empty()) << s.DisplayName.str();
        EXPECT_GE(s.Status, 1) << s.Name.str();
        EXPECT_LE(s.Status, 7) << s.Name.str();
        EXPECT_GE(s.Startup, 0);
        EXPECT_LE(s.Startup, 4);
        EXPECT_FALSE(s.ImageName.empty()) << s.Name.str();
    }
    // The order is the manager's, and each service appears once.
    for (std::size_t i = 0; i < list.size(); ++i)
        for (std::size_t j = i + 1; j < list.size(); ++j) EXPECT_FALSE(list[i].Name == list[j].Name);
}

// A workstation has a few hundred services, more than one answer of the
// manager holds: every one of them is listed once, in the manager's order,
// with its own names, state and configuration.
TEST(ServiceCollector, ListsThreeHundredMoreServicesWithTheirOwnConfiguration) {
    ASSERT_TRUE(orvex::BindServiceControl());
    // Grown step by step: how many services the manager answers for in one
    // go depends on the names and the pointer width, so the listing is
    // checked at several counts on the way.
    orvex::test::TInstalledServiceBatch batch(0);
    ASSERT_TRUE(batch.installed()) << "OpenSCManagerA failed: " << batch.error();
    const auto& entries = batch.services();
    for (int step = 0; step < 15; ++step) {
        for (int i = 0; i < 20; ++i) ASSERT_TRUE(batch.Add()) << "CreateServiceA failed: " << batch.error();
        orvex::TServiceList list;
        orvex::CollectServices(list);
        ASSERT_EQ(list.size(), KeyNamesInOneRequest().size()) << entries.size() << " services of ours";
        for (const auto& entry : entries) ASSERT_NE(Find(list, entry.key), nullptr) << entry.key;
    }
    const std::size_t runningIndex = 151;
    ASSERT_TRUE(orvex::StartNamedService("", entries[runningIndex].key, ""));

    orvex::TServiceList list;
    orvex::CollectServices(list);
    const std::vector<std::string> expectedOrder = KeyNamesInOneRequest();
    EXPECT_TRUE(orvex::StopNamedService("", entries[runningIndex].key));

    ASSERT_GE(expectedOrder.size(), entries.size());
    ASSERT_EQ(list.size(), expectedOrder.size());
    for (std::size_t i = 0; i < list.size(); ++i) ASSERT_EQ(list[i].Name, expectedOrder[i]) << "record " << i;

    for (std::size_t i = 0; i < entries.size() && !HasFailure(); ++i) {
        const auto& entry = entries[i];
        SCOPED_TRACE(entry.key);
        const auto count = std::count_if(list.begin(), list.end(),
                                         [&](const TServiceInfo& s) { return s.Name == entry.key; });
        ASSERT_EQ(count, 1);
        const TServiceInfo& s = *Find(list, entry.key);
        EXPECT_EQ(s.DisplayName, entry.display);
        EXPECT_EQ(s.Status, i == runningIndex ? SERVICE_RUNNING : SERVICE_STOPPED);
        std::string image = entry.binaryPath;
        image.erase(std::remove(image.begin(), image.end(), '"'), image.end());
        EXPECT_EQ(s.ImageName, image);
        EXPECT_EQ(s.Group, entry.group);
        EXPECT_EQ(s.ErrCtrl, entry.errorControl);
        EXPECT_EQ(s.Startup, SERVICE_DEMAND_START);
        EXPECT_EQ(s.Typ, 4) << "own process";
        EXPECT_EQ(s.ObjectName, "LocalSystem");
        EXPECT_EQ(s.Tag, 0u);
        EXPECT_TRUE(s.DependOnService.empty()) << s.DependOnService.str();
        EXPECT_TRUE(s.Description.empty());
    }
}

}  // namespace
