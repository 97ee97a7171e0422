#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/pure/Orvex_BufferText.h"

using orvex::TextInBuffer;
using orvex::TextListInBuffer;

namespace {

std::uintptr_t At(const std::string& buffer, std::size_t offset) {
    return reinterpret_cast<std::uintptr_t>(buffer.data()) + offset;
}

}  // namespace

TEST(BufferText, TextMustStartAndEndInsideTheBuffer) {
    const std::string buffer("head\0name\0tail", 14);  // no zero after "tail"
    EXPECT_EQ(TextInBuffer(buffer.data(), buffer.size(), At(buffer, 0)), "head");
    EXPECT_EQ(TextInBuffer(buffer.data(), buffer.size(), At(buffer, 5)), "name");
    EXPECT_EQ(TextInBuffer(buffer.data(), buffer.size(), At(buffer, 4)), "");
    EXPECT_FALSE(TextInBuffer(buffer.data(), buffer.size(), At(buffer, 10))) << "runs off the end";
    EXPECT_FALSE(TextInBuffer(buffer.data(), buffer.size(), At(buffer, 14))) << "one past the end";
    EXPECT_FALSE(TextInBuffer(buffer.data(), buffer.size(), At(buffer, 0) - 1)) << "before the start";
    EXPECT_FALSE(TextInBuffer(buffer.data(), buffer.size(), 0));
    EXPECT_FALSE(TextInBuffer(buffer.data(), 0, At(buffer, 0)));
    EXPECT_FALSE(TextInBuffer(nullptr, 10, 0));
    // The size limits the search even when the memory beyond holds a zero.
    EXPECT_FALSE(TextInBuffer(buffer.data(), 3, At(buffer, 0)));
    EXPECT_EQ(TextInBuffer(buffer.data(), 5, At(buffer, 0)), "head");
}

TEST(BufferText, TextListEndsAtTheEmptyText) {
    const std::string buffer(
        "xx"
        "RpcSs\0PlugPlay\0\0"
        "yy",
        21);
    EXPECT_EQ(TextListInBuffer(buffer.data(), buffer.size(), At(buffer, 2)), 16u);
    const std::string empty("\0", 1);
    EXPECT_EQ(TextListInBuffer(empty.data(), empty.size(), At(empty, 0)), 1u);
    const std::string one("a\0\0", 3);
    EXPECT_EQ(TextListInBuffer(one.data(), one.size(), At(one, 0)), 3u);
    // A list whose final empty text is missing, or cut by the buffer's end.
    const std::string open("a\0b\0", 4);
    EXPECT_FALSE(TextListInBuffer(open.data(), open.size(), At(open, 0)));
    EXPECT_FALSE(TextListInBuffer(buffer.data(), 17, At(buffer, 2)));
    EXPECT_EQ(TextListInBuffer(buffer.data(), 18, At(buffer, 2)), 16u);
    EXPECT_FALSE(TextListInBuffer(buffer.data(), buffer.size(), At(buffer, 21)));
    EXPECT_FALSE(TextListInBuffer(buffer.data(), buffer.size(), 0));
}
