#pragma once

#include "graph/CanvasObserver.h"
#include "graph/CanvasTypes.h"
#include "graph/LECanvasSeries.h"

#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace vantel {

enum class ScrollRequest { LineLeft, LineRight, PageLeft, PageRight, Track, Left, Right, EndScroll };

// Scroll page and position, in millionths of the recorded duration.
struct ScrollState {
    int page = 1'000'000;
    int position = 0;
    friend bool operator==(const ScrollState&, const ScrollState&) = default;
};

struct CanvasView {
    double start = 0;
    double end = 0;
    double origin = 0;
    double timePerDiv = 0;
};

struct DataExtent {
    double earliest = 0;
    double latest = 0;
};

enum class PaintKind { Full, ReadoutOnly };

// The trend canvas: its traces, the visible time window, the scroll state that
// pages through the history and the cursor read-out. Windows only draw what it
// holds; every decision about what is shown is made here.
class LECanvas {
public:
    static constexpr int kMaxSeries = 20;
    static constexpr int kScrollUnits = 1'000'000;
    static constexpr int kScrollMax = 999'999;

    LECanvas(int id, PixelRect placement, bool withScrollBar);
    LECanvas(const LECanvas&) = delete;
    LECanvas& operator=(const LECanvas&) = delete;

    int id() const { return id_; }
    int x() const { return placement_.left; }
    int y() const { return placement_.top; }
    int width() const { return placement_.right - placement_.left; }
    int height() const { return placement_.bottom - placement_.top; }
    bool hasScrollBar() const { return withScrollBar_; }

    // Null once kMaxSeries exist. A recorded history may keep more samples
    // per series than a live panel does.
    LECanvasSeries* AddSeries(std::string_view name, double scaleMin, double scaleMax,
                              std::size_t capacity = LECanvasSeries::kMaxSamples);
    LECanvasSeries* GetSeries(int index) const;
    int seriesCount() const;
    void SelectSeries(int index);
    int selectedSeries() const;

    void SetTimePerDiv(double seconds);
    void SetSpan(double seconds);
    double span() const;
    void SetRange(double start, double end, double origin);
    void SetRange(double start, double end) { SetRange(start, end, end); }
    void Refresh() { SetRange(0, 0); }
    void EnableCursor(bool on);

    // A scroll bar action; trackPosition is used by Track only.
    void scroll(ScrollRequest request, int trackPosition = 0);
    ScrollState scrollState() const;
    CanvasView view() const;
    DataExtent extent() const;

    // GUI thread. True when the read-out strip should be repainted.
    bool mouseMoved(int x, int y);
    // Decides what a paint draws and updates the paint flags. readoutOnlyAsked:
    // the window asked only for the read-out strip.
    PaintKind beginPaint(bool readoutOnlyAsked);

    // Observer that repaints the window; set to null before the window goes.
    void setObserver(CanvasObserver* observer);

    // For the painting code: hold the lock while reading the *Locked state.
    std::unique_lock<std::mutex> lock() const { return std::unique_lock(mutex_); }
    const CanvasView& viewLocked() const { return view_; }
    const std::vector<std::unique_ptr<LECanvasSeries>>& seriesLocked() const { return series_; }
    const LECanvasSeries* selectedLocked() const;
    bool cursorEnabledLocked() const { return cursorEnabled_; }
    PixelPoint mouseLocked() const { return mouse_; }

private:
    DataExtent extentLocked() const;
    enum class Trigger { ScrollBar, Data };
    void updateViewLocked(Trigger trigger);
    void invalidateLocked(bool scrollChanged);
    void setPositionLocked(int position);

    const int id_;
    const PixelRect placement_;
    const bool withScrollBar_;

    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<LECanvasSeries>> series_;
    int selected_ = 0;
    CanvasView view_;
    double span_ = 0;
    ScrollState scroll_;
    double appliedSpan_ = 0;
    int appliedPosition_ = 0;
    bool cursorEnabled_ = false;
    PixelPoint mouse_{-1, -1};
    bool mouseMoved_ = false;
    bool backgroundValid_ = false;
    CanvasObserver* observer_ = nullptr;
};

} // namespace vantel
