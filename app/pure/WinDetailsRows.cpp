#include "app/pure/WinDetailsRows.h"

namespace orvex {

namespace {

void AddNameRows(TPropertyRows& rows, const TStringList& names) {
    for (const std::string& name : names) rows.push_back(CheckBoxRow(name, true));
}

}  // namespace

std::string WindowTitleText(const TWindowInfo& w) { return "\"" + w.Text.str() + "\": " + w.ClassName.str(); }

TPropertyRows WindowGeneralRows(const TWindowInfo& w, bool nt) {
    return {
        HeadingRow("Handle", FormatHex0x(w.Handle)),
        PlainRow("Text", w.Text),
        PlainRow("Process", FormatPrefixedId(w.ProcessID, nt)),
        PlainRow("Thread", FormatPrefixedId(w.ThreadID, nt)),
        PlainRow("Parent Windows", FormatHex0x(w.ParentWindow)),
        PlainRow("Window Procedure", FormatHex0x(w.WndProc)),
        PlainRow("Instance Handle", FormatHex0x(w.Instance)),
        PlainRow("Identifier (ID)", FormatHex0x(w.ID)),
        SeparatorRow(),
        HeadingRow("Rectangle", FormatRect(w.Rect)),
        PlainRow("Client Rectangle", FormatRect(w.ClientRect)),
        PlainRow("User Data", FormatHex0x(w.UserData)),
    };
}

TPropertyRows WindowStyleRows(const TWindowInfo& w) {
    TPropertyRows rows;
    rows.push_back(HeadingRow("Styles", FormatHex0x(w.Style)));
    AddNameRows(rows, w.StyleNames);
    rows.push_back(SeparatorRow());
    rows.push_back(HeadingRow("Extra Styles", FormatHex0x(w.ExStyle)));
    AddNameRows(rows, w.ExStyleNames);
    return rows;
}

TPropertyRows WindowClassRows(const TWindowInfo& w) {
    TPropertyRows rows{
        HeadingRow("Class Name", w.ClassName),
        PlainRow("Class Atom", FormatHex0x(w.Atom)),
        PlainRow("Class Bytes", FormatHex0x(w.ClassExtra)),
        PlainRow("Win Bytes", FormatHex0x(w.WindowExtra)),
        PlainRow("Window Procedure", FormatHex0x(w.ClassWndProc)),
        PlainRow("Instance Handle", FormatHex0x(w.Module)),
        SeparatorRow(),
        HeadingRow("Background Brush", FormatHex0x(w.Background)),
        PlainRow("Cursor Handle", FormatHex0x(w.Cursor)),
        PlainRow("Icon Handle", FormatHex0x(w.Icon)),
        SeparatorRow(),
        HeadingRow("Class Styles", FormatHex0x(w.ClassStyle)),
    };
    AddNameRows(rows, w.ClassStyleNames);
    return rows;
}

}  // namespace orvex
