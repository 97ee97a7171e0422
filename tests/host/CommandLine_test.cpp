// The 64-bit twin's program name and command line.
#include <gtest/gtest.h>

#include <string>

#include "platform/pure/Orvex_CommandLine.h"

using namespace orvex;

namespace {

std::string Narrow(std::u16string_view s) {
    std::string out;
    for (char16_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

}  // namespace

// The arguments are what follows the program's name as the C run-time's
// start-up code splits it off, handed on exactly as they stand.
TEST(CommandLineArguments, WhatFollowsTheProgramsName) {
    struct TCase {
        std::u16string line;
        std::u16string arguments;
    } cases[] = {
        {u"orvexinv.exe collect --json", u"collect --json"},
        {u"\"C:\\Program Files\\Orvex\\orvexinv.exe\" save \"C:\\a b.ivs\"", u"save \"C:\\a b.ivs\""},
        // A quote only ends a quoted part: the name runs on to a blank, as the
        // C run-time's argv[0] does (CommandLineToArgvW would differ).
        {u"\"C:\\dir\\orvexinv.exe\"save x", u"x"},
        {u"C:\\a\" b\"\\orvexinv.exe  \t diff  a   b ", u"diff  a   b "},  // blanks inside stay
        {u"orvexinv.exe", u""},
        {u"orvexinv.exe   ", u""},
        {u"\"unclosed quote name", u""},
        {u"", u""},
        {u"x.exe \"\\\"quoted\\\"\" ^&", u"\"\\\"quoted\\\"\" ^&"},
        {u"x.exe \u8868\u30bd", u"\u8868\u30bd"},
    };
    for (const TCase& c : cases) EXPECT_EQ(std::u16string(CommandLineArguments(c.line)), c.arguments) << Narrow(c.line);
}

TEST(TwinProgramPath, SixtyFourBeforeTheExtension) {
    struct TCase {
        std::u16string program;
        std::u16string twin;
    } cases[] = {
        {u"C:\\Orvex\\orvexpv.exe", u"C:\\Orvex\\orvexpv64.exe"},
        {u"C:\\Orvex\\orvexinv.EXE", u"C:\\Orvex\\orvexinv64.EXE"},
        {u"C:\\v1.2\\orvexpv", u"C:\\v1.2\\orvexpv64"},  // a dot of a folder is no extension
        {u"\\\\server\\share\\my.tools\\orvexpv.exe", u"\\\\server\\share\\my.tools\\orvexpv64.exe"},
        {u"C:\\\u8868\u30bd\\\u80fd.exe", u"C:\\\u8868\u30bd\\\u80fd64.exe"},
        {u"orvexpv.exe", u"orvexpv64.exe"},
        {u"C:orvexpv.exe", u"C:orvexpv64.exe"},
    };
    for (const TCase& c : cases) EXPECT_EQ(TwinProgramPath(c.program), c.twin) << Narrow(c.program);
}

TEST(ProgramCommandLine, QuotedNameThenTheArguments) {
    EXPECT_EQ(ProgramCommandLine(u"C:\\Program Files\\x64.exe", u"save \"a b.ivs\""),
              u"\"C:\\Program Files\\x64.exe\" save \"a b.ivs\"");
    EXPECT_EQ(ProgramCommandLine(u"C:\\x64.exe", u""), u"\"C:\\x64.exe\"");
    // What the twin's own start-up code splits off again is exactly what was given.
    const std::u16string given = u"diff \"C:\\a b.ivs\" C:\\c.ivs --json";
    EXPECT_EQ(CommandLineArguments(ProgramCommandLine(u"C:\\Program Files\\x64.exe", given)), given);
}
