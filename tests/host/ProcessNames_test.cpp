// Fallback names of the kernel processes, path parts, and the names tried
// when completing an executable path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/pure/OXI_ProcessNames.h"

using namespace orvex;

TEST(ProcessNames, FallbackNamesOfTheKernelProcesses) {
    EXPECT_EQ(FallbackProcessName(0), "[System Idle Process]");
    EXPECT_EQ(FallbackProcessName(2), "System");
    EXPECT_EQ(FallbackProcessName(4), "System");
    EXPECT_EQ(FallbackProcessName(8), "System");
    EXPECT_EQ(FallbackProcessName(9), "System");
    EXPECT_EQ(FallbackProcessName(10), "");
    EXPECT_EQ(FallbackProcessName(12), "");
    EXPECT_EQ(FallbackProcessName(0xFFFFFFFFu), "");
}

TEST(ProcessNames, FileNameAndDirectoryParts) {
    EXPECT_EQ(FileNamePart("C:\\WINNT\\system32\\smss.exe"), "smss.exe");
    EXPECT_EQ(DirectoryPart("C:\\WINNT\\system32\\smss.exe"), "C:\\WINNT\\system32\\");
    EXPECT_EQ(FileNamePart("C:notepad.exe"), "notepad.exe");
    EXPECT_EQ(DirectoryPart("C:notepad.exe"), "C:");
    EXPECT_EQ(FileNamePart("notepad.exe"), "notepad.exe");
    EXPECT_EQ(DirectoryPart("notepad.exe"), "");
    EXPECT_EQ(FileNamePart("C:\\dir\\"), "");
    EXPECT_EQ(FileNamePart(""), "");
    // "/" is no separator of these paths
    EXPECT_EQ(FileNamePart("a/b.exe"), "a/b.exe");
}

TEST(ProcessNames, TrailByteThatLooksLikeABackslash) {
    // 0x95 0x5C is one double-byte character in code page 932
    const auto lead = [](unsigned char c) { return c >= 0x81 && c <= 0x9F; };
    const std::string path = "C:\\\x95\x5C.exe";
    EXPECT_EQ(FileNamePart(path, lead), "\x95\x5C.exe");
    EXPECT_EQ(FileNamePart(path), ".exe");
    EXPECT_EQ(DirectoryPart(path, lead), "C:\\");
}

TEST(ProcessNames, CandidatesOfABareName) {
    const std::vector<std::string> expected = {"notepad.exe", "C:\\WINDOWS\\notepad.exe",
                                               "C:\\WINDOWS\\system32\\notepad.exe"};
    EXPECT_EQ(ImagePathCandidates("notepad.exe", "C:\\WINDOWS;C:\\WINDOWS\\system32;"), expected);
}

TEST(ProcessNames, CandidatesKeepTheWholePathAndItsOwnDirectoryComesFirst) {
    const std::vector<std::string> expected = {
        "\\SystemRoot\\System32\\smss.exe",
        "\\SystemRoot\\System32\\\\SystemRoot\\System32\\smss.exe",
        "C:\\WINNT\\\\SystemRoot\\System32\\smss.exe",
        "D:\\SystemRoot\\System32\\smss.exe",
    };
    // a directory that ends in a backslash or a colon gets no second one
    EXPECT_EQ(ImagePathCandidates("\\SystemRoot\\System32\\smss.exe", "C:\\WINNT\\;D:;"), expected);
}

TEST(ProcessNames, EmptyDirectoriesAreSkipped) {
    const std::vector<std::string> expected = {"a.dll", "X:\\a.dll"};
    EXPECT_EQ(ImagePathCandidates("a.dll", ";;X:\\;;"), expected);
    EXPECT_EQ(ImagePathCandidates("a.dll", ""), std::vector<std::string>{"a.dll"});
    EXPECT_TRUE(ImagePathCandidates("", "C:\\WINDOWS;").empty());
}
