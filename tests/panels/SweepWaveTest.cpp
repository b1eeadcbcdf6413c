#include "panels/analog/SweepWave.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

using namespace vantel;

namespace {

struct Row {
    explicit Row(SweepSettings settings = {})
    {
        wave.setSettings(settings);
        wave.start();
    }
    std::optional<double> at(std::int64_t sinceStartMs)
    {
        clock.set(kStart + sinceStartMs);
        return wave.tick();
    }
    static constexpr std::int64_t kStart = 50'000;
    ManualClock clock{kStart};
    SweepWave wave{clock};
};

} // namespace

TEST(SweepWave, RisesOverT1FallsOverT2AndSkipsTheTickBetweenCycles)
{
    Row row; // V1 1, V2 9, T1 3 s, T2 1.5 s
    EXPECT_DOUBLE_EQ(*row.at(0), 1) << "the first value is V1";
    EXPECT_DOUBLE_EQ(*row.at(1500), 5);
    EXPECT_DOUBLE_EQ(*row.at(3000), 9);
    EXPECT_DOUBLE_EQ(*row.at(3750), 5);
    EXPECT_DOUBLE_EQ(*row.at(4500), 1);
    EXPECT_FALSE(row.at(4600).has_value()) << "cycle over: a new one starts, nothing is sent";
    EXPECT_DOUBLE_EQ(*row.at(4600 + 1500), 5) << "the next cycle counts from the skipped tick";
}

TEST(SweepWave, PositionFollowsElapsedTimeNotTheNumberOfTicks)
{
    Row steady;
    Row late;
    for (int tick = 1; tick <= 15; ++tick)
        steady.at(tick * 100);
    EXPECT_DOUBLE_EQ(*late.at(1500), *steady.at(1500)) << "one late tick lands where fifteen punctual ones do";
    EXPECT_NEAR(*late.at(2250), 7, 1e-12);
}

TEST(SweepWave, EqualValuesGiveAConstantOutput)
{
    Row row({2, 2, 30, 15});
    for (std::int64_t t = 0; t <= 4500; t += 100)
        EXPECT_DOUBLE_EQ(*row.at(t), 2) << t;
}

TEST(SweepWave, AZeroRiseOrFallIsAnEmptyPartOfTheCycle)
{
    Row sawDown({1, 9, 0, 10});
    EXPECT_DOUBLE_EQ(*sawDown.at(0), 9) << "no rise: the cycle starts at the top";
    EXPECT_DOUBLE_EQ(*sawDown.at(500), 5);
    EXPECT_DOUBLE_EQ(*sawDown.at(1000), 1);
    EXPECT_FALSE(sawDown.at(1100).has_value());

    Row sawUp({1, 9, 10, 0});
    EXPECT_DOUBLE_EQ(*sawUp.at(500), 5);
    EXPECT_DOUBLE_EQ(*sawUp.at(1000), 9) << "no fall: the top is the end of the cycle";
    EXPECT_FALSE(sawUp.at(1100).has_value());
    EXPECT_DOUBLE_EQ(*sawUp.at(1100), 1);

    Row none({1, 9, 0, 0});
    EXPECT_DOUBLE_EQ(*none.at(0), 9);
    for (std::int64_t t = 100; t <= 1000; t += 100)
        EXPECT_FALSE(none.at(t).has_value()) << "an empty cycle sends nothing";

    const SweepStep negative = SweepWaveAt({1, 9, -5, -5}, 0, 0);
    ASSERT_TRUE(negative.value.has_value());
    EXPECT_TRUE(std::isfinite(*negative.value));
}

TEST(SweepWave, ExtremeValuesStayFiniteAndAnEarlyClockCountsAsTheStart)
{
    const SweepSettings wide{-DBL_MAX, DBL_MAX, 30, 15};
    for (std::int64_t t = 0; t <= 4500; t += 250) {
        const SweepStep step = SweepWaveAt(wide, 0, t);
        ASSERT_TRUE(step.value.has_value());
        EXPECT_TRUE(std::isfinite(*step.value)) << t;
    }
    EXPECT_DOUBLE_EQ(*SweepWaveAt({1, 9, 30, 15}, 1000, 400).value, 1);
}

TEST(SweepWave, NewSettingsApplyFromTheNextTickAndStopEndsTheOutput)
{
    Row row;
    EXPECT_DOUBLE_EQ(*row.at(1500), 5);
    row.wave.setSettings({0, 4, 30, 15});
    EXPECT_DOUBLE_EQ(*row.at(1500), 2);
    EXPECT_TRUE(row.wave.sweeping());
    row.wave.stop();
    EXPECT_FALSE(row.at(1600).has_value());
    EXPECT_EQ(row.wave.settings().v2, 4);
}
