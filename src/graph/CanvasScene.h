#pragma once

#include "graph/CanvasTypes.h"

#include <string>
#include <variant>
#include <vector>

namespace vantel {

// What one paint of a canvas draws, in order, as plain shapes: the canvas
// model decides everything and a window only replays the list.
namespace TextAlign {
inline constexpr int Left = 0x1;
inline constexpr int Right = 0x2;
inline constexpr int HCenter = 0x4;
inline constexpr int Top = 0x20;
inline constexpr int Bottom = 0x40;
inline constexpr int VCenter = 0x80;
} // namespace TextAlign

// Rectangle filled with `fill` and outlined in `outline`.
struct SceneBox {
    PixelRect rect;
    Colour fill;
    Colour outline;
};

// Outline only.
struct SceneFrame {
    PixelRect rect;
    Colour colour;
};

struct SceneLine {
    PixelPoint from;
    PixelPoint to;
    Colour colour;
    bool dotted = false;
};

// One connected stroke of a trace.
struct ScenePolyline {
    std::vector<PixelPoint> points;
    Colour colour;
    int width = 1;
};

struct SceneText {
    PixelRect box;
    std::string text; // UTF-8, single line
    Colour colour;
    int align = TextAlign::Left | TextAlign::VCenter;
};

using SceneItem = std::variant<SceneBox, SceneFrame, SceneLine, ScenePolyline, SceneText>;

struct CanvasScene {
    int fontHeight = 0;
    std::vector<SceneItem> items;
};

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kGridGrey{128, 128, 128};

} // namespace vantel
