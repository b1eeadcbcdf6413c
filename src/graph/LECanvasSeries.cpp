#include "graph/LECanvasSeries.h"

#include <algorithm>
#include <cmath>

namespace vantel {
namespace {

// Name and unit fields hold at most 99 characters; longer texts are cut at a
// UTF-8 character boundary rather than overflowing anything downstream.
constexpr std::size_t kMaxTextBytes = 99;

std::string clipText(std::string_view text)
{
    if (text.size() <= kMaxTextBytes)
        return std::string(text);
    std::size_t cut = kMaxTextBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(text.substr(0, cut));
}

} // namespace

LECanvasSeries::LECanvasSeries(std::mutex& canvasLock, std::string_view name, double scaleMin, double scaleMax,
                               std::size_t capacity)
    : lock_(&canvasLock), samples_(capacity), name_(clipText(name)), scaleMin_(scaleMin), scaleMax_(scaleMax)
{
}

void LECanvasSeries::SetName(std::string_view text)
{
    const std::lock_guard guard(*lock_);
    name_ = clipText(text);
}

void LECanvasSeries::SetUnit(std::string_view text)
{
    const std::lock_guard guard(*lock_);
    unit_ = clipText(text);
}

std::string LECanvasSeries::GetUnit() const
{
    const std::lock_guard guard(*lock_);
    return unit_;
}

void LECanvasSeries::SetScale(double min, double max)
{
    if (!(max > min))
        return;
    const std::lock_guard guard(*lock_);
    scaleMin_ = min;
    scaleMax_ = max;
}

void LECanvasSeries::SetColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    const std::lock_guard guard(*lock_);
    colour_ = {red, green, blue};
}

void LECanvasSeries::SetVisible(bool on)
{
    const std::lock_guard guard(*lock_);
    visible_ = on;
}

void LECanvasSeries::SetDigital(bool on)
{
    const std::lock_guard guard(*lock_);
    digital_ = on;
    if (on) {
        scaleMin_ = kDigitalMin;
        scaleMax_ = kDigitalMax;
        unit_.clear();
    }
}

void LECanvasSeries::appendLocked(double time, double value)
{
    if (digital_ && value != 0)
        value = 1.0;
    if (samples_.size() == samples_.capacity()) {
        samples_.popFront();
        // A gap before the oldest kept sample is no gap any more.
        if (!gapEnds_.empty() && gapEnds_.front() <= samples_.front().time)
            gapEnds_.erase(gapEnds_.begin());
    }
    if (gapThreshold_ > 0 && !samples_.empty() && time - samples_.back().time > gapThreshold_)
        gapEnds_.push_back(time);
    samples_.pushBack({time, value});
}

void LECanvasSeries::AppendSample(double time, double value)
{
    const std::lock_guard guard(*lock_);
    appendLocked(time, value);
}

void LECanvasSeries::appendSamples(std::span<const LECanvasSample> samples)
{
    const std::lock_guard guard(*lock_);
    for (const LECanvasSample& sample : samples)
        appendLocked(sample.time, sample.value);
}

void LECanvasSeries::reserveSamples(std::size_t count)
{
    const std::lock_guard guard(*lock_);
    samples_.reserve(count);
}

void LECanvasSeries::ClearSamples()
{
    // The lock keeps a paint from seeing the series half cleared.
    const std::lock_guard guard(*lock_);
    samples_.clear();
    gapEnds_.clear();
}

void LECanvasSeries::setGapThreshold(double seconds)
{
    const std::lock_guard guard(*lock_);
    gapThreshold_ = seconds > 0 && std::isfinite(seconds) ? seconds : 0;
    recomputeGapsLocked();
}

void LECanvasSeries::recomputeGapsLocked()
{
    gapEnds_.clear();
    if (gapThreshold_ <= 0)
        return;
    for (std::size_t i = 1; i < samples_.size(); ++i) {
        if (samples_[i].time - samples_[i - 1].time > gapThreshold_)
            gapEnds_.push_back(samples_[i].time);
    }
}

bool LECanvasSeries::gapBetweenLocked(double before, double after) const
{
    const auto next = std::upper_bound(gapEnds_.begin(), gapEnds_.end(), before);
    return next != gapEnds_.end() && *next <= after;
}

std::size_t LECanvasSeries::sampleCount() const
{
    const std::lock_guard guard(*lock_);
    return samples_.size();
}

bool LECanvasSeries::isVisible() const
{
    const std::lock_guard guard(*lock_);
    return visible_;
}

} // namespace vantel
