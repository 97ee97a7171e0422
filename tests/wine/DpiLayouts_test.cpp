// Windows at the screen's DPI. The AnyDpi suites run at 96 DPI with the
// other tests and again with the prefix's screen at 120, 144 and 192 DPI
// (the dpi modes): every declared size is its 96-DPI size times the scale,
// every text fits its control, owner-drawn check boxes and glyphs are drawn
// at the screen's size (not stretched), and a DPI change re-lays a window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/DetailsGlyphs.h"
#include "app/DrvDetails.h"
#include "app/DrvDetailsLayout.h"
#include "app/Main.h"
#include "app/PrcDetails.h"
#include "app/PrcDetailsLayout.h"
#include "app/SvcDetails.h"
#include "app/SvcDetailsLayout.h"
#include "platform/Orvex_Dpi.h"
#include "tests/wine/DetailsProbe.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/ListHost.h"
#include "tests/wine/support/TestMode.h"
#include "ui/Orvex_DpiChange.h"
#include "ui/Orvex_GuiResources.h"
#include "ui/pure/Orvex_DpiScale.h"

namespace {

using namespace orvex::app;
using orvex::test::TDialogProbe;

int Dpi() { return orvex::SystemDpi(); }
int S(int value) { return orvex::ScaledToDpi(value, Dpi()); }

// actual is the 96-DPI size at96 at dpi, within 2 pixels per 100.
void ExpectScaled(int actual, int at96, int dpi, const std::string& what) {
    const int expected = orvex::ScaledToDpi(at96, dpi);
    EXPECT_LE(std::abs(actual - expected), 1 + 2 * expected / 100) << what << ": " << actual << " for " << expected;
}

SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// The size text takes in control's font: on one line, or broken into lines
// of at most wrapWidth pixels where that is given.
SIZE TextSize(HWND control, const std::string& text, int wrapWidth = 0) {
    orvex::TWindowDC dc(control);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    orvex::TSelectObject use(dc.get(), font ? font : GetStockObject(SYSTEM_FONT));
    RECT r{0, 0, wrapWidth > 0 ? wrapWidth : 100000, 0};
    DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_NOPREFIX | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    return {r.right - r.left, r.bottom - r.top};
}

BOOL CALLBACK CollectChild(HWND child, LPARAM all) {
    reinterpret_cast<std::vector<HWND>*>(all)->push_back(child);
    return TRUE;
}

// Every visible text of window's controls fits its control: push buttons and
// labels their client width, tabs their tab, list columns their header item.
void ExpectTextsFit(HWND window) {
    std::vector<HWND> controls;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&controls));
    for (HWND c : controls) {
        const std::string cls = orvex::test::ClassNameOf(c);
        const std::string text = orvex::test::WindowText(c);
        const LONG_PTR style = GetWindowLongPtrA(c, GWL_STYLE);
        if (text.empty()) {
            // nothing to fit
        } else if (cls == "Button" && (style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON) {
            EXPECT_LE(TextSize(c, text).cx, ClientSize(c).cx) << "button \"" << text << "\"";
        } else if (cls == "Static" && (style & SS_TYPEMASK) <= SS_RIGHT) {
            // A label breaks its text into lines: they fit its height.
            const SIZE client = ClientSize(c);
            EXPECT_LE(TextSize(c, text, client.cx).cy, client.cy) << "label \"" << text << "\"";
        } else if (cls == "Static" && (style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP) {
            EXPECT_LE(TextSize(c, text).cx, ClientSize(c).cx) << "label \"" << text << "\"";
        } else if (cls == WC_TABCONTROLA) {
            for (int i = 0; i < TabCtrl_GetItemCount(c); ++i) {
                char caption[128] = {};
                TCITEMA item{};
                item.mask = TCIF_TEXT;
                item.pszText = caption;
                item.cchTextMax = sizeof caption;
                TabCtrl_GetItem(c, i, &item);
                RECT r{};
                TabCtrl_GetItemRect(c, i, &r);
                EXPECT_LE(TextSize(c, caption).cx, r.right - r.left) << "tab \"" << caption << "\"";
            }
        } else if (cls == WC_LISTVIEWA && (style & LVS_NOCOLUMNHEADER) == 0) {
            const HWND header = ListView_GetHeader(c);
            const std::vector<std::string> captions = orvex::test::ListHeaders(c);
            for (std::size_t i = 0; i < captions.size(); ++i) {
                const int width = ListView_GetColumnWidth(c, static_cast<int>(i));
                if (width == 0) continue;  // a column this family does not show
                EXPECT_LE(TextSize(header, captions[i]).cx, width) << "column \"" << captions[i] << "\"";
            }
        }
    }
}

TEST(AnyDpiLayouts, TheScreenHasTheModesDpi) {
    const std::string& mode = orvex::test::Mode();
    EXPECT_EQ(Dpi(), mode.starts_with("dpi") ? std::stoi(mode.substr(3)) : 96);
}

TEST(AnyDpiLayouts, MainWindowScalesItsLayoutAndTexts) {
    Twnd_Main window(nullptr, false);
    const SIZE client = ClientSize(window.Handle());
    ExpectScaled(client.cx, MainClientWidth, Dpi(), "client width");
    ExpectScaled(client.cy, MainClientHeight, Dpi(), "client height");
    RECT details{};
    GetWindowRect(GetDlgItem(window.Handle(), cmPrcDetailsId), &details);
    ExpectScaled(details.right - details.left, 75, Dpi(), "button width");
    ExpectScaled(details.bottom - details.top, 25, Dpi(), "button height");
    EXPECT_EQ(ListView_GetColumnWidth(window.PrcList(), 0), S(100));
    ExpectTextsFit(window.Handle());

    // The Find window, opened over it.
    orvex::test::SendCommand(window.Handle(), cmFindId);
    ASSERT_NE(window.FindDialog(), nullptr);
    const SIZE find = ClientSize(window.FindDialog()->Handle());
    ExpectScaled(find.cx, FindClientWidth, Dpi(), "Find width");
    ExpectScaled(find.cy, FindClientHeight, Dpi(), "Find height");
    ExpectTextsFit(window.FindDialog()->Handle());

    // The notes panel holds its whole text, however long it grows.
    orvex::test::SendCommand(window.Handle(), cmFilterId);
    SetWindowTextA(window.FilterEdit(), "orvex");
    orvex::test::PumpMessages(100);
    char notes[256] = {};
    SendMessageA(window.sb(), SB_GETTEXTA, 3, reinterpret_cast<LPARAM>(notes));
    ASSERT_NE(std::string(notes).find("Shown: "), std::string::npos) << notes;
    RECT panel{};
    SendMessageA(window.sb(), SB_GETRECT, 3, reinterpret_cast<LPARAM>(&panel));
    EXPECT_LE(TextSize(window.sb(), notes).cx, panel.right - panel.left) << notes;
}

// Each details dialog of a live item: its declared size at the DPI, its
// texts whole.
TEST(AnyDpiLayouts, DetailsDialogsScaleTheirLayoutsAndTexts) {
    orvex::TOrvex_ProcessList list;
    list.RefreshData();
    const int self = list.FindProcess(GetCurrentProcessId());
    ASSERT_GE(self, 0);
    ASSERT_GT(list.DriverCount(), 0);
    ASSERT_GT(list.ServiceCount(), 0);
    struct TDialog {
        const char* Caption;
        const orvex::TDetailsFormDecl& Form;
        std::function<void()> Show;
    };
    const TDialog dialogs[] = {
        {"Process Details", orvex::PrcDetailsForm, [&] { orvex::ShowProcessDetails(nullptr, list, self); }},
        {"Driver Details", orvex::DrvDetailsForm, [&] { orvex::ShowDriverDetails(nullptr, list, 0); }},
        {"Service Details", orvex::SvcDetailsForm, [&] { orvex::ShowServiceDetails(nullptr, list, 0); }},
    };
    for (const TDialog& d : dialogs) {
        SCOPED_TRACE(d.Caption);
        SIZE client{};
        TDialogProbe probe(d.Caption, [&](HWND dialog) {
            client = ClientSize(dialog);
            ExpectTextsFit(dialog);
            RECT close{};
            GetWindowRect(GetDlgItem(dialog, orvex::IdDetailsClose), &close);
            ExpectScaled(close.right - close.left, 75, Dpi(), "Close width");
        });
        d.Show();
        ASSERT_TRUE(probe.Finish());
        ExpectScaled(client.cx, d.Form.ClientWidth, Dpi(), "client width");
        ExpectScaled(client.cy, d.Form.ClientHeight, Dpi(), "client height");
    }
}

// A check-box cell at the screen's DPI: the box S(11) pixels wide with sharp
// black corners on white, the tick's first stroke where the scaled tick
// starts, nothing grey from stretching.
TEST(AnyDpiOwnerDraw, CheckBoxIsDrawnAtTheScreensSize) {
    orvex::test::TListHost host(orvex::test::TListHost::TKind::General,
                                std::vector<orvex::test::TColumnSpec>{{"Property", 120}, {"Value", 100}});
    const int row = host.AddRow({"Visible", "1"}, orvex::rsCheckBox);
    host.Render();
    POINT p{};
    ListView_GetItemPosition(host.List(), row, &p);
    const int edge = S(11) - 1;
    // The host gives its columns their widths as they are.
    const int x0 = p.x + ListView_GetColumnWidth(host.List(), 0) + S(5);
    const int y0 = p.y + (S(16) - S(11)) / 2;
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    EXPECT_EQ(host.Pixel(x0, y0), black);
    EXPECT_EQ(host.Pixel(x0 + edge, y0 + edge), black);
    EXPECT_EQ(host.Pixel(x0 + edge - 2, y0 + edge - 2), white);  // the face, right of the tick
    EXPECT_EQ(host.Pixel(x0 + S(2), y0 + S(4)), black);          // the tick's first stroke
    EXPECT_EQ(host.Pixel(x0 + S(2), y0 + S(4) + S(3) + 1), white);
}

// The window glyph of the process details' window tree: an image of the
// system's small-icon size, its title bar a quarter of its height.
TEST(AnyDpiOwnerDraw, GlyphsAreDrawnAtTheSmallIconSize) {
    const orvex::TImageList glyphs = orvex::MakeWindowGlyphs();
    ASSERT_TRUE(glyphs);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(glyphs.get(), &cx, &cy));
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(cy, cx);
    orvex::TWindowDC screen(nullptr);
    orvex::TMemoryDC dc(CreateCompatibleDC(screen.get()));
    orvex::TBitmap bitmap(CreateCompatibleBitmap(screen.get(), cx, cy));
    orvex::TSelectObject use(dc.get(), bitmap.get());
    const RECT all{0, 0, cx, cy};
    orvex::TBrush white(CreateSolidBrush(RGB(255, 255, 255)));
    FillRect(dc.get(), &all, white.get());
    ASSERT_TRUE(ImageList_Draw(glyphs.get(), 0, dc.get(), 0, 0, ILD_NORMAL));
    const COLORREF title = GetPixel(dc.get(), cx / 2, 3);
    EXPECT_NE(title, RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc.get(), cx / 2, 2 + cx / 4 - 1), title);  // the bar's last row
    EXPECT_EQ(GetPixel(dc.get(), cx / 2, 2 + cx / 4 + 1), RGB(255, 255, 255));
}

// WM_DPICHANGED to another screen's DPI (twice this one's, or half where
// twice would not fit the test screen): the window takes the suggested
// rectangle, its controls, columns and font scale by the ratio.
TEST(AnyDpiLayouts, ADpiChangeReLaysTheMainWindow) {
    Twnd_Main window(nullptr, false);
    const int from = orvex::DpiOfWindow(window.Handle());
    const int to = from <= 144 ? 2 * from : from / 2;
    const auto scaled = [&](int value) { return orvex::ScaledBetween(value, from, to); };
    RECT before{};
    GetWindowRect(window.Handle(), &before);
    const RECT suggested{before.left, before.top, before.left + scaled(before.right - before.left),
                         before.top + scaled(before.bottom - before.top)};
    const HWND button = GetDlgItem(window.Handle(), cmPrcDetailsId);
    RECT old{};
    GetWindowRect(button, &old);
    LOGFONTA oldFont{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)), sizeof oldFont, &oldFont);
    const int column = ListView_GetColumnWidth(window.PrcList(), 0);

    SendMessageA(window.Handle(), orvex::WmDpiChanged, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));

    RECT after{};
    GetWindowRect(window.Handle(), &after);
    EXPECT_EQ(after.right - after.left, suggested.right - suggested.left);
    EXPECT_EQ(after.bottom - after.top, suggested.bottom - suggested.top);
    RECT now{};
    GetWindowRect(button, &now);
    EXPECT_LE(std::abs((now.right - now.left) - scaled(old.right - old.left)), 1);
    EXPECT_LE(std::abs((now.bottom - now.top) - scaled(old.bottom - old.top)), 1);
    EXPECT_EQ(ListView_GetColumnWidth(window.PrcList(), 0), scaled(column));
    LOGFONTA newFont{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)), sizeof newFont, &newFont);
    EXPECT_EQ(newFont.lfHeight, scaled(oldFont.lfHeight));
}

}  // namespace

namespace {

// The same for a details dialog: its frame takes the suggested rectangle,
// its pages' controls their declared places at the new DPI.
TEST(AnyDpiLayouts, ADpiChangeReLaysADetailsDialog) {
    orvex::TOrvex_ProcessList list;
    list.RefreshData();
    ASSERT_GT(list.DriverCount(), 0);
    const int from = Dpi();
    const int to = from <= 144 ? 2 * from : from / 2;
    SIZE client{};
    RECT close{}, list96{};
    LONG fontBefore = 0, fontAfter = 0, fontBack = 0;
    const auto fontHeight = [](HWND control) {
        LOGFONTA lf{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        return lf.lfHeight;
    };
    TDialogProbe probe("Driver Details", [&](HWND dialog) {
        fontBefore = fontHeight(GetDlgItem(dialog, orvex::IdDrvGenList));
        // The client area scaled, the frame as it is (the system would
        // suggest the frame at the new DPI as well).
        RECT before{};
        GetWindowRect(dialog, &before);
        const SIZE old = ClientSize(dialog);
        const int frameX = before.right - before.left - old.cx, frameY = before.bottom - before.top - old.cy;
        const RECT suggested{before.left, before.top, before.left + frameX + orvex::ScaledBetween(old.cx, from, to),
                             before.top + frameY + orvex::ScaledBetween(old.cy, from, to)};
        SendMessageA(dialog, orvex::WmDpiChanged, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
        client = ClientSize(dialog);
        GetWindowRect(GetDlgItem(dialog, orvex::IdDetailsClose), &close);
        GetWindowRect(GetDlgItem(dialog, orvex::IdDrvGenList), &list96);
        fontAfter = fontHeight(GetDlgItem(dialog, orvex::IdDrvGenList));
        // And back: the controls' font (the dialog's own by now) scales again.
        SendMessageA(dialog, orvex::WmDpiChanged, MAKEWPARAM(from, from), reinterpret_cast<LPARAM>(&before));
        fontBack = fontHeight(GetDlgItem(dialog, orvex::IdDrvGenList));
    });
    orvex::ShowDriverDetails(nullptr, list, 0);
    ASSERT_TRUE(probe.Finish());
    ExpectScaled(client.cx, orvex::DrvDetailsForm.ClientWidth, to, "client width");
    ExpectScaled(client.cy, orvex::DrvDetailsForm.ClientHeight, to, "client height");
    ExpectScaled(close.right - close.left, 75, to, "Close width");
    ExpectScaled(list96.right - list96.left, 440, to, "list width");
    EXPECT_EQ(fontAfter, orvex::ScaledBetween(fontBefore, from, to));
    EXPECT_EQ(fontBack, orvex::ScaledBetween(fontAfter, to, from));
    EXPECT_LE(std::abs(fontBack - fontBefore), 1);
}

}  // namespace
