// The kernel module list under Wine, and the words each field receives.
#include <gtest/gtest.h>

#include <windows.h>

#include "engine/OXI_Collectors.h"
#include "platform/Orvex_Native.h"

namespace {

TEST(DriverCollector, ListsKernelModulesWithTheirLoadOrderIndex) {
    ASSERT_TRUE(orvex::BindNative());
    orvex::TDriverList list;
    orvex::CollectDrivers(list);
    orvex::ReleaseNative();
    ASSERT_FALSE(list.empty());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const orvex::TDriverInfo& d = list[i];
        EXPECT_FALSE(d.Name.empty()) << i;
        EXPECT_LE(d.Name.size(), 255u);
        // The image base goes to Size; a loaded module has one.
        EXPECT_NE(d.Size, 0) << d.Name.str();
    }
}

}  // namespace
