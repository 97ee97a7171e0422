#include <gtest/gtest.h>

#include "platform/pure/Orvex_StyleNames.h"

using namespace orvex;
using Names = std::vector<std::string>;

TEST(WindowStyleNames, SharedBitsGiveBothNames) {
    EXPECT_EQ(WindowStyleNames(0x00010000), (Names{"WS_MAXIMIZEBOX", "WS_TABSTOP"}));
    EXPECT_EQ(WindowStyleNames(0x00020000), (Names{"WS_GROUP", "WS_MINIMIZEBOX"}));
    EXPECT_TRUE(WindowStyleNames(0).empty());
    EXPECT_TRUE(WindowStyleNames(0x0000FFFF).empty());  // control-specific bits have no names
}

TEST(WindowStyleNames, TableOrderNotBitOrder) {
    // WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN
    EXPECT_EQ(WindowStyleNames(0x12CF0000),
              (Names{"WS_BORDER", "WS_CLIPCHILDREN", "WS_DLGFRAME", "WS_GROUP", "WS_MAXIMIZEBOX", "WS_MINIMIZEBOX",
                     "WS_SYSMENU", "WS_TABSTOP", "WS_THICKFRAME", "WS_VISIBLE"}));
    EXPECT_EQ(WindowStyleNames(0x80000000 | 0x40000000), (Names{"WS_CHILD", "WS_POPUP"}));
    EXPECT_EQ(WindowStyleNames(0xFFFFFFFF).size(), 18u);
}

TEST(ExStyleNames, ClearBitsNamedOnlyForPositiveStyles) {
    EXPECT_TRUE(ExStyleNames(0).empty());
    EXPECT_EQ(ExStyleNames(0x100),
              (Names{"WS_EX_WINDOWEDGE", "WS_EX_LEFT", "WS_EX_LTRREADING", "WS_EX_RIGHTSCROLLBAR"}));
    EXPECT_EQ(ExStyleNames(0x7000 | 0x10 | 0x1), (Names{"WS_EX_ACCEPTFILES", "WS_EX_DLGMODALFRAME", "WS_EX_RIGHT",
                                                        "WS_EX_RTLREADING", "WS_EX_LEFTSCROLLBAR"}));
    EXPECT_EQ(ExStyleNames(0x40000 | 0x20000 | 0x10000 | 0x200),
              (Names{"WS_EX_CLIENTEDGE", "WS_EX_LEFT", "WS_EX_LTRREADING", "WS_EX_RIGHTSCROLLBAR",
                     "WS_EX_CONTROLPARENT", "WS_EX_STATICEDGE", "WS_EX_APPWINDOW"}));
    // Negative as a signed number: no names at all.
    EXPECT_TRUE(ExStyleNames(0x80000100).empty());
    EXPECT_EQ(ExStyleNames(0x7FFFFFFF).size(), 16u);
}

TEST(ClassStyleNames, InListOrder) {
    EXPECT_TRUE(ClassStyleNames(0).empty());
    EXPECT_EQ(ClassStyleNames(0x1 | 0x2 | 0x8 | 0x1000),
              (Names{"CS_BYTEALIGNCLIENT", "CS_VREDRAW", "CS_HREDRAW", "CS_DBLCLKS"}));
    EXPECT_EQ(ClassStyleNames(0x4000 | 0x2000 | 0x800 | 0x200 | 0x100 | 0x80 | 0x40 | 0x20 | 0x4),
              (Names{"CS_KEYCVTWINDOW", "CS_OWNDC", "CS_CLASSDC", "CS_PARENTDC", "CS_NOKEYCVT", "CS_NOCLOSE",
                     "CS_SAVEBITS", "CS_BYTEALIGNWINDOW", "CS_GLOBALCLASS"}));
    EXPECT_TRUE(ClassStyleNames(0x10 | 0x400 | 0x10000).empty());  // unnamed bits
}
