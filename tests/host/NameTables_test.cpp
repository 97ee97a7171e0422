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

TEST(KernelNameTables, ObjectTypeIndexByNameInAnyCase) {
    EXPECT_EQ(FindObjectTypeIndexAnyCase("file"), ObjectTypeFile);
    EXPECT_EQ(FindObjectTypeIndexAnyCase("PROCESS"), ObjectTypeProcess);
    EXPECT_EQ(FindObjectTypeIndexAnyCase("tHREAD"), ObjectTypeThread);
    EXPECT_EQ(FindObjectTypeIndexAnyCase("Files"), -1);
    EXPECT_EQ(FindObjectTypeIndexAnyCase("ALPC Port"), -1);
    EXPECT_EQ(FindObjectTypeIndexAnyCase(""), -1);
    // No two names differ in case only: each is found at its own index.
    for (std::size_t i = 0; i < ObjectTypeNames.size(); ++i) {
        std::string upper = ObjectTypeNames[i];
        for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        EXPECT_EQ(FindObjectTypeIndexAnyCase(upper), static_cast<int>(i)) << upper;
    }
}
