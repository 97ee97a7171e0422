#include <gtest/gtest.h>

#include "app/pure/WinDetailsRows.h"

using namespace orvex;

namespace {

TWindowInfo SampleWindow() {
    TWindowInfo w;
    w.ClassName = "Button";
    w.Text = "OK";
    w.Handle = 0x1003E;
    w.ProcessID = 1234;
    w.ThreadID = 1240;
    w.ParentWindow = 0x1003A;
    w.WndProc = 0x7FF6A000;
    w.Instance = 0x400000;
    w.ID = 1;
    w.UserData = 0;
    w.Style = 0x50010001;
    w.ExStyle = 0;
    w.Rect = {10, 20, 110, 70};
    w.ClientRect = {0, 0, 100, 50};
    w.Atom = 0xC01A;
    w.ClassExtra = 0;
    w.WindowExtra = 8;
    w.ClassWndProc = 0x7FF6B000;
    w.Module = 0x7FF60000;
    w.Background = 0x10;
    w.Cursor = 0x10003;
    w.Icon = 0;
    w.ClassStyle = 0x4008;
    w.StyleNames = {"WS_CHILD", "WS_TABSTOP", "WS_VISIBLE"};
    w.ClassStyleNames = {"CS_DBLCLKS", "CS_GLOBALCLASS"};
    return w;
}

}  // namespace

TEST(WindowDetailsRows, NameFieldQuotesTheText) {
    EXPECT_EQ(WindowTitleText(SampleWindow()), "\"OK\": Button");
    EXPECT_EQ(WindowTitleText(TWindowInfo{}), "\"\": ");
}

TEST(WindowDetailsRows, GeneralPage) {
    const TPropertyRows expected{
        HeadingRow("Handle", "0x1003E"),
        PlainRow("Text", "OK"),
        PlainRow("Process", "1234"),
        PlainRow("Thread", "1240"),
        PlainRow("Parent Windows", "0x1003A"),
        PlainRow("Window Procedure", "0x7FF6A000"),
        PlainRow("Instance Handle", "0x400000"),
        PlainRow("Identifier (ID)", "0x1"),
        SeparatorRow(),
        HeadingRow("Rectangle", "(10,20)-(110,70), 100x50"),
        PlainRow("Client Rectangle", "(0,0)-(100,50), 100x50"),
        PlainRow("User Data", "0x0"),
    };
    EXPECT_EQ(WindowGeneralRows(SampleWindow(), true), expected);
}

TEST(WindowDetailsRows, NineXIdentifiersCarryThePrefix) {
    TWindowInfo w = SampleWindow();
    w.ProcessID = 0xFFFD3A5B;
    w.ThreadID = 0xFFFD1111;
    const TPropertyRows rows = WindowGeneralRows(w, false);
    EXPECT_EQ(rows[2], PlainRow("Process", "0xFFFD3A5B"));
    EXPECT_EQ(rows[3], PlainRow("Thread", "0xFFFD1111"));
}

TEST(WindowDetailsRows, StylesWithTickedNames) {
    const TPropertyRows expected{
        HeadingRow("Styles", "0x50010001"),
        CheckBoxRow("WS_CHILD", true),
        CheckBoxRow("WS_TABSTOP", true),
        CheckBoxRow("WS_VISIBLE", true),
        SeparatorRow(),
        HeadingRow("Extra Styles", "0x0"),  // no extended style: the heading alone
    };
    EXPECT_EQ(WindowStyleRows(SampleWindow()), expected);
    for (const TPropertyRow& r : WindowStyleRows(SampleWindow())) {
        if (r.Style == TRowStyle::CheckBox) {
            EXPECT_EQ(r.Values, std::vector<std::string>{"1"});
        }
    }
}

TEST(WindowDetailsRows, ClassInfoPage) {
    const TPropertyRows expected{
        HeadingRow("Class Name", "Button"),
        PlainRow("Class Atom", "0xC01A"),
        PlainRow("Class Bytes", "0x0"),
        PlainRow("Win Bytes", "0x8"),
        PlainRow("Window Procedure", "0x7FF6B000"),
        PlainRow("Instance Handle", "0x7FF60000"),
        SeparatorRow(),
        HeadingRow("Background Brush", "0x10"),
        PlainRow("Cursor Handle", "0x10003"),
        PlainRow("Icon Handle", "0x0"),
        SeparatorRow(),
        HeadingRow("Class Styles", "0x4008"),
        CheckBoxRow("CS_DBLCLKS", true),
        CheckBoxRow("CS_GLOBALCLASS", true),
    };
    EXPECT_EQ(WindowClassRows(SampleWindow()), expected);
}

TEST(WindowDetailsRows, SixtyFourBitHandlesInFull) {
    TWindowInfo w;
    w.WndProc = static_cast<std::uintptr_t>(0x7FFB12345678ull & UINTPTR_MAX);
    const std::string expected = sizeof(std::uintptr_t) == 8 ? "0x7FFB12345678" : "0x12345678";
    EXPECT_EQ(WindowGeneralRows(w, true)[5].Values[0], expected);
}
