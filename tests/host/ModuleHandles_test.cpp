// The number of module handles read from a process-status answer.
#include <gtest/gtest.h>

#include "engine/pure/OXI_ModuleHandles.h"

using orvex::MaxModuleHandles;
using orvex::ModuleHandlesToRead;

TEST(ModuleHandles, AnswerThatFitsIsReadWhole) {
    EXPECT_EQ(ModuleHandlesToRead(0, 8), 0u);
    EXPECT_EQ(ModuleHandlesToRead(8, 8), 1u);
    EXPECT_EQ(ModuleHandlesToRead(40, 4), 10u);
    EXPECT_EQ(ModuleHandlesToRead(1024 * 8, 8), MaxModuleHandles);
    EXPECT_EQ(ModuleHandlesToRead(1024 * 4, 4), MaxModuleHandles);
}

TEST(ModuleHandles, ModulesBeyondTheBufferAreNotRead) {
    // 1,100 modules of a 64-bit and of a 32-bit process
    EXPECT_EQ(ModuleHandlesToRead(1100 * 8, 8), MaxModuleHandles);
    EXPECT_EQ(ModuleHandlesToRead(1100 * 4, 4), MaxModuleHandles);
    EXPECT_EQ(ModuleHandlesToRead(0xFFFFFFFFu, 8), MaxModuleHandles);
}

TEST(ModuleHandles, PartialHandleIsNotCounted) {
    EXPECT_EQ(ModuleHandlesToRead(15, 8), 1u);
    EXPECT_EQ(ModuleHandlesToRead(7, 8), 0u);
    EXPECT_EQ(ModuleHandlesToRead(16, 0), 0u);
}
