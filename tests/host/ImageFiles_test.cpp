#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/pure/FindRows.h"
#include "engine/pure/OXI_ImageFiles.h"

using namespace orvex;

namespace {

bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

TEST(ImageFiles, DriverPathsAsTheModuleTableGivesThem) {
    const struct {
        const char* Reported;
        const char* File;
    } cases[] = {
        {"\\SystemRoot\\system32\\ntoskrnl.exe", "C:\\Windows\\system32\\ntoskrnl.exe"},
        {"\\systemroot\\System32\\drivers\\x.sys", "C:\\Windows\\System32\\drivers\\x.sys"},
        {"\\??\\C:\\Tools\\drv.sys", "C:\\Tools\\drv.sys"},
        {"\\\\?\\D:\\drv.sys", "D:\\drv.sys"},
        {"\\WINDOWS\\system32\\hal.dll", "C:\\WINDOWS\\system32\\hal.dll"},
        {"System32\\DRIVERS\\disk.sys", "C:\\Windows\\System32\\DRIVERS\\disk.sys"},
        {"C:\\Windows\\system32\\drivers\\a.sys", "C:\\Windows\\system32\\drivers\\a.sys"},
        {"\\\\server\\share\\b.sys", "\\\\server\\share\\b.sys"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DriverFilePath(c.Reported, "C:\\Windows"), c.File) << c.Reported;
        EXPECT_EQ(DriverFilePath(c.Reported, "C:\\Windows\\"), c.File) << c.Reported;
    }
}

TEST(ImageFiles, ServiceCommandLinesNameTheirFilesShortestFirst) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(ServiceFileCandidates("C:\\Windows\\system32\\svchost.exe -k netsvcs"),
              (Names{"C:\\Windows\\system32\\svchost.exe", "C:\\Windows\\system32\\svchost.exe -k",
                     "C:\\Windows\\system32\\svchost.exe -k netsvcs"}));
    EXPECT_EQ(ServiceFileCandidates("C:\\Program Files\\Orvex Svc\\svc"),
              (Names{"C:\\Program.exe", "C:\\Program Files\\Orvex.exe", "C:\\Program Files\\Orvex Svc\\svc.exe"}));
    EXPECT_EQ(ServiceFileCandidates("System32\\drivers\\disk.sys"), (Names{"System32\\drivers\\disk.sys"}));
    EXPECT_TRUE(ServiceFileCandidates("").empty());
    // 表 is 0x95 0x5C in code page 932: its trail byte is no backslash, and
    // the dot before it stays in the file name.
    const std::string name = "C:\\a.\x95\x5C";
    EXPECT_EQ(ServiceFileCandidates(name, ShiftJisLead), (Names{name}));
    EXPECT_EQ(ServiceFileCandidates(name), (Names{name + ".exe"}));
}

TEST(ImageFiles, FindChecksEachModuleFileOnce) {
    std::vector<TFindHit> hits(5);
    hits[0] = {1, "a.exe", false, "File", 4, "C:\\x\\log.txt"};
    hits[1] = {1, "a.exe", true, ModuleHitType, 0x1000, "C:\\w\\k32.dll"};
    hits[2] = {2, "b.exe", true, ModuleHitType, 0x1000, "C:\\w\\k32.dll"};
    hits[3] = {2, "b.exe", true, ModuleHitType, 0x2000, "lost.dll"};
    hits[4] = {3, "c.exe", true, ModuleHitType, 0x3000, "C:\\w\\u32.dll"};
    const THitFiles files = ModuleHitFiles(hits);
    EXPECT_EQ(files.Paths, (std::vector<std::string>{"C:\\w\\k32.dll", "C:\\w\\u32.dll"}));
    EXPECT_EQ(files.Hits, (std::vector<std::vector<std::size_t>>{{1, 2}, {4}}));
}

}  // namespace
