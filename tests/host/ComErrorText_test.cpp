#include <gtest/gtest.h>

#include "storage/pure/Orvex_ComErrorText.h"

using namespace orvex;

TEST(ComErrorText, SystemMessageLosesItsLineBreak) {
    EXPECT_EQ(ComErrorText("Access Denied.\r\n", 0x80030005u), "Access Denied.");
    EXPECT_EQ(ComErrorText("Two\r\nlines. \r\n", 0x80004005u), "Two\r\nlines.");
}

TEST(ComErrorText, MissingSystemMessageNamesTheCode) {
    EXPECT_EQ(ComErrorText("", 0x80030002u), "COM error 0x80030002");
    EXPECT_EQ(ComErrorText(" \r\n", 0x0000000Au), "COM error 0x0000000A");
    EXPECT_EQ(ComErrorText("", 0x8007000Eu), "COM error 0x8007000E");
}
