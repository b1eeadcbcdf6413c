#include "graph/SeriesScene.h"

#include "graph/CanvasText.h"
#include "graph/SeriesThinning.h"

#include <cmath>

namespace vantel {
namespace {

constexpr int kScaleDivisions = 10;

Colour halfOf(Colour colour)
{
    return {static_cast<std::uint8_t>(colour.red / 2), static_cast<std::uint8_t>(colour.green / 2),
            static_cast<std::uint8_t>(colour.blue / 2)};
}

void addScaleLine(CanvasScene& scene, const CanvasGeometry& geometry, const LECanvasSeries& series, double value,
                  std::string label)
{
    const int y = geometry.valueToY(value, series.scaleMinLocked(), series.scaleMaxLocked());
    scene.items.emplace_back(
        SceneLine{{geometry.plot().left, y}, {geometry.frameRight(), y}, halfOf(series.colourLocked()), true});
    scene.items.emplace_back(SceneText{geometry.valueLabelBox(y), std::move(label), series.colourLocked(),
                                       TextAlign::Left | TextAlign::VCenter});
}

bool isDrawable(const LECanvasSample& sample)
{
    return std::isfinite(sample.time) && std::isfinite(sample.value);
}

// Collects vertices into strokes: a stroke ends after a vertex left of x = 0.
class StrokeBuilder {
public:
    StrokeBuilder(CanvasScene& scene, Colour colour, int width) : scene_(scene), colour_(colour), width_(width) {}
    ~StrokeBuilder() { flush(); }
    StrokeBuilder(const StrokeBuilder&) = delete;
    StrokeBuilder& operator=(const StrokeBuilder&) = delete;

    bool startsStroke() const { return current_.empty() || current_.back().x < 0; }
    void add(PixelPoint point)
    {
        if (startsStroke())
            flush();
        current_.push_back(point);
    }
    // A gap in the recording: the stroke ends here. A lone sample between two
    // gaps is still shown, as a dash one pixel long, unless it lies left of
    // the plot.
    void breakAtGap(int plotLeft)
    {
        if (current_.size() == 1 && current_.front().x >= plotLeft)
            current_.push_back({current_.front().x + 1, current_.front().y});
        flush();
    }

private:
    void flush()
    {
        if (current_.size() >= 2)
            scene_.items.emplace_back(ScenePolyline{std::move(current_), colour_, width_});
        current_.clear();
    }

    CanvasScene& scene_;
    Colour colour_;
    int width_;
    std::vector<PixelPoint> current_;
};

} // namespace

void AddValueAxis(CanvasScene& scene, const CanvasGeometry& geometry, const LECanvasSeries& series)
{
    scene.items.emplace_back(SceneText{geometry.legendBox(), LegendText(series.nameLocked(), series.unitLocked()),
                                       series.colourLocked(), TextAlign::Left | TextAlign::VCenter});
    if (series.digitalLocked()) {
        addScaleLine(scene, geometry, series, 1, "ON");
        addScaleLine(scene, geometry, series, 0, "OFF");
        return;
    }
    const double min = series.scaleMinLocked();
    const double max = series.scaleMaxLocked();
    for (int k = 0; k <= kScaleDivisions; ++k) {
        const double value = max - k * (max - min) / kScaleDivisions;
        addScaleLine(scene, geometry, series, value, ScaleLabel(value, min, max));
    }
}

void AddSeriesPath(CanvasScene& scene, const CanvasGeometry& geometry, const CanvasView& view,
                   const LECanvasSeries& series, int penWidth)
{
    const SampleRing& samples = series.samplesLocked();
    if (!series.visibleLocked() || samples.empty())
        return;
    const std::vector<std::size_t> indices = ThinnedIndices(samples, VisibleRange(samples, view.start, view.end));
    const double min = series.scaleMinLocked();
    const double max = series.scaleMaxLocked();
    const int left = geometry.plot().left;
    StrokeBuilder strokes(scene, series.colourLocked(), penWidth);
    double previousTime = 0;
    bool anyDrawn = false;
    for (std::size_t n = 0; n < indices.size(); ++n) {
        const std::size_t index = indices[n];
        const LECanvasSample& sample = samples[index];
        if (!isDrawable(sample))
            continue;
        if (anyDrawn && series.gapBetweenLocked(previousTime, sample.time))
            strokes.breakAtGap(left);
        previousTime = sample.time;
        anyDrawn = true;
        PixelPoint point{geometry.timeToX(sample.time, view), geometry.valueToClampedY(sample.value, min, max)};
        if (strokes.startsStroke() && point.x < left && n + 1 < indices.size()) {
            // Enter from the left edge at the value the line has there.
            const LECanvasSample& next = samples[index + 1];
            if (isDrawable(next) && next.time > sample.time && !series.gapBetweenLocked(sample.time, next.time)) {
                const double value =
                    sample.value + (next.value - sample.value) * (view.start - sample.time) / (next.time - sample.time);
                point = {left, geometry.valueToClampedY(value, min, max)};
            }
        }
        strokes.add(point);
    }
}

} // namespace vantel
