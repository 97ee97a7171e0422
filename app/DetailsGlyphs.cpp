#include "app/DetailsGlyphs.h"

#include <cmath>
#include <functional>
#include <numbers>

#include "platform/Orvex_ComCtl32.h"
#include "platform/Orvex_FileIcon.h"

namespace orvex {

namespace {

// The colour that stands for "transparent" while a glyph is drawn.
constexpr COLORREF Transparent = RGB(255, 0, 255);

using TPainter = std::function<void(HDC dc, int size)>;

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
    TBrush brush(::CreateSolidBrush(color));
    const RECT r{left, top, right, bottom};
    ::FillRect(dc, &r, brush.get());
}

void Frame(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
    TBrush brush(::CreateSolidBrush(color));
    const RECT r{left, top, right, bottom};
    ::FrameRect(dc, &r, brush.get());
}

void PaintWindow(HDC dc, int size, COLORREF title) {
    Fill(dc, 0, 0, size, size, Transparent);
    Fill(dc, 1, 2, size - 1, size - 2, RGB(255, 255, 255));
    Fill(dc, 1, 2, size - 1, 2 + size / 4, title);
    Frame(dc, 1, 2, size - 1, size - 2, title);
}

void PaintGear(HDC dc, int size) {
    Fill(dc, 0, 0, size, size, Transparent);
    const double c = (size - 1) / 2.0;
    const double outer = size * 0.47;
    const int tooth = size >= 32 ? 4 : 2;
    TBrush steel(::CreateSolidBrush(RGB(96, 112, 136)));
    TPen pen(::CreatePen(PS_SOLID, 1, RGB(48, 56, 72)));
    TSelectObject useBrush(dc, steel.get());
    TSelectObject usePen(dc, pen.get());
    for (int k = 0; k < 8; ++k) {
        const double a = k * std::numbers::pi / 4;
        const int x = static_cast<int>(std::lround(c + std::cos(a) * (outer - tooth / 2.0)));
        const int y = static_cast<int>(std::lround(c + std::sin(a) * (outer - tooth / 2.0)));
        ::Rectangle(dc, x - tooth / 2 - 1, y - tooth / 2 - 1, x + tooth / 2 + 1, y + tooth / 2 + 1);
    }
    const int body = static_cast<int>(std::lround(size * 0.34));
    const int mid = static_cast<int>(std::lround(c));
    ::Ellipse(dc, mid - body, mid - body, mid + body + 1, mid + body + 1);
    const int hole = size >= 32 ? 4 : 2;
    TBrush white(::CreateSolidBrush(RGB(255, 255, 255)));
    TSelectObject useWhite(dc, white.get());
    ::Ellipse(dc, mid - hole, mid - hole, mid + hole + 1, mid + hole + 1);
}

void PaintChip(HDC dc, int size) {
    Fill(dc, 0, 0, size, size, Transparent);
    const int inset = size / 4;
    const int pin = size >= 32 ? 2 : 1;
    for (int y = inset + pin; y + pin <= size - inset; y += 3 * pin) {
        Fill(dc, inset - 2 * pin, y, inset, y + pin, RGB(192, 160, 64));
        Fill(dc, size - inset, y, size - inset + 2 * pin, y + pin, RGB(192, 160, 64));
    }
    Fill(dc, inset, size / 8, size - inset, size - size / 8, RGB(40, 40, 48));
    Fill(dc, inset + pin, size / 8 + pin, inset + 3 * pin, size / 8 + 3 * pin, RGB(200, 200, 200));
}

// Draws a glyph on a bitmap of its own, Transparent where nothing was drawn.
TBitmap Draw(int size, const TPainter& paint) {
    TWindowDC screen(nullptr);
    TBitmap bitmap(::CreateCompatibleBitmap(screen.get(), size, size));
    TMemoryDC dc(::CreateCompatibleDC(screen.get()));
    if (!bitmap || !dc) return {};
    TSelectObject use(dc.get(), bitmap.get());
    paint(dc.get(), size);
    return bitmap;
}

TIcon MakeIcon(int size, const TPainter& paint) {
    TBitmap color = Draw(size, paint);
    TBitmap mask(::CreateBitmap(size, size, 1, 1, nullptr));
    TWindowDC screen(nullptr);
    TMemoryDC colorDc(::CreateCompatibleDC(screen.get()));
    TMemoryDC maskDc(::CreateCompatibleDC(screen.get()));
    if (!color || !mask || !colorDc || !maskDc) return {};
    {
        TSelectObject useColor(colorDc.get(), color.get());
        TSelectObject useMask(maskDc.get(), mask.get());
        // The mask is set where the glyph is transparent ...
        ::SetBkColor(colorDc.get(), Transparent);
        ::BitBlt(maskDc.get(), 0, 0, size, size, colorDc.get(), 0, 0, SRCCOPY);
        // ... and the colour image black there.
        ::SetBkColor(colorDc.get(), RGB(0, 0, 0));
        ::SetTextColor(colorDc.get(), RGB(255, 255, 255));
        ::BitBlt(colorDc.get(), 0, 0, size, size, maskDc.get(), 0, 0, SRCAND);
    }
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask.get();
    info.hbmColor = color.get();
    return TIcon(::CreateIconIndirect(&info));
}

// Glyphs of the system's small-icon size (16 pixels at 96 DPI), drawn at
// that size rather than stretched.
TImageList MakeGlyphs(std::initializer_list<TPainter> painters) {
    const int metric = ::GetSystemMetrics(SM_CXSMICON);
    const int size = metric > 0 ? metric : 16;
    TImageList list(orvex::ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, static_cast<int>(painters.size()), 0));
    if (!list) return list;
    for (const TPainter& paint : painters) {
        TBitmap bitmap = Draw(size, paint);
        if (bitmap) orvex::ImageList_AddMasked(list.get(), bitmap.get(), Transparent);
    }
    return list;
}

}  // namespace

TIcon ExistingFileIcon(const std::string& fileName) {
    if (fileName.empty()) return {};
    const DWORD attributes = ::GetFileAttributesA(fileName.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {};
    return ExtractFileIcon(fileName, 0);
}

TIcon MakeServiceIcon(int size) { return MakeIcon(size, PaintGear); }

TIcon MakeDriverIcon(int size) { return MakeIcon(size, PaintChip); }

TImageList MakeWindowGlyphs() {
    return MakeGlyphs({[](HDC dc, int size) { PaintWindow(dc, size, RGB(128, 128, 128)); },
                       [](HDC dc, int size) { PaintWindow(dc, size, RGB(0, 64, 192)); }});
}

TImageList MakeServiceGlyphs() { return MakeGlyphs({PaintGear}); }

}  // namespace orvex
