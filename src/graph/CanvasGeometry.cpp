#include "graph/CanvasGeometry.h"

#include "graph/LECanvas.h"

#include <algorithm>
#include <cmath>

namespace vantel {
namespace {

// Far outside any window, yet safe to convert and to do arithmetic with.
constexpr double kPixelLimit = 1e7;

int roundedPixel(double position)
{
    if (std::isnan(position))
        return 0;
    return static_cast<int>(std::trunc(std::clamp(position + 0.5, -kPixelLimit, kPixelLimit)));
}

} // namespace

int FractionOf(double fraction, int size)
{
    return static_cast<int>(fraction * size);
}

CanvasGeometry::CanvasGeometry(int width, int height)
    : width_(width), height_(height), plot_{FractionOf(0.1, width), FractionOf(0.06, height), FractionOf(0.93, width),
                                            FractionOf(0.9, height)},
      frameRight_(FractionOf(0.95, width))
{
}

PixelRect CanvasGeometry::frame() const
{
    return {plot_.left - 1, plot_.top - 2, frameRight_ + 1, plot_.bottom + 2};
}

PixelRect CanvasGeometry::captionBox() const
{
    return {FractionOf(0.8, width_), 0, frameRight_, plot_.top};
}

PixelRect CanvasGeometry::legendBox() const
{
    return {plot_.left, 0, FractionOf(0.5, width_), plot_.top};
}

PixelRect CanvasGeometry::readoutStrip() const
{
    return {FractionOf(0.4, width_), 0, FractionOf(0.8, width_), plot_.top - 2};
}

PixelRect CanvasGeometry::readoutTextBox() const
{
    return {FractionOf(0.4, width_), 0, FractionOf(0.8, width_), plot_.top};
}

int CanvasGeometry::fontHeight() const
{
    return std::min(width_ * 14 / 700, height_ * 14 / 400);
}

PixelRect CanvasGeometry::valueLabelBox(int y) const
{
    return {plot_.left / 10, y - height_ / 30, plot_.left, y + height_ / 30};
}

PixelRect CanvasGeometry::dateLabelBox(int x) const
{
    const int labelTop = FractionOf(0.91, height_);
    return {x - width_ / 10, labelTop, x + width_ / 10, (labelTop + height_) / 2};
}

PixelRect CanvasGeometry::timeLabelBox(int x) const
{
    const int labelTop = FractionOf(0.91, height_);
    return {x - width_ / 10, (height_ + labelTop) / 2, x + width_ / 10, height_};
}

int CanvasGeometry::timeToX(double time, const CanvasView& view) const
{
    return plot_.left + roundedPixel((time - view.start) * (plot_.right - plot_.left) / (view.end - view.start));
}

int CanvasGeometry::valueToY(double value, double scaleMin, double scaleMax) const
{
    return plot_.bottom - roundedPixel((value - scaleMin) * (plot_.bottom - plot_.top) / (scaleMax - scaleMin));
}

int CanvasGeometry::valueToClampedY(double value, double scaleMin, double scaleMax) const
{
    return std::clamp(valueToY(value, scaleMin, scaleMax), plot_.top, plot_.bottom);
}

bool CanvasGeometry::insidePlot(PixelPoint point) const
{
    return plot_.left < point.x && point.x < plot_.right && plot_.top < point.y && point.y < plot_.bottom;
}

} // namespace vantel
