// Declared layouts: tables of controls (identifier, class, text, rectangle,
// styles, anchors) that a window or dialog is built from, and the anchor
// rules by which controls follow their parent's size.
#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "ui/pure/Orvex_Anchors.h"
#include "ui/pure/Orvex_DpiScale.h"

namespace orvex {

// x, y, width and height: pixels in a window, dialog units in a dialog.
struct TLayoutRect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

struct TControlDecl {
    int Id = 0;
    const char* ClassName = "";
    const char* Text = "";
    TLayoutRect Rect;
    DWORD Style = 0;  // WS_CHILD and WS_VISIBLE are added
    DWORD ExStyle = 0;
    unsigned Anchors = akTopLeft;
    bool HandCursor = false;
};

// Remembers where controls sat against their parent's client area and moves
// them per their anchors when the parent's size changes.
class TAnchorLayout {
public:
    // Control sits at Rect (parent client coordinates) while the parent's
    // client area is Width by Height.
    void Add(HWND control, const RECT& rect, int parentWidth, int parentHeight, unsigned anchors);
    // Moves every control for a client area of Width by Height.
    void Apply(int parentWidth, int parentHeight) const;
    // The recorded places and sizes as they are at another DPI (the parent
    // moved to a screen of toDpi).
    void Rescale(int fromDpi, int toDpi) noexcept;
    bool Empty() const noexcept { return entries_.empty(); }

private:
    struct TEntry {
        HWND Control;
        RECT Rect;
        int ParentWidth;
        int ParentHeight;
        unsigned Anchors;
    };
    std::vector<TEntry> entries_;
};

// Creates the declared controls as children of Parent, their places (laid
// out for 96 DPI) scaled to dpi and moved by Offset (pixels at dpi), with
// Font, and records them in Anchors against the parent's current client
// size. Returns the windows in table order (null where a control could not
// be created).
std::vector<HWND> CreateDeclaredControls(HWND parent, std::span<const TControlDecl> controls, HFONT font, POINT offset,
                                         TAnchorLayout& anchors, int dpi = BaseDpi);
// A declared place (96 DPI) at dpi.
RECT DeclaredRectAt(const TLayoutRect& rect, int dpi) noexcept;

// Whether a declared control with a hand cursor has this window.
bool WantsHandCursor(std::span<const TControlDecl> controls, HWND parent, HWND control);

}  // namespace orvex
