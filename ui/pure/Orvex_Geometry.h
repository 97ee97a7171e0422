// Points, rectangles and lines in pixels.
#pragma once

namespace orvex {

struct TPixelPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPixelPoint&, const TPixelPoint&) = default;
};

struct TPixelRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TPixelRect&, const TPixelRect&) = default;
};

// A line from From to To, the end point excluded.
struct TPixelLine {
    TPixelPoint From;
    TPixelPoint To;
    friend bool operator==(const TPixelLine&, const TPixelLine&) = default;
};

}  // namespace orvex
