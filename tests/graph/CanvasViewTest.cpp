#include "graph/CanvasPainter.h"
#include "graph/LECanvas.h"

#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <thread>
#include <vector>

using namespace vantel;

namespace {

constexpr double kT0 = 1'700'000'000; // whole seconds, as the panels append

struct RecordingObserver : CanvasObserver {
    void canvasInvalidated(bool scrollChanged) override { calls.push_back(scrollChanged); }
    std::vector<bool> calls;
};

class CanvasView_ : public ::testing::Test {
protected:
    CanvasView_() : canvas(1111, {0, 0, 700, 400}, true), series(canvas.AddSeries("AI1", -10, 10))
    {
        canvas.setObserver(&observer);
    }
    ~CanvasView_() override { canvas.setObserver(nullptr); }

    void appendSeconds(double from, double to)
    {
        for (double t = from; t <= to; t += 1)
            series->AppendSample(kT0 + t, 0);
    }

    LECanvas canvas;
    LECanvasSeries* series;
    RecordingObserver observer;
};

double timePerDivAfter(double seconds)
{
    LECanvas canvas(1, {0, 0, 700, 400}, true);
    canvas.SetTimePerDiv(7);
    canvas.SetTimePerDiv(seconds);
    return canvas.view().timePerDiv;
}

} // namespace

TEST(LECanvasTimePerDiv, QuantisesToWholeUnitsAndIgnoresNonPositive)
{
    EXPECT_EQ(timePerDivAfter(0.5), 0.5);
    EXPECT_EQ(timePerDivAfter(0.005), 0.005);
    EXPECT_EQ(timePerDivAfter(59.9), 59);
    EXPECT_EQ(timePerDivAfter(90), 60);
    EXPECT_EQ(timePerDivAfter(3599), 3540);
    EXPECT_EQ(timePerDivAfter(5400), 3600);
    EXPECT_EQ(timePerDivAfter(200'000), 172'800);
    EXPECT_EQ(timePerDivAfter(0), 7);
    EXPECT_EQ(timePerDivAfter(-1), 7);
    EXPECT_EQ(timePerDivAfter(std::numeric_limits<double>::infinity()), 7);
}

TEST_F(CanvasView_, SetRangeWithoutDataStoresTheWindowAndFixesAnOutsideOrigin)
{
    canvas.SetRange(100, 200, 150);
    EXPECT_EQ(canvas.view().origin, 150);
    canvas.SetRange(100, 200, 250);
    EXPECT_EQ(canvas.view().origin, 200);
    canvas.SetRange(100, 200, 50);
    EXPECT_EQ(canvas.view().origin, 200);
    canvas.SetRange(300, 300);
    canvas.SetRange(400, 350);
    EXPECT_EQ(canvas.view().start, 100);
    EXPECT_EQ(canvas.view().end, 200);
    EXPECT_EQ(observer.calls, (std::vector<bool>{false, false, false}));
}

TEST_F(CanvasView_, ShortHistoryFitsFromTheEarliestSample)
{
    canvas.SetSpan(60);
    appendSeconds(0, 30);
    canvas.Refresh();
    const CanvasView view = canvas.view();
    EXPECT_EQ(view.start, kT0);
    EXPECT_EQ(view.end, kT0 + 60);
    EXPECT_EQ(view.origin, kT0 + 30);
    EXPECT_EQ(canvas.scrollState(), (ScrollState{1'000'000, 0}));
    EXPECT_EQ(observer.calls, std::vector<bool>{true});
}

TEST_F(CanvasView_, FollowsNewestDataThenStaysWhereTheUserScrolledThenFollowsAgain)
{
    canvas.SetSpan(60);
    appendSeconds(0, 120);
    canvas.Refresh();
    EXPECT_EQ(canvas.view().end, kT0 + 120);
    EXPECT_EQ(canvas.view().start, kT0 + 60);
    EXPECT_EQ(canvas.scrollState(), (ScrollState{500'000, 499'999}));

    canvas.scroll(ScrollRequest::LineLeft);
    EXPECT_EQ(canvas.scrollState().position, 499'999 - 31'250 - 1);
    const double scrolledStart = kT0 + 120.0 * 468'748 / 1'000'000;
    EXPECT_DOUBLE_EQ(canvas.view().start, scrolledStart);
    EXPECT_DOUBLE_EQ(canvas.view().end, scrolledStart + 60);

    appendSeconds(121, 130);
    canvas.Refresh();
    EXPECT_DOUBLE_EQ(canvas.view().start, scrolledStart) << "new data must not move a scrolled-back window";
    EXPECT_EQ(canvas.scrollState().page, 461'538);
    EXPECT_EQ(canvas.scrollState().position, static_cast<int>((scrolledStart - kT0) * 1e6 / 130));

    canvas.scroll(ScrollRequest::Track, 1'000'000 - canvas.scrollState().page);
    EXPECT_EQ(canvas.view().end, kT0 + 130);
    appendSeconds(131, 135);
    canvas.Refresh();
    EXPECT_EQ(canvas.view().end, kT0 + 135) << "following again";
}

TEST_F(CanvasView_, ChangingTheSpanWhileScrolledBackKeepsTheStart)
{
    canvas.SetSpan(60);
    appendSeconds(0, 600);
    canvas.Refresh();
    canvas.scroll(ScrollRequest::Left);
    EXPECT_EQ(canvas.view().start, kT0);
    canvas.SetSpan(120);
    canvas.Refresh();
    EXPECT_EQ(canvas.view().start, kT0);
    EXPECT_EQ(canvas.view().end, kT0 + 120);
    EXPECT_EQ(canvas.scrollState(), (ScrollState{200'000, 0}));
}

TEST_F(CanvasView_, ScrollRequestsAreGuardedAndClamped)
{
    canvas.SetSpan(60);
    appendSeconds(0, 600); // page 100000
    canvas.Refresh();
    const std::size_t callsBefore = observer.calls.size();
    canvas.scroll(ScrollRequest::LineRight);
    canvas.scroll(ScrollRequest::PageRight);
    canvas.scroll(ScrollRequest::Right);
    canvas.scroll(ScrollRequest::EndScroll);
    EXPECT_EQ(observer.calls.size(), callsBefore) << "at the right end nothing moves or repaints";

    canvas.scroll(ScrollRequest::PageLeft);
    EXPECT_EQ(canvas.scrollState().position, 899'999 - 66'666 - 1);
    EXPECT_EQ(observer.calls.back(), false) << "a scroll repaints but does not rewrite the bar";
    canvas.scroll(ScrollRequest::Left);
    EXPECT_EQ(canvas.scrollState().position, 0);
    canvas.scroll(ScrollRequest::LineLeft);
    canvas.scroll(ScrollRequest::Track, -50);
    EXPECT_EQ(canvas.scrollState().position, 0);
    canvas.scroll(ScrollRequest::Track, 5'000'000);
    EXPECT_EQ(canvas.scrollState().position, 899'999);
    EXPECT_EQ(canvas.view().end, kT0 + 600);
}

TEST_F(CanvasView_, NothingScrollsWithoutSpanOrScrollBarAndTheOriginIsWholeSeconds)
{
    appendSeconds(0, 100);
    canvas.Refresh();
    EXPECT_EQ(canvas.view().end, 0) << "span 0 disables scrolling";

    LECanvas plain(2, {0, 0, 700, 400}, false);
    LECanvasSeries* s = plain.AddSeries("x", 0, 1);
    s->AppendSample(kT0, 0);
    s->AppendSample(kT0 + 10.7, 0);
    plain.SetSpan(60);
    plain.Refresh();
    EXPECT_EQ(plain.view().end, 0) << "without a scroll bar Refresh changes nothing";

    canvas.SetSpan(60);
    series->AppendSample(kT0 + 100.6, 0);
    canvas.Refresh();
    EXPECT_EQ(canvas.view().origin, kT0 + 100);
    EXPECT_DOUBLE_EQ(canvas.view().end, kT0 + 100.6);
}

TEST_F(CanvasView_, MouseMovesRepaintOnlyTheReadoutOnceTheBackgroundIsValid)
{
    EXPECT_FALSE(canvas.mouseMoved(10, 10)) << "read-out off: nothing to repaint";
    canvas.EnableCursor(true);
    EXPECT_TRUE(canvas.mouseMoved(10, 10));
    EXPECT_EQ(canvas.beginPaint(true), PaintKind::Full) << "no valid background yet";
    EXPECT_TRUE(canvas.mouseMoved(11, 10));
    EXPECT_EQ(canvas.beginPaint(true), PaintKind::ReadoutOnly);
    EXPECT_EQ(canvas.beginPaint(true), PaintKind::Full) << "the move was consumed";
    canvas.mouseMoved(12, 10);
    EXPECT_EQ(canvas.beginPaint(false), PaintKind::Full) << "the window asked for more than the strip";
    canvas.mouseMoved(13, 10);
    canvas.SetRange(1, 2);
    EXPECT_EQ(canvas.beginPaint(true), PaintKind::Full) << "a view change invalidates the background";
}

TEST(LECanvasThreads, AppendingAndRefreshingOnAReplyThreadWhilePaintingAndScrolling)
{
    LECanvas canvas(1111, {0, 0, 700, 400}, true);
    std::vector<LECanvasSeries*> series;
    for (int i = 0; i < 3; ++i)
        series.push_back(canvas.AddSeries("AI", -10, 10));
    canvas.SetSpan(60);
    canvas.SetTimePerDiv(5);
    canvas.EnableCursor(true);
    RecordingObserver observer;
    canvas.setObserver(&observer);
    std::atomic<bool> done{false};
    std::atomic<int> paints{0};
    std::thread reply([&] {
        while (paints == 0)
            std::this_thread::yield(); // overlap with the painting for sure
        for (int i = 0; i < 20'000; ++i) {
            for (LECanvasSeries* s : series)
                s->AppendSample(kT0 + i, i % 17);
            if (i % 50 == 0)
                canvas.Refresh();
            if (i == 10'000)
                series[1]->ClearSamples();
        }
        done = true;
    });
    while (!done) {
        canvas.mouseMoved(300, 200);
        const CanvasScene scene = PaintCanvas(canvas, canvas.beginPaint(false));
        canvas.scroll(paints % 3 == 0 ? ScrollRequest::LineLeft : ScrollRequest::Right);
        ++paints;
        EXPECT_FALSE(scene.items.empty());
    }
    reply.join();
    canvas.setObserver(nullptr);
    EXPECT_GT(paints, 0);
    EXPECT_EQ(series[0]->sampleCount(), 20'000u);
    EXPECT_EQ(series[1]->sampleCount(), 9'999u);
}

TEST(LECanvasExtent, SpansAllSeriesWithSamplesHiddenOnesIncluded)
{
    LECanvas canvas(1, {0, 0, 700, 400}, true);
    EXPECT_EQ(canvas.extent().earliest, 0);
    EXPECT_EQ(canvas.extent().latest, 0);
    canvas.AddSeries("empty", 0, 1);
    LECanvasSeries* a = canvas.AddSeries("a", 0, 1);
    LECanvasSeries* hidden = canvas.AddSeries("hidden", 0, 1);
    a->AppendSample(kT0 + 10, 0);
    a->AppendSample(kT0 + 20, 0);
    hidden->AppendSample(kT0 + 5, 0);
    hidden->AppendSample(kT0 + 30, 0);
    hidden->SetVisible(false);
    EXPECT_EQ(canvas.extent().earliest, kT0 + 5);
    EXPECT_EQ(canvas.extent().latest, kT0 + 30);
}
