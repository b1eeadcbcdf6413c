#pragma once

#include <cstdint>

namespace vantel {

// One recorded point of a trace.
struct LECanvasSample {
    double time = 0;  // seconds since 1970-01-01 00:00 UTC
    double value = 0; // in the series' engineering unit
};

struct Colour {
    std::uint8_t red = 255;
    std::uint8_t green = 255;
    std::uint8_t blue = 255;
    friend bool operator==(const Colour&, const Colour&) = default;
};

// Pixel rectangle with exclusive right and bottom edges, as the drawing code
// of the canvas measures it.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

} // namespace vantel
