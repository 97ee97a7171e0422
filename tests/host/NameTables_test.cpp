#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/pure/Orvex_NameTables.h"

using namespace orvex;

TEST(KernelNameTables, SizesAndEntries) {
    static_assert(WaitReasonNames.size() == 28);
    static_assert(ThreadStateNames.size() == 8);
    static_assert(ObjectTypeNames.size() == 27);
    EXPECT_STREQ(WaitReasonNames[0], "Executive");
    EXPECT_STREQ(WaitReasonNames[13], "WrUserRequest");
    EXPECT_STREQ(WaitReasonNames[14], "WrEventPair");
    EXPECT_STREQ(WaitReasonNames[21], "Spare2");
    EXPECT_STREQ(WaitReasonNames[26], "WrKernel");
    EXPECT_STREQ(WaitReasonNames[27], "MaximumWaitReason");
    EXPECT_STREQ(ThreadStateNames[ThreadStateWait], "Wait");
    EXPECT_STREQ(ThreadStateNames[7], "Unknown");
    EXPECT_STREQ(ObjectTypeNames[ObjectTypeProcess], "Process");
    EXPECT_STREQ(ObjectTypeNames[ObjectTypeThread], "Thread");
    EXPECT_STREQ(ObjectTypeNames[ObjectTypeFile], "File");
    EXPECT_STREQ(ObjectTypeNames[11], "Unknown 11");
    EXPECT_STREQ(ObjectTypeNames[20], "Waitable Port");
    EXPECT_STREQ(ObjectTypeNames[25], "I/O Completion");
}

TEST(KernelNameTables, LookupsNeverLeaveTheTable) {
    EXPECT_EQ(WaitReasonName(5), "Suspended");
    EXPECT_EQ(WaitReasonName(28), "Unknown (28)");
    EXPECT_EQ(WaitReasonName(-1), "Unknown (-1)");
    EXPECT_EQ(ThreadStateName(2), "Running");
    EXPECT_EQ(ThreadStateName(8), "Unknown (8)");
    EXPECT_EQ(ObjectTypeName(26), "File");
    EXPECT_EQ(ObjectTypeName(27), "Unknown type 27");
    EXPECT_EQ(ObjectTypeName(0x1A05), "Unknown type 6661");
}

TEST(KernelNameTables, ObjectTypeIndexByName) {
    EXPECT_EQ(FindObjectTypeIndex("Process"), 5);
    EXPECT_EQ(FindObjectTypeIndex("File"), 26);
    EXPECT_EQ(FindObjectTypeIndex("Unknown"), 0);
    EXPECT_EQ(FindObjectTypeIndex("file"), -1);
    EXPECT_EQ(FindObjectTypeIndex("ALPC Port"), -1);
    EXPECT_EQ(FindObjectTypeIndex(""), -1);
    // Every name is unique, so the lookup finds each at its own index.
    for (std::size_t i = 0; i < ObjectTypeNames.size(); ++i)
        EXPECT_EQ(FindObjectTypeIndex(ObjectTypeNames[i]), static_cast<int>(i)) << ObjectTypeNames[i];
}

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
