#pragma once

#include "graph/CanvasTypes.h"
#include "graph/SampleRing.h"

#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantel {

// One trace of a canvas. Every operation takes the lock of the canvas that
// owns the series, so a reply thread may append while the GUI thread paints.
class LECanvasSeries {
public:
    static constexpr std::size_t kMaxSamples = 99'999;
    static constexpr double kDigitalMin = -0.5;
    static constexpr double kDigitalMax = 1.5;

    // `capacity`: the most samples kept; the oldest go first beyond it.
    LECanvasSeries(std::mutex& canvasLock, std::string_view name, double scaleMin, double scaleMax,
                   std::size_t capacity = kMaxSamples);
    LECanvasSeries(const LECanvasSeries&) = delete;
    LECanvasSeries& operator=(const LECanvasSeries&) = delete;

    void SetName(std::string_view text);
    void SetUnit(std::string_view text);
    std::string GetUnit() const;
    // Ignored unless max > min (NaN included).
    void SetScale(double min, double max);
    void SetColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    void SetVisible(bool on);
    void SetDigital(bool on);
    void AppendSample(double time, double value);
    // Many samples under one lock, for loading a recorded history.
    void appendSamples(std::span<const LECanvasSample> samples);
    // Room for this many samples (up to the capacity) without regrowing.
    void reserveSamples(std::size_t count);
    void ClearSamples();
    // A pause between two samples longer than this many seconds is drawn as
    // a gap rather than a line across it; 0 (the default) draws no gaps.
    void setGapThreshold(double seconds);

    std::size_t sampleCount() const;
    bool isVisible() const;

    // Unlocked reads for code that already holds the canvas lock (painting).
    const SampleRing& samplesLocked() const { return samples_; }
    const std::string& nameLocked() const { return name_; }
    const std::string& unitLocked() const { return unit_; }
    double scaleMinLocked() const { return scaleMin_; }
    double scaleMaxLocked() const { return scaleMax_; }
    Colour colourLocked() const { return colour_; }
    bool visibleLocked() const { return visible_; }
    bool digitalLocked() const { return digital_; }
    // True when a gap lies between the samples at these times (after <= before).
    bool gapBetweenLocked(double before, double after) const;

private:
    void appendLocked(double time, double value);
    void recomputeGapsLocked();

    std::mutex* lock_;
    SampleRing samples_;
    double gapThreshold_ = 0;
    // Times of the samples that follow a gap, ascending.
    std::vector<double> gapEnds_;
    std::string name_;
    std::string unit_;
    double scaleMin_;
    double scaleMax_;
    Colour colour_;
    bool visible_ = true;
    bool digital_ = false;
};

} // namespace vantel
