#pragma once

#include "graph/CanvasTypes.h"

namespace vantel {

struct CanvasView;

// Where things go on a canvas of W x H pixels; every measure is a fraction of
// the canvas size so the drawing scales with it.
class CanvasGeometry {
public:
    CanvasGeometry(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    const PixelRect& plot() const { return plot_; }
    // Right end of the frame and of the value-axis lines.
    int frameRight() const { return frameRight_; }
    PixelRect frame() const;
    PixelRect captionBox() const;
    PixelRect legendBox() const;
    // The area a mouse move repaints.
    PixelRect readoutStrip() const;
    // Where the read-out text is centred (a little taller than the strip).
    PixelRect readoutTextBox() const;
    int fontHeight() const;
    // Scale-label box of a horizontal line at y.
    PixelRect valueLabelBox(int y) const;
    PixelRect dateLabelBox(int x) const;
    PixelRect timeLabelBox(int x) const;

    // Unclamped; values are kept within a range that converts safely to int.
    int timeToX(double time, const CanvasView& view) const;
    int valueToY(double value, double scaleMin, double scaleMax) const;
    int valueToClampedY(double value, double scaleMin, double scaleMax) const;
    bool insidePlot(PixelPoint point) const;

private:
    int width_;
    int height_;
    PixelRect plot_;
    int frameRight_;
};

// trunc(fraction x size), as the layout measures everything.
int FractionOf(double fraction, int size);

} // namespace vantel
