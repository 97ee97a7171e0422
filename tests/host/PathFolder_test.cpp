// Replacing the folder a path lies in (System32 and its Sysnative alias), in
// single-byte, double-byte and UTF-8 code pages.
#include <gtest/gtest.h>

#include <string>

#include "platform/pure/Orvex_PathFolder.h"

using namespace orvex;

namespace {

// Lead bytes of code page 932 (Shift JIS).
bool IsShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

}  // namespace

TEST(ReplaceLeadingFolder, PathsBelowTheFolderOnly) {
    struct TCase {
        const char* path;
        const char* folder;
        TLeadBytePredicate lead;
        bool replaced;
        const char* result;
    } cases[] = {
        {"C:\\Windows\\System32\\drivers\\x.sys", "C:\\Windows\\system32", nullptr, true,
         "C:\\Windows\\Sysnative\\drivers\\x.sys"},
        {"c:\\windows\\SYSTEM32\\kernel32.dll", "C:\\Windows\\System32\\", nullptr, true,
         "C:\\Windows\\Sysnative\\kernel32.dll"},
        {"C:\\Windows\\System32", "C:\\Windows\\System32", nullptr, true, "C:\\Windows\\Sysnative"},
        {"C:\\Windows\\System32x\\a.dll", "C:\\Windows\\System32", nullptr, false, ""},
        {"C:\\Windows\\SysWOW64\\a.dll", "C:\\Windows\\System32", nullptr, false, ""},
        {"C:\\Windows", "C:\\Windows\\System32", nullptr, false, ""},
        {"D:\\Windows\\System32\\a.dll", "C:\\Windows\\System32", nullptr, false, ""},
        {"", "C:\\Windows\\System32", nullptr, false, ""},
        {"C:\\Windows\\System32\\a.dll", "", nullptr, false, ""},
        // Code page 932: 0x95 0x5C is one character (its trail byte is a
        // backslash), and 0x83 0x61 (trail byte "a") does not match "A".
        {"C:\\\x95\x5C\\System32\\a.dll", "C:\\\x95\x5C\\System32", IsShiftJisLead, true,
         "C:\\Windows\\Sysnative\\a.dll"},
        {"C:\\\x83\x61\\System32\\a.dll", "C:\\\x83\x41\\System32", IsShiftJisLead, false, ""},
        {"C:\\\x95\x5C\\System32\\a.dll", "C:\\\x95", IsShiftJisLead, false, ""},
        // A folder that ends in a double-byte character whose trail byte is a
        // backslash keeps that character.
        {"C:\\\x95\x5C\\a.dll", "C:\\\x95\x5C", IsShiftJisLead, true, "C:\\Windows\\Sysnative\\a.dll"},
        // UTF-8 has no lead bytes in this sense: every byte compares as it is.
        {"C:\\\xD0\x9F\\System32\\a.dll", "C:\\\xD0\x9F\\system32", nullptr, true, "C:\\Windows\\Sysnative\\a.dll"},
        {"C:\\\xD0\xBF\\System32\\a.dll", "C:\\\xD0\x9F\\System32", nullptr, false, ""},
    };
    for (const TCase& c : cases) {
        std::string out = "unchanged";
        EXPECT_EQ(ReplaceLeadingFolder(c.path, c.folder, "C:\\Windows\\Sysnative", c.lead, out), c.replaced)
            << c.path << " under " << c.folder;
        EXPECT_EQ(out, c.replaced ? std::string(c.result) : std::string("unchanged")) << c.path;
    }
}

// The folder a file is written beside: a double-byte character whose trail
// byte is a backslash (code page 932) is no separator.
TEST(FolderPartLength, LastSeparatorOutsideDoubleByteCharacters) {
    struct TCase {
        const char* path;
        TLeadBytePredicate lead;
        const char* folder;  // nullptr: none
    } cases[] = {
        {"C:\\reports\\a.ivs", nullptr, "C:\\reports"},
        {"C:\\a.ivs", nullptr, "C:\\"},
        {"\\a.ivs", nullptr, "\\"},
        {"C:a.ivs", nullptr, "C:"},
        {"a.ivs", nullptr, nullptr},
        {"", nullptr, nullptr},
        {"\\\\server\\share\\a.ivs", nullptr, "\\\\server\\share"},
        {"dir/a.ivs", nullptr, "dir"},
        // Code page 932: C:\<hyo><so>\<nou><hyo>.ivs, whose characters end in 0x5C.
        {"C:\\\x95\x5C\x83\x5C\\\x94\x5C\x95\x5C.ivs", IsShiftJisLead, "C:\\\x95\x5C\x83\x5C"},
        {"\x95\x5C\x83\x5C.ivs", IsShiftJisLead, nullptr},
        // Read without the code page's lead bytes, the same bytes split wrongly.
        {"\x95\x5C\x83\x5C.ivs", nullptr, "\x95\x5C\x83"},
        // UTF-8 has no byte below 0x80 inside a character.
        {"C:\\\xE8\xA1\xA8\\a.ivs", nullptr, "C:\\\xE8\xA1\xA8"},
    };
    for (const TCase& c : cases) {
        const std::size_t length = FolderPartLength(c.path, c.lead);
        if (!c.folder) {
            EXPECT_EQ(length, std::string_view::npos) << c.path;
            continue;
        }
        ASSERT_NE(length, std::string_view::npos) << c.path;
        EXPECT_EQ(std::string(c.path, length), c.folder) << c.path;
    }
}

// Wildcards count in the file-name part only, as the system's file search
// takes them; the folder part is found as above.
TEST(HasWildcards, InTheFileNamePartOnly) {
    struct TCase {
        const char* path;
        TLeadBytePredicate lead;
        bool wildcards;
    } cases[] = {
        {"C:\\inv\\*.ivs", nullptr, true},
        {"\\\\server\\inv\\host??.ivs", nullptr, true},
        {"C:*", nullptr, true},
        {"*", nullptr, true},
        {"C:\\inv\\a.ivs", nullptr, false},
        {"C:\\in*\\a.ivs", nullptr, false},
        {"dir?/a.ivs", nullptr, false},
        {"", nullptr, false},
        // Code page 932: <hyo>*.ivs, the character's trail byte 0x5C no separator.
        {"\x95\x5C*.ivs", IsShiftJisLead, true},
        {"C:\\\x95\x5C\\a.ivs", IsShiftJisLead, false},
    };
    for (const TCase& c : cases) EXPECT_EQ(HasWildcards(c.path, c.lead), c.wildcards) << c.path;
}
