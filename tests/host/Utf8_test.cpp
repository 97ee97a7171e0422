#include <gtest/gtest.h>

#include <string>

#include "platform/pure/Orvex_Utf8.h"

using namespace orvex;

TEST(Utf8, EncodesUtf16IncludingSurrogatePairs) {
    EXPECT_EQ(Utf16ToUtf8(u""), "");
    EXPECT_EQ(Utf16ToUtf8(u"abc"), "abc");
    EXPECT_EQ(Utf16ToUtf8(u"\u00E9"), "\xC3\xA9");
    EXPECT_EQ(Utf16ToUtf8(u"\u20AC"), "\xE2\x82\xAC");
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00, 0};
    EXPECT_EQ(Utf16ToUtf8(lone),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    const char16_t cut[] = {0xD83D, 0};
    EXPECT_EQ(Utf16ToUtf8(cut), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string_view(u"a\0b", 3)), std::string("a\0b", 3));
}

TEST(Utf8, KeepsWellFormedTextAndReplacesTheRest) {
    const std::string good = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF";
    EXPECT_EQ(ValidUtf8(good), good);
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(ValidUtf8("\xE9t\xE9"), fffd + "t" + fffd);                 // Latin-1 bytes
    EXPECT_EQ(ValidUtf8("\x80"), fffd);                                   // stray continuation
    EXPECT_EQ(ValidUtf8("\xC3"), fffd);                                   // cut at the end
    EXPECT_EQ(ValidUtf8("\xC0\xAF"), fffd + fffd);                        // overlong
    EXPECT_EQ(ValidUtf8("\xE0\x80\xAF"), fffd + fffd + fffd);             // overlong
    EXPECT_EQ(ValidUtf8("\xED\xA0\x80"), fffd + fffd + fffd);             // surrogate
    EXPECT_EQ(ValidUtf8("\xF4\x90\x80\x80"), fffd + fffd + fffd + fffd);  // beyond U+10FFFF
    EXPECT_EQ(ValidUtf8("\xE2\x82x"), fffd + fffd + "x");
}
