#include <gtest/gtest.h>

#include "storage/pure/Orvex_ComErrorText.h"

using namespace orvex;

TEST(ComErrorText, SystemMessageLosesItsLineBreakAndNamesTheCode) {
    EXPECT_EQ(ComErrorText("Access Denied.\r\n", 0x80030005u), "Access Denied. (0x80030005)");
    EXPECT_EQ(ComErrorText("Two\r\nlines. \r\n", 0x80004005u), "Two\r\nlines. (0x80004005)");
    EXPECT_EQ(ComErrorText("Not enough storage.", 0x8007000Eu), "Not enough storage. (0x8007000E)");
}

TEST(ComErrorText, MissingSystemMessageNamesTheCode) {
    EXPECT_EQ(ComErrorText("", 0x80030002u), "COM error 0x80030002");
    EXPECT_EQ(ComErrorText(" \r\n", 0x0000000Au), "COM error 0x0000000A");
    EXPECT_EQ(ComErrorText("", 0x8007000Eu), "COM error 0x8007000E");
    // a message that is nothing but an insert is no message
    EXPECT_EQ(ComErrorText("%1\r\n", 0x80030050u), "COM error 0x80030050");
}

TEST(ComErrorText, InsertsWithoutValuesAreTakenOut) {
    // the compound-file messages of the system, as read without their inserts
    EXPECT_EQ(ComErrorText("%1 could not be found.\r\n", 0x80030002u), "Could not be found. (0x80030002)");
    EXPECT_EQ(ComErrorText("%1 already exists.\r\n", 0x80030050u), "Already exists. (0x80030050)");
    EXPECT_EQ(MessageWithoutInserts("The file %1 is not a valid compound file."),
              "The file is not a valid compound file.");
    EXPECT_EQ(MessageWithoutInserts("Cannot open %1."), "Cannot open.");
    EXPECT_EQ(MessageWithoutInserts("Cannot open '%1': %2!s! bytes"), "Cannot open: bytes");
    EXPECT_EQ(MessageWithoutInserts("Error %12 at %3!d!, %4"), "Error at,");
    EXPECT_EQ(MessageWithoutInserts("%1 and %2"), "And");
    for (const char* m : {"%1 could not be found.", "x %9!lu! y", "%1", "a %99 b", "%1!s!%2"})
        EXPECT_EQ(MessageWithoutInserts(m).find('%'), std::string::npos) << m;
}

TEST(ComErrorText, EscapesStandForTheirCharacters) {
    EXPECT_EQ(MessageWithoutInserts("100%% done%."), "100% done.");
    EXPECT_EQ(MessageWithoutInserts("first%nsecond"), "first\r\nsecond");
    EXPECT_EQ(MessageWithoutInserts("kept%0 dropped"), "kept");
    EXPECT_EQ(MessageWithoutInserts("Stop%!"), "Stop!");
    EXPECT_EQ(MessageWithoutInserts("%%1 is no insert"), "%1 is no insert");
    EXPECT_EQ(MessageWithoutInserts("odd %q and a lone %"), "odd %q and a lone %");
}
