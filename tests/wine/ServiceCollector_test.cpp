// The service list against Wine's service manager and a test service of
// our own whose configuration is known.
#include <windows.h>

#include <algorithm>
#include <gtest/gtest.h>

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

}  // namespace
