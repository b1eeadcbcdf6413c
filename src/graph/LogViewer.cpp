#include "graph/LogViewer.h"

#include "graph/CanvasGeometry.h"
#include "graph/DisplayPeriod.h"
#include "graph/GraphPageIds.h"
#include "graph/GraphTexts.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace vantel {
namespace {

constexpr double kDivisionsPerSpan = 12;
constexpr double kShortestSpan = 10;
constexpr double kShortestWholeSpan = 60;

std::string fileNameOf(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

} // namespace

std::vector<std::string> LogViewer::PeriodItems()
{
    std::vector<std::string> items(GraphPageId::kPeriodItems.begin(), GraphPageId::kPeriodItems.end());
    items.emplace_back(kWholeLogItem);
    return items;
}

LogViewer::LogViewer(LogLoadOutcome loaded) : loaded_(std::move(loaded))
{
    canvas().EnableCursor(true);
    for (int trace = 0; trace < traceCount(); ++trace) {
        if (initiallyVisible(trace)) {
            canvas().SelectSeries(trace);
            break;
        }
    }
    for (int trace = 0; trace < traceCount(); ++trace)
        canvas().GetSeries(trace)->SetVisible(initiallyVisible(trace));
    selectPeriod(kWholeLog);
}

std::string LogViewer::traceName(int trace) const
{
    return ColumnDisplayName(loaded_.columns.at(static_cast<std::size_t>(trace)));
}

bool LogViewer::initiallyVisible(int trace) const
{
    const bool anyAnalog = std::any_of(loaded_.columns.begin(), loaded_.columns.end(),
                                       [](const LogColumn& column) { return column.analog(); });
    return !anyAnalog || loaded_.columns.at(static_cast<std::size_t>(trace)).analog();
}

std::string LogViewer::title() const
{
    if (loaded_.files.empty())
        return {};
    std::string text = fileNameOf(loaded_.files.front());
    if (loaded_.files.size() > 1)
        text = LogSpanText(text, fileNameOf(loaded_.files.back()), loaded_.files.size());
    return text;
}

std::string LogViewer::summary() const
{
    std::string text = LogSizeText(loaded_.lines, loaded_.files.size());
    for (const std::string& note : loaded_.notes)
        text += "\n" + note;
    return text;
}

void LogViewer::applySpan(double span)
{
    canvas().SetSpan(span);
    canvas().SetTimePerDiv(span / kDivisionsPerSpan);
    canvas().Refresh();
}

void LogViewer::selectPeriod(int index)
{
    if (index == kWholeLog) {
        const DataExtent extent = canvas().extent();
        applySpan(std::max(extent.latest - extent.earliest, kShortestWholeSpan));
        return;
    }
    if (ApplyDisplayPeriod(canvas(), index))
        canvas().Refresh();
}

void LogViewer::zoom(int steps, int x)
{
    const CanvasView view = canvas().view();
    const DataExtent extent = canvas().extent();
    const double duration = extent.latest - extent.earliest;
    if (steps == 0 || !(view.end > view.start) || !(duration > 0))
        return;
    const PixelRect plot = CanvasGeometry(canvas().width(), canvas().height()).plot();
    const double fraction = std::clamp(static_cast<double>(x - plot.left) / (plot.right - plot.left), 0.0, 1.0);
    const double anchor = view.start + fraction * (view.end - view.start);
    const double span = std::clamp((view.end - view.start) * std::pow(0.5, steps), kShortestSpan,
                                   std::max(duration, kShortestWholeSpan));
    applySpan(span);
    if (span >= duration)
        return;
    const double start = std::clamp(anchor - fraction * span, extent.earliest, extent.latest - span);
    canvas().scroll(ScrollRequest::Track,
                    static_cast<int>(std::trunc((start - extent.earliest) * LECanvas::kScrollUnits / duration)));
    // Brings the scroll bar to where the scroll put the window.
    canvas().Refresh();
}

void LogViewer::setVisible(int trace, bool on)
{
    if (LECanvasSeries* series = canvas().GetSeries(trace))
        series->SetVisible(on);
    canvas().Refresh();
}

void LogViewer::selectTrace(int trace)
{
    canvas().SelectSeries(trace);
    canvas().Refresh();
}

bool LogViewer::setScale(int trace, double min, double max)
{
    LECanvasSeries* series = canvas().GetSeries(trace);
    if (series == nullptr || !(max > min) || !std::isfinite(min) || !std::isfinite(max))
        return false;
    series->SetScale(min, max);
    canvas().Refresh();
    return true;
}

double LogViewer::scaleMin(int trace) const
{
    const auto guard = canvas().lock();
    return canvas().seriesLocked().at(static_cast<std::size_t>(trace))->scaleMinLocked();
}

double LogViewer::scaleMax(int trace) const
{
    const auto guard = canvas().lock();
    return canvas().seriesLocked().at(static_cast<std::size_t>(trace))->scaleMaxLocked();
}

} // namespace vantel
