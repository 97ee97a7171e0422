// The number of module handles read from a process-status answer.
#include <gtest/gtest.h>

#include "engine/pure/OXI_ModuleHandles.h"
#include "engine/pure/OXI_ModuleList.h"

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

// ---- the module list's own rules -----------------------------------------

TEST(ModuleList, IdleProcessHasNoModules) {
    EXPECT_FALSE(orvex::ProcessHasModules(0));
    EXPECT_TRUE(orvex::ProcessHasModules(4));
    EXPECT_TRUE(orvex::ProcessHasModules(0xFFFFFFFCu));
}

TEST(ModuleList, EachBaseAndPathOnce) {
    orvex::TModulesSeen seen;
    // the 64-bit view of a 32-bit process: executable and the 64-bit ntdll
    EXPECT_TRUE(seen.Add(0x400000, "C:\\app\\app32.exe"));
    EXPECT_TRUE(seen.Add(0x7FFA10000000, "C:\\windows\\system32\\ntdll.dll"));
    // the 32-bit view repeats the executable, with the path in another case
    EXPECT_FALSE(seen.Add(0x400000, "C:\\app\\app32.exe"));
    EXPECT_FALSE(seen.Add(0x400000, "c:\\APP\\App32.EXE"));
    EXPECT_TRUE(seen.Add(0x77000000, "C:\\windows\\syswow64\\ntdll.dll"));
    EXPECT_FALSE(seen.Add(0x77000000, "C:\\windows\\syswow64\\ntdll.dll"));
    // the same path at another base, or another path at the same base, is another module
    EXPECT_TRUE(seen.Add(0x10000000, "C:\\app\\app32.exe"));
    EXPECT_TRUE(seen.Add(0x400000, "C:\\app\\other.dll"));
    EXPECT_TRUE(seen.Add(0, ""));
    EXPECT_FALSE(seen.Add(0, ""));
}
