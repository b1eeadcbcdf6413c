#include "graph/LECanvas.h"
#include "graph/LECanvasRegistry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <random>

using namespace vantel;

namespace {

LECanvas makeCanvas()
{
    return LECanvas(1111, {0, 0, 700, 400}, true);
}

} // namespace

TEST(SampleRing, KeepsOrderAcrossGrowthAndWrapAround)
{
    SampleRing ring(5);
    for (int i = 0; i < 3; ++i)
        ring.pushBack({double(i), 0});
    ring.popFront();
    ring.popFront(); // head moves before the buffer is full: growth must rotate
    for (int i = 3; i < 7; ++i)
        ring.pushBack({double(i), 0});
    ASSERT_EQ(ring.size(), 5u);
    for (std::size_t i = 0; i < ring.size(); ++i)
        EXPECT_EQ(ring[i].time, double(i + 2));
    ring.pushBack({99, 0});
    EXPECT_EQ(ring.size(), 5u) << "a full ring refuses more";
    ring.popFront();
    ring.pushBack({7, 0});
    EXPECT_EQ(ring.front().time, 3);
    EXPECT_EQ(ring.back().time, 7);
}

TEST(SampleRing, BlockExtremesAgreeWithAFullScanThroughGrowthPopsAndWraps)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> value(-100, 100);
    std::uniform_int_distribution<int> action(0, 9);
    SampleRing ring(700);
    for (int step = 0; step < 20'000; ++step) {
        const int a = action(random);
        if (a < 6 || ring.empty()) {
            double v = value(random);
            if (a == 0)
                v = std::numeric_limits<double>::quiet_NaN();
            if (ring.size() == ring.capacity())
                ring.popFront();
            ring.pushBack({double(step), v});
        } else if (a < 9) {
            ring.popFront();
        }
        if (ring.empty() || step % 7 != 0)
            continue;
        std::uniform_int_distribution<std::size_t> index(0, ring.size() - 1);
        std::size_t first = index(random);
        std::size_t last = index(random);
        if (first > last)
            std::swap(first, last);
        std::optional<ExtremeIndices> expected;
        for (std::size_t i = first; i <= last; ++i) {
            const double v = ring[i].value;
            if (std::isnan(v))
                continue;
            if (!expected)
                expected = ExtremeIndices{i, i};
            if (v < ring[expected->lowest].value)
                expected->lowest = i;
            if (v > ring[expected->highest].value)
                expected->highest = i;
        }
        const auto found = ring.extremes(first, last);
        ASSERT_EQ(found.has_value(), expected.has_value()) << step;
        if (found) {
            ASSERT_EQ(found->lowest, expected->lowest) << step;
            ASSERT_EQ(found->highest, expected->highest) << step;
        }
        const std::size_t aligned = ring.blockStartAtOrAfter(first);
        ASSERT_LT(aligned - first, SampleRing::kBlock);
    }
}

TEST(LECanvasSeries, HoldsAtMost99999SamplesDroppingTheOldest)
{
    LECanvas canvas = makeCanvas();
    LECanvasSeries* series = canvas.AddSeries("AI1", -10, 10);
    for (int i = 0; i < 100'000; ++i)
        series->AppendSample(i, i);
    const auto guard = canvas.lock();
    const SampleRing& samples = series->samplesLocked();
    ASSERT_EQ(samples.size(), 99'999u);
    EXPECT_EQ(samples.front().time, 1);
    EXPECT_EQ(samples.back().time, 99'999);
    EXPECT_EQ(samples[50'000].value, 50'001);
}

TEST(LECanvasSeries, DigitalStoresOneForAnyNonZeroAndFixesScaleAndUnit)
{
    LECanvas canvas = makeCanvas();
    LECanvasSeries* series = canvas.AddSeries("DI1", 0, 1);
    series->SetUnit("V");
    series->SetDigital(true);
    EXPECT_EQ(series->GetUnit(), "");
    for (double v : {0.0, -3.0, 0.25, 7.0})
        series->AppendSample(1, v);
    const auto guard = canvas.lock();
    EXPECT_EQ(series->scaleMinLocked(), -0.5);
    EXPECT_EQ(series->scaleMaxLocked(), 1.5);
    const SampleRing& samples = series->samplesLocked();
    EXPECT_EQ(samples[0].value, 0);
    EXPECT_EQ(samples[1].value, 1);
    EXPECT_EQ(samples[2].value, 1);
    EXPECT_EQ(samples[3].value, 1);
}

TEST(LECanvasSeries, SetScaleIgnoresEmptyInvertedAndNaNRanges)
{
    LECanvas canvas = makeCanvas();
    LECanvasSeries* series = canvas.AddSeries("AI1", -10, 10);
    series->SetScale(5, 5);
    series->SetScale(6, 2);
    series->SetScale(std::numeric_limits<double>::quiet_NaN(), 3);
    {
        const auto guard = canvas.lock();
        EXPECT_EQ(series->scaleMinLocked(), -10);
        EXPECT_EQ(series->scaleMaxLocked(), 10);
    }
    series->SetScale(0, 20);
    const auto guard = canvas.lock();
    EXPECT_EQ(series->scaleMaxLocked(), 20);
}

TEST(LECanvasSeries, ClearKeepsVisibilityAndLongTextsAreCutAtCharacterBoundary)
{
    LECanvas canvas = makeCanvas();
    LECanvasSeries* series = canvas.AddSeries("AI1", -10, 10);
    series->SetVisible(false);
    series->AppendSample(1, 1);
    series->ClearSamples();
    EXPECT_EQ(series->sampleCount(), 0u);
    EXPECT_FALSE(series->isVisible());

    std::string longUnit;
    for (int i = 0; i < 40; ++i)
        longUnit += "℃"; // three bytes each
    series->SetUnit(longUnit);
    EXPECT_EQ(series->GetUnit().size(), 99u);
    EXPECT_EQ(series->GetUnit(), longUnit.substr(0, 99));
}

TEST(LECanvas, RefusesThe21stSeriesAndOutOfRangeSelections)
{
    LECanvas canvas = makeCanvas();
    for (int i = 0; i < 20; ++i)
        ASSERT_NE(canvas.AddSeries("s", 0, 1), nullptr);
    EXPECT_EQ(canvas.AddSeries("s", 0, 1), nullptr);
    EXPECT_EQ(canvas.seriesCount(), 20);
    canvas.SelectSeries(19);
    canvas.SelectSeries(20);
    canvas.SelectSeries(-1);
    EXPECT_EQ(canvas.selectedSeries(), 19);
    EXPECT_EQ(canvas.GetSeries(20), nullptr);
    EXPECT_EQ(canvas.GetSeries(-1), nullptr);
    EXPECT_NE(canvas.GetSeries(0), nullptr);
}

TEST(LECanvasRegistry, HandsOutIdsRefusesThe129thAndReusesFreedSlots)
{
    LECanvasRegistry registry;
    auto first = registry.CreateCanvas(10, 10, 700, 400, 0, true);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->id(), 1111);
    EXPECT_EQ(first->width(), 700);
    EXPECT_EQ(first->height(), 400);
    EXPECT_EQ(registry.CreateCanvas(0, 0, 10, 10, 5000, false)->id(), 5000);
    EXPECT_EQ(registry.CreateCanvas(0, 0, 10, 10, 0, false)->id(), 5001) << "the given id becomes the last id";
    for (int i = 3; i < 128; ++i)
        ASSERT_NE(registry.CreateCanvas(0, 0, 10, 10, 0, false), nullptr);
    EXPECT_EQ(registry.CreateCanvas(0, 0, 10, 10, 0, false), nullptr);
    EXPECT_EQ(registry.FindCanvas(1111), first);

    registry.DestroyCanvas(1111);
    EXPECT_EQ(registry.FindCanvas(1111), nullptr);
    EXPECT_EQ(first->seriesCount(), 0) << "a holder keeps a live canvas after destroy";
    EXPECT_NE(registry.CreateCanvas(0, 0, 10, 10, 0, false), nullptr);
    EXPECT_EQ(registry.canvasCount(), 128);
}

TEST(LECanvasSeries, GapsFollowTheThresholdAndLeaveWithTheSamplesThatDelimitThem)
{
    LECanvas canvas = makeCanvas();
    LECanvasSeries* series = canvas.AddSeries("AI1", -10, 10, 6);
    const std::vector<LECanvasSample> samples{{0, 1}, {1, 1}, {10, 1}, {11, 1}, {30, 1}};
    series->appendSamples(samples);
    {
        const auto guard = canvas.lock();
        EXPECT_FALSE(series->gapBetweenLocked(0, 30)); // no threshold, no gaps
    }
    series->setGapThreshold(5);
    {
        const auto guard = canvas.lock();
        EXPECT_TRUE(series->gapBetweenLocked(1, 10));
        EXPECT_FALSE(series->gapBetweenLocked(10, 11));
        EXPECT_TRUE(series->gapBetweenLocked(11, 30));
    }
    series->AppendSample(31, 1); // full: from here on the oldest goes
    series->AppendSample(32, 1);
    series->AppendSample(33, 1);
    const auto guard = canvas.lock();
    EXPECT_EQ(series->samplesLocked().front().time, 10);
    EXPECT_FALSE(series->gapBetweenLocked(-100, 10));
    EXPECT_TRUE(series->gapBetweenLocked(11, 30));
}
