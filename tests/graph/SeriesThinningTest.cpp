#include "graph/SeriesThinning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

using namespace vantel;

namespace {

SampleRing ringOf(
    std::size_t count, double (*valueAt)(std::size_t) = [](std::size_t) { return 0.0; })
{
    SampleRing ring(100'000);
    for (std::size_t i = 0; i < count; ++i)
        ring.pushBack({double(i), valueAt(i)});
    return ring;
}

} // namespace

TEST(VisibleRange, StartsOneSampleBeforeTheWindowAndEndsAtTheLastInside)
{
    const SampleRing ring = ringOf(10);
    IndexRange r = VisibleRange(ring, 3.5, 6.5);
    EXPECT_EQ(r.first, 3);
    EXPECT_EQ(r.last, 6);
    r = VisibleRange(ring, 3, 6);
    EXPECT_EQ(r.first, 2);
    EXPECT_EQ(r.last, 6);
    r = VisibleRange(ring, -5, 100);
    EXPECT_EQ(r.first, 0);
    EXPECT_EQ(r.last, 9);
    r = VisibleRange(ring, 20, 30);
    EXPECT_EQ(r.first, 9) << "only the last sample, before the window";
    EXPECT_EQ(r.last, 9);
    EXPECT_TRUE(VisibleRange(ring, -30, -20).empty());
    EXPECT_TRUE(VisibleRange(SampleRing(5), 0, 1).empty());
}

TEST(VisibleRange, TimesGoingBackwardsGiveIndicesInsideTheStore)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> time(0, 1000);
    SampleRing ring(5000);
    for (int i = 0; i < 5000; ++i)
        ring.pushBack({time(random), 1});
    ring.pushBack({std::numeric_limits<double>::quiet_NaN(), 1});
    for (int i = 0; i < 200; ++i) {
        const double a = time(random);
        const IndexRange r = VisibleRange(ring, a, a + 50);
        if (r.empty())
            continue;
        EXPECT_GE(r.first, 0);
        EXPECT_LT(r.last, 5000);
        const auto indices = ThinnedIndices(ring, r);
        EXPECT_LE(indices.size(), kMaxVerticesPerSeries);
    }
}

TEST(ThinnedIndices, ShortRangesAreDrawnWhole)
{
    const SampleRing ring = ringOf(1000);
    const auto indices = ThinnedIndices(ring, {0, 999});
    ASSERT_EQ(indices.size(), 1000u);
    EXPECT_EQ(indices.front(), 0u);
    EXPECT_EQ(indices.back(), 999u);
}

TEST(ThinnedIndices, SpikeIn99999SamplesIsStillAVertex)
{
    for (std::size_t spike : {1u, 2u, 12'345u, 50'000u, 99'997u}) {
        SampleRing ring(100'000);
        for (std::size_t i = 0; i < 99'999; ++i)
            ring.pushBack({double(i), i == spike ? 1000.0 : std::sin(double(i) / 500)});
        const auto indices = ThinnedIndices(ring, {0, 99'998});
        EXPECT_LE(indices.size(), kMaxVerticesPerSeries);
        EXPECT_GE(indices.size(), kMaxVerticesPerSeries * 9 / 10) << "the vertex budget is used";
        EXPECT_TRUE(std::is_sorted(indices.begin(), indices.end()));
        EXPECT_EQ(std::adjacent_find(indices.begin(), indices.end()), indices.end()) << "no index twice";
        EXPECT_EQ(indices.front(), 0u);
        EXPECT_EQ(indices.back(), 99'998u) << "the newest visible sample is always drawn";
        EXPECT_NE(std::find(indices.begin(), indices.end(), spike), indices.end()) << "spike at " << spike;
    }
}

TEST(ThinnedIndices, DipAndPeakOfAGroupKeepTheirTimeOrder)
{
    // 0 .. 2999 with a dip at 1500 right before a peak at 1501.
    SampleRing ring(5000);
    for (std::size_t i = 0; i < 3000; ++i)
        ring.pushBack({double(i), i == 1500 ? -50.0 : i == 1501 ? 50.0 : 0.0});
    const auto indices = ThinnedIndices(ring, {0, 2999}, 100);
    const auto dip = std::find(indices.begin(), indices.end(), 1500u);
    ASSERT_NE(dip, indices.end());
    ASSERT_NE(dip + 1, indices.end());
    EXPECT_EQ(*(dip + 1), 1501u);
}

TEST(ThinnedIndices, NonFiniteValuesNeverWinAGroup)
{
    SampleRing ring(5000);
    for (std::size_t i = 0; i < 3000; ++i) {
        double v = double(i % 7);
        if (i % 3 == 0)
            v = std::numeric_limits<double>::quiet_NaN();
        if (i % 11 == 0)
            v = std::numeric_limits<double>::infinity();
        ring.pushBack({double(i), v});
    }
    const auto indices = ThinnedIndices(ring, {0, 2999});
    for (std::size_t n = 1; n + 1 < indices.size(); ++n)
        EXPECT_TRUE(std::isfinite(ring[indices[n]].value)) << indices[n];
}

TEST(ThinnedIndices, ExtremesAreFoundAcrossTheWrapOfTheStore)
{
    SampleRing ring(5000);
    for (std::size_t i = 0; i < 8000; ++i) {
        if (ring.size() == ring.capacity())
            ring.popFront();
        ring.pushBack({double(i), i == 4321 ? -9.0 : i == 4322 ? 9.0 : 0.0});
    }
    const auto indices = ThinnedIndices(ring, {0, 4999}, 50);
    const std::size_t dip = 4321 - 3000;
    EXPECT_NE(std::find(indices.begin(), indices.end(), dip), indices.end());
    EXPECT_NE(std::find(indices.begin(), indices.end(), dip + 1), indices.end());
}
