#include <gtest/gtest.h>

#include "platform/pure/Orvex_ServiceNames.h"

using namespace orvex;

TEST(ServiceNameTables, SizesAndEntries) {
    static_assert(ServiceStartTypeNames.size() == 5);
    static_assert(ServiceStateNames.size() == 7);
    static_assert(ServiceErrorControlNames.size() == 2);
    static_assert(ServiceTypeNames.size() == 7 && ServiceTypeValues.size() == 7);
    EXPECT_STREQ(ServiceStartTypeNames[2], "Automatic");
    EXPECT_STREQ(ServiceStartTypeNames[4], "Disabled");
    EXPECT_STREQ(ServiceStateNames[3], "Running");
    EXPECT_STREQ(ServiceStateNames[6], "Paused");
    EXPECT_STREQ(ServiceErrorControlNames[1], "Normal");
    EXPECT_STREQ(ServiceTypeNames[6], "Desktop Interactive Driver");
}

TEST(ServiceNameTables, LookupsByValue) {
    EXPECT_EQ(ServiceStateName(4), "Running");  // state values start at 1
    EXPECT_EQ(ServiceStateName(1), "Stopped");
    EXPECT_EQ(ServiceStateName(7), "Paused");
    EXPECT_EQ(ServiceStateName(0), "Unknown (0)");
    EXPECT_EQ(ServiceStateName(-1), "Unknown (-1)");
    EXPECT_EQ(ServiceStateName(8), "Unknown (8)");
    EXPECT_EQ(ServiceStartTypeName(0), "Boot");
    EXPECT_EQ(ServiceStartTypeName(3), "Manual");
    EXPECT_EQ(ServiceStartTypeName(5), "Unknown (5)");
    EXPECT_EQ(ServiceErrorControlName(0), "Ignore");
    EXPECT_EQ(ServiceErrorControlName(2), "Severe");
    EXPECT_EQ(ServiceErrorControlName(3), "Critical");
    EXPECT_EQ(ServiceErrorControlName(4), "Unknown (4)");
    EXPECT_EQ(ServiceTypeName(4), "Own Process");
    EXPECT_EQ(ServiceTypeName(7), "Unknown (7)");
}

TEST(ServiceNameTables, TypeIndexOfSingleTypeValuesOnly) {
    const int expected[] = {0, 1, 2, 3, 4, 5, 6};
    const std::uint32_t values[] = {1, 2, 4, 8, 16, 32, 256};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(ServiceTypeIndex(values[i]), expected[i]);
        EXPECT_EQ(ServiceTypeValues[static_cast<std::size_t>(i)], values[i]);
    }
    EXPECT_EQ(ServiceTypeName(ServiceTypeIndex(0x20)), "Shared Process");
    EXPECT_EQ(ServiceTypeIndex(0x110), 0);  // own process, interactive
    EXPECT_EQ(ServiceTypeIndex(0x30), 0);
    EXPECT_EQ(ServiceTypeIndex(0), 0);
    EXPECT_EQ(ServiceTypeIndex(0x40), 0);
}

TEST(ServiceNameTables, EveryEntryInOrder) {
    const char* starts[] = {"Boot", "System", "Automatic", "Manual", "Disabled"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(ServiceStartTypeName(i), starts[i]);
    const char* states[] = {"Stopped",          "Start/Pending", "Stop/Pending", "Running",
                            "Continue/Pending", "Pause/Pending", "Paused"};
    for (int value = 1; value <= 7; ++value) EXPECT_EQ(ServiceStateName(value), states[value - 1]);
    const char* types[] = {"Kernel Driver",  "File System Driver",        "Adapter", "Recognizer Driver", "Own Process",
                           "Shared Process", "Desktop Interactive Driver"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(ServiceTypeName(i), types[i]);
    EXPECT_EQ(ServiceErrorControlName(1), "Normal");
    EXPECT_EQ(ServiceStateName(INT64_MIN), "Unknown (-9223372036854775808)");
    EXPECT_EQ(ServiceTypeName(INT64_MAX), "Unknown (9223372036854775807)");
}
