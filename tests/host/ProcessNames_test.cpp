// Fallback names of the kernel processes, path parts, and the names tried
// when completing an executable path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/pure/OXI_FileNameKey.h"
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

TEST(ProcessNames, FileNameKeysIgnoreTheCaseOfLetters) {
    EXPECT_EQ(FileNameKey("C:\\Windows\\System32\\kernel32.dll"), "C:\\WINDOWS\\SYSTEM32\\KERNEL32.DLL");
    EXPECT_EQ(FileNameKey("Notepad.EXE"), FileNameKey("notepad.exe"));
    EXPECT_NE(FileNameKey("notepad.exe"), FileNameKey("notepad.ex"));
    EXPECT_EQ(FileNameKey(""), "");
    // bytes above 0x7F and punctuation keep their values
    EXPECT_EQ(FileNameKey("\xE4"
                          "b_1.dll"),
              "\xE4"
              "B_1.DLL");
}

TEST(ProcessNames, FileNameKeyKeepsTrailBytes) {
    // 0x83 0x61 and 0x83 0x41 are two different double-byte characters of
    // code page 932: folding the trail byte would make them one name
    const auto lead = [](unsigned char c) { return c >= 0x81 && c <= 0x9F; };
    EXPECT_EQ(FileNameKey("a\x83\x61"
                          "b.exe",
                          lead),
              "A\x83\x61"
              "B.EXE");
    EXPECT_NE(FileNameKey("\x83\x61.exe", lead), FileNameKey("\x83\x41.exe", lead));
    // a lead byte at the very end has no trail byte to skip
    EXPECT_EQ(FileNameKey("ab\x83", lead), "AB\x83");
    // without the predicate every byte counts alone
    EXPECT_EQ(FileNameKey("\x83\x61", nullptr), "\x83\x41");
}
