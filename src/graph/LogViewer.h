#pragma once

#include "graph/LogLoader.h"

#include <string>
#include <vector>

namespace vantel {

// What the log viewer does with a loaded log: the period list (the graph
// page's items and one for the whole log), zooming with the wheel around
// the time under the mouse, the traces shown, the one whose scale is drawn
// and the scale of each. The window only shows it.
class LogViewer {
public:
    // Index of "全体" in PeriodItems().
    static constexpr int kWholeLog = 10;
    static std::vector<std::string> PeriodItems();

    explicit LogViewer(LogLoadOutcome loaded);

    const LogLoadOutcome& loaded() const { return loaded_; }
    LECanvas& canvas() const { return *loaded_.canvas; }
    int traceCount() const { return static_cast<int>(loaded_.columns.size()); }
    std::string traceName(int trace) const;
    // Shown at first: the analog traces, or every trace of an all-digital log.
    bool initiallyVisible(int trace) const;
    // The file, or the first file and how many there are.
    std::string title() const;
    // Lines, files and what was skipped, for the status line.
    std::string summary() const;

    void selectPeriod(int index);
    // steps > 0 zooms in (halves the span per step) keeping the time at x
    // (canvas pixels) where it is.
    void zoom(int steps, int x);
    void setVisible(int trace, bool on);
    void selectTrace(int trace);
    // False, and nothing changed, unless max > min.
    bool setScale(int trace, double min, double max);
    double scaleMin(int trace) const;
    double scaleMax(int trace) const;

private:
    void applySpan(double span);

    LogLoadOutcome loaded_;
};

} // namespace vantel
