#include "graph/LECanvas.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantel {
namespace {

constexpr double kMinute = 60;
constexpr double kHour = 3600;
constexpr double kDay = 86'400;

double quantiseTimePerDiv(double seconds)
{
    const double whole = std::trunc(seconds);
    if (whole < 1)
        return seconds;
    if (whole < kMinute)
        return whole;
    if (whole < kHour)
        return std::floor(whole / kMinute) * kMinute;
    if (whole < kDay)
        return std::floor(whole / kHour) * kHour;
    return std::floor(whole / kDay) * kDay;
}

// Millionths of the duration covered by `offset`, never negative.
int scrollUnitsOf(double offset, double duration)
{
    const double units = std::trunc(offset * LECanvas::kScrollUnits / duration);
    return units > 0 ? static_cast<int>(std::min(units, double{LECanvas::kScrollUnits})) : 0;
}

} // namespace

LECanvas::LECanvas(int id, PixelRect placement, bool withScrollBar)
    : id_(id), placement_(placement), withScrollBar_(withScrollBar)
{
}

LECanvasSeries* LECanvas::AddSeries(std::string_view name, double scaleMin, double scaleMax, std::size_t capacity)
{
    const std::lock_guard guard(mutex_);
    if (series_.size() >= kMaxSeries)
        return nullptr;
    series_.push_back(std::make_unique<LECanvasSeries>(mutex_, name, scaleMin, scaleMax, capacity));
    return series_.back().get();
}

LECanvasSeries* LECanvas::GetSeries(int index) const
{
    const std::lock_guard guard(mutex_);
    if (index < 0 || index >= static_cast<int>(series_.size()))
        return nullptr;
    return series_[static_cast<std::size_t>(index)].get();
}

int LECanvas::seriesCount() const
{
    const std::lock_guard guard(mutex_);
    return static_cast<int>(series_.size());
}

void LECanvas::SelectSeries(int index)
{
    const std::lock_guard guard(mutex_);
    if (index >= 0 && index < static_cast<int>(series_.size()))
        selected_ = index;
}

int LECanvas::selectedSeries() const
{
    const std::lock_guard guard(mutex_);
    return selected_;
}

const LECanvasSeries* LECanvas::selectedLocked() const
{
    if (selected_ < 0 || selected_ >= static_cast<int>(series_.size()))
        return nullptr;
    return series_[static_cast<std::size_t>(selected_)].get();
}

void LECanvas::SetTimePerDiv(double seconds)
{
    // Non-finite values would reach integer conversions of the caption.
    if (!(seconds > 0) || !std::isfinite(seconds))
        return;
    const std::lock_guard guard(mutex_);
    view_.timePerDiv = quantiseTimePerDiv(seconds);
}

void LECanvas::SetSpan(double seconds)
{
    if (!(seconds >= 0) || !std::isfinite(seconds))
        return;
    const std::lock_guard guard(mutex_);
    span_ = seconds;
}

double LECanvas::span() const
{
    const std::lock_guard guard(mutex_);
    return span_;
}

void LECanvas::EnableCursor(bool on)
{
    const std::lock_guard guard(mutex_);
    cursorEnabled_ = on;
    mouseMoved_ = false;
}

DataExtent LECanvas::extentLocked() const
{
    DataExtent extent;
    bool any = false;
    for (const auto& series : series_) {
        const SampleRing& samples = series->samplesLocked();
        if (samples.empty())
            continue;
        const double first = samples.front().time;
        const double last = samples.back().time;
        extent.earliest = any ? std::min(extent.earliest, first) : first;
        extent.latest = any ? std::max(extent.latest, last) : last;
        any = true;
    }
    return extent;
}

DataExtent LECanvas::extent() const
{
    const std::lock_guard guard(mutex_);
    return extentLocked();
}

void LECanvas::SetRange(double start, double end, double origin)
{
    const std::lock_guard guard(mutex_);
    const DataExtent extent = extentLocked();
    if (withScrollBar_ && span_ != 0 && extent.latest > extent.earliest) {
        updateViewLocked(Trigger::Data);
        return;
    }
    if (!(start < end))
        return;
    view_.start = start;
    view_.end = end;
    view_.origin = (origin < start || origin > end || std::isnan(origin)) ? end : origin;
    invalidateLocked(false);
}

void LECanvas::updateViewLocked(Trigger trigger)
{
    const DataExtent extent = extentLocked();
    if (span_ == 0 || !(extent.latest > extent.earliest))
        return;
    const double first = extent.earliest;
    const double last = extent.latest;
    const double duration = last - first;

    if (duration <= span_) {
        view_.start = first;
        view_.end = first + span_;
        view_.origin = last;
        scroll_ = {kScrollUnits, 0};
    } else {
        const int page = scrollUnitsOf(span_, duration);
        if (scroll_.position + scroll_.page >= kScrollMax) {
            // Thumb at the right end: follow the newest data.
            view_.end = last;
            view_.start = last - span_;
            view_.origin = last;
            scroll_ = {page, std::max(0, kScrollMax - page)};
        } else if (span_ != appliedSpan_) {
            view_.end = view_.origin = view_.start + span_;
            scroll_ = {page, scrollUnitsOf(view_.start - first, duration)};
        } else if (scroll_.position != appliedPosition_) {
            view_.start = first + duration * scroll_.position / kScrollUnits;
            view_.end = view_.origin = view_.start + span_;
        } else {
            if (trigger == Trigger::ScrollBar)
                return;
            // The user has scrolled back: new data must not move the window.
            scroll_ = {page, scrollUnitsOf(view_.start - first, duration)};
        }
    }
    if (span_ > 1)
        view_.origin = std::floor(view_.origin);
    appliedSpan_ = span_;
    appliedPosition_ = scroll_.position;
    invalidateLocked(trigger == Trigger::Data);
}

void LECanvas::setPositionLocked(int position)
{
    // Mirrors a scroll bar, which never holds a position outside 0 .. units - page.
    position = std::min(position, kScrollMax - scroll_.page);
    scroll_.position = std::clamp(position, 0, std::max(0, kScrollUnits - scroll_.page));
}

void LECanvas::scroll(ScrollRequest request, int trackPosition)
{
    const std::lock_guard guard(mutex_);
    const int position = scroll_.position;
    const int page = scroll_.page;
    const bool canGoLeft = position > 0;
    const bool canGoRight = position + page < kScrollMax;
    int wanted = position;
    switch (request) {
    case ScrollRequest::LineLeft:
        if (!canGoLeft)
            return;
        wanted = position - page / 16 - 1;
        break;
    case ScrollRequest::LineRight:
        if (!canGoRight)
            return;
        wanted = position + page / 16 + 1;
        break;
    case ScrollRequest::PageLeft:
        if (!canGoLeft)
            return;
        wanted = position - 2 * page / 3 - 1;
        break;
    case ScrollRequest::PageRight:
        if (!canGoRight)
            return;
        wanted = position + 2 * page / 3 + 1;
        break;
    case ScrollRequest::Track:
        wanted = trackPosition;
        break;
    case ScrollRequest::Left:
        if (!canGoLeft)
            return;
        wanted = 0;
        break;
    case ScrollRequest::Right:
        if (!canGoRight)
            return;
        wanted = kScrollUnits - page;
        break;
    case ScrollRequest::EndScroll:
        return;
    }
    setPositionLocked(wanted);
    updateViewLocked(Trigger::ScrollBar);
}

ScrollState LECanvas::scrollState() const
{
    const std::lock_guard guard(mutex_);
    return scroll_;
}

CanvasView LECanvas::view() const
{
    const std::lock_guard guard(mutex_);
    return view_;
}

bool LECanvas::mouseMoved(int x, int y)
{
    const std::lock_guard guard(mutex_);
    mouse_ = {x, y};
    mouseMoved_ = true;
    return cursorEnabled_;
}

PaintKind LECanvas::beginPaint(bool readoutOnlyAsked)
{
    const std::lock_guard guard(mutex_);
    if (readoutOnlyAsked && backgroundValid_ && cursorEnabled_ && mouseMoved_) {
        mouseMoved_ = false;
        return PaintKind::ReadoutOnly;
    }
    backgroundValid_ = true;
    return PaintKind::Full;
}

void LECanvas::setObserver(CanvasObserver* observer)
{
    const std::lock_guard guard(mutex_);
    observer_ = observer;
}

void LECanvas::invalidateLocked(bool scrollChanged)
{
    backgroundValid_ = false;
    if (observer_ != nullptr)
        observer_->canvasInvalidated(scrollChanged);
}

} // namespace vantel
