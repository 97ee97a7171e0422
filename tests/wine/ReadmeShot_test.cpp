// The README's picture of the process tree with a filter set and a change
// highlighted: not a test (DISABLED_, run by tools/readme-shots.sh), it sets
// the main window up so and writes what the screen shows of it as a PPM
// file, Z:\tmp\orvex-tree-filter-<the screen's DPI>.ppm.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "app/Main.h"
#include "app/MainLayout.h"
#include "platform/Orvex_Dpi.h"
#include "tests/wine/support/GuiDriver.h"
#include "tests/wine/support/HelperProcess.h"

namespace {

using namespace orvex::app;

TEST(DISABLED_ReadmeShot, TreeWithAFilterAndAChange) {
    orvex::ResetSortState();
    Twnd_Main w(nullptr, false);
    SetWindowPos(w.Handle(), HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    // A helper with a child and a grandchild, new since the first refresh.
    orvex::test::THelperProcess helper("--no-window --chain=2");
    ASSERT_TRUE(helper.started());
    Sleep(1500);
    orvex::test::SendCommand(w.Handle(), cmRefreshId);
    orvex::test::SendCommand(w.Handle(), cmProcessTreeId);
    orvex::test::SendCommand(w.Handle(), cmFilterId);
    SetWindowTextA(w.FilterEdit(), "orvex");
    orvex::test::PaintNow(w.Handle());
    Sleep(500);
    orvex::test::PaintNow(w.Handle());
    const RECT r = orvex::test::ScreenRect(w.Handle());
    const std::vector<std::uint32_t> pixels = orvex::test::ScreenPixels(r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const std::string name = "Z:\\tmp\\orvex-tree-filter-" + std::to_string(orvex::SystemDpi()) + ".ppm";
    FILE* out = std::fopen(name.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fprintf(out, "P6\n%d %d\n255\n", width, height);
    for (const std::uint32_t p : pixels) {
        const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                                      static_cast<unsigned char>(p)};
        std::fwrite(rgb, 1, 3, out);
    }
    std::fclose(out);
    orvex::ResetSortState();
}

}  // namespace
