#include <gtest/gtest.h>

#include "app/pure/FindRows.h"

namespace {

using orvex::TFindHit;

orvex::TProcList Processes() {
    orvex::TProcList list(2);
    list[0].PID = 100;
    list[0].Name = "explorer.exe";
    list[0].Modules.resize(2);
    list[0].Modules[0].ImageName = "C:\\Windows\\explorer.exe";
    list[0].Modules[0].Base = 0x400000;
    list[0].Modules[1].ImageName = "C:\\Windows\\System32\\SHELL32.dll";
    list[0].Modules[1].Base = 0x7C9C0000;
    list[1].PID = 200;
    list[1].Name = "notepad.exe";
    list[1].Modules.resize(1);
    list[1].Modules[0].ImageName = "C:\\Windows\\System32\\shell32.DLL";
    list[1].Modules[0].Base = 0x7C9C0000;
    return list;
}

orvex::THandleList Handles() {
    orvex::THandleList list(3);
    list[0].ProcessID = 200;
    list[0].Handle = 0x1C;
    list[0].TypeName = "File";
    list[0].Name = "C:\\Users\\me\\Shell32 notes.txt";
    list[1].ProcessID = 100;
    list[1].Handle = 0x20;
    list[1].TypeName = "Key";
    list[1].Name = "\\REGISTRY\\MACHINE";
    list[2].ProcessID = 999;  // an owner no longer in the process list
    list[2].Handle = 0x30;
    list[2].TypeName = "Section";
    list[2].Name = "\\BaseNamedObjects\\shell32_section";
    return list;
}

TEST(FindRows, HandlesThenModulesWithoutRegardToCase) {
    const auto hits = orvex::FindHandlesAndModules(Processes(), Handles(), "sHeLL32");
    ASSERT_EQ(hits.size(), 4u);
    EXPECT_EQ(hits[0], (TFindHit{200, "notepad.exe", false, "File", 0x1C, "C:\\Users\\me\\Shell32 notes.txt"}));
    EXPECT_EQ(hits[1], (TFindHit{999, "", false, "Section", 0x30, "\\BaseNamedObjects\\shell32_section"}));
    EXPECT_EQ(hits[2], (TFindHit{100, "explorer.exe", true, "DLL", 0x7C9C0000, "C:\\Windows\\System32\\SHELL32.dll"}));
    EXPECT_EQ(hits[3], (TFindHit{200, "notepad.exe", true, "DLL", 0x7C9C0000, "C:\\Windows\\System32\\shell32.DLL"}));
}

TEST(FindRows, EmptyOrAbsentTextFindsNothing) {
    EXPECT_TRUE(orvex::FindHandlesAndModules(Processes(), Handles(), "").empty());
    EXPECT_TRUE(orvex::FindHandlesAndModules(Processes(), Handles(), "no such text").empty());
    EXPECT_TRUE(orvex::FindHandlesAndModules({}, {}, "x").empty());
}

TEST(FindRows, SubstringAtEveryPlace) {
    EXPECT_TRUE(orvex::ContainsText("abcdef", "ABC"));
    EXPECT_TRUE(orvex::ContainsText("abcdef", "Def"));
    EXPECT_TRUE(orvex::ContainsText("abcdef", "abcdef"));
    EXPECT_TRUE(orvex::ContainsText("aab", "ab"));  // a restart after a partial match
    EXPECT_FALSE(orvex::ContainsText("abcdef", "abcdefg"));
    EXPECT_FALSE(orvex::ContainsText("abc", "abd"));
    EXPECT_TRUE(orvex::ContainsText("", ""));
    // Only ASCII letters fold: other bytes compare as they are.
    EXPECT_FALSE(orvex::ContainsText("\xC4", "\xE4"));
    EXPECT_FALSE(orvex::ContainsText("[", "{"));
}

// Lead bytes of code page 932 (Shift JIS).
bool IsShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Modules found by base name or by path: a path the code page cannot hold
// comes back with "?" in it, names no file and stays empty.
TEST(FindRows, ModulesByBaseNameOrPath) {
    orvex::TProcList list(1);
    list[0].PID = 300;
    list[0].Name = "helper.exe";
    list[0].Modules.resize(3);
    list[0].Modules[0].Name = "orvex_wide_module.dll";  // path unknown
    list[0].Modules[0].Base = 0x10000000;
    list[0].Modules[1].Name = "kernel32.dll";
    list[0].Modules[1].ImageName = "C:\\Windows\\system32\\kernel32.dll";
    list[0].Modules[1].Base = 0x7B600000;
    list[0].Modules[2].Name = "plugin.dll";
    list[0].Modules[2].ImageName = "C:\\Orvex Wide\\plugin.dll";
    list[0].Modules[2].Base = 0x20000000;
    struct TCase {
        const char* text;
        std::vector<TFindHit> hits;
    } cases[] = {
        {"ORVEX_WIDE_module", {{300, "helper.exe", true, "DLL", 0x10000000, "orvex_wide_module.dll"}}},
        {"Kernel32.DLL", {{300, "helper.exe", true, "DLL", 0x7B600000, "C:\\Windows\\system32\\kernel32.dll"}}},
        // The folder is only in the path.
        {"orvex wide\\", {{300, "helper.exe", true, "DLL", 0x20000000, "C:\\Orvex Wide\\plugin.dll"}}},
        {"orvex_wide", {{300, "helper.exe", true, "DLL", 0x10000000, "orvex_wide_module.dll"}}},
        {"system32\\plugin", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(orvex::FindHandlesAndModules(list, {}, c.text), c.hits) << c.text;
}

// Handle names and module names in code page 932: a trail byte is no letter.
TEST(FindRows, DoubleByteNamesByTheCodePage) {
    orvex::TProcList list(1);
    list[0].PID = 400;
    list[0].Name = "app.exe";
    list[0].Modules.resize(1);
    list[0].Modules[0].Name = "\x83\x61.dll";  // a double-byte character with the trail byte "a"
    list[0].Modules[0].ImageName = "C:\\\x95\x5C\\\x83\x61.dll";
    orvex::THandleList handles(1);
    handles[0].ProcessID = 400;
    handles[0].Handle = 0x44;
    handles[0].TypeName = "Mutant";
    handles[0].Name = "\\Sessions\\1\\\x83\x61";
    EXPECT_TRUE(orvex::FindHandlesAndModules(list, handles, "A", IsShiftJisLead).empty());
    EXPECT_TRUE(orvex::FindHandlesAndModules(list, handles, "\x5C\x83", IsShiftJisLead).empty());
    const auto named = orvex::FindHandlesAndModules(list, handles, "\x83\x61", IsShiftJisLead);
    ASSERT_EQ(named.size(), 2u);
    EXPECT_FALSE(named[0].Module);
    EXPECT_EQ(named[1].Name, "C:\\\x95\x5C\\\x83\x61.dll");
    // Read byte by byte the trail bytes match.
    EXPECT_EQ(orvex::FindHandlesAndModules(list, handles, "A").size(), 2u);
}

TEST(FindRows, RowsInTheFamilysBase) {
    const std::vector<TFindHit> hits{{200, "notepad.exe", false, "File", 0x1C, "C:\\x.txt"},
                                     {0xFFF1234, "app.exe", true, "DLL", 0x400000, "C:\\app.exe"}};
    const auto nt = orvex::FindRows(hits, true);
    ASSERT_EQ(nt.size(), 2u);
    EXPECT_EQ(nt[0], (orvex::TListRow{"notepad.exe", "200", "File", "0x1C", "C:\\x.txt", ""}));
    const auto w9x = orvex::FindRows(hits, false);
    EXPECT_EQ(w9x[1][orvex::FindPidColumn], orvex::FormatProcessId(0xFFF1234, false));
    EXPECT_EQ(w9x[1][orvex::FindHandleColumn], "0x400000");
    EXPECT_EQ(orvex::FindCountText(1), "1 match");
    EXPECT_EQ(orvex::FindCountText(0), "0 matches");
}

}  // namespace
