#include "comm/protocol/ValueConversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vantel {
namespace {

TEST(Readings, FullScaleCountsGiveExactlyTheRangeLimits)
{
    EXPECT_DOUBLE_EQ(ReadingToValue(0x7FFFFF, InputRange::Volt10), 10.0);
    EXPECT_DOUBLE_EQ(ReadingToValue(0x800000, InputRange::Volt10), -10.0);
    EXPECT_DOUBLE_EQ(ReadingToValue(-8388608, InputRange::Volt10), -10.0);
    EXPECT_DOUBLE_EQ(ReadingToValue(0, InputRange::Volt10), 0.0);
    EXPECT_DOUBLE_EQ(ReadingToValue(0x7FFFFF, InputRange::Millivolt100), 0.1);
    EXPECT_DOUBLE_EQ(ReadingToValue(0x7FFFFF, InputRange::Current50Ohm), 20.0);
    EXPECT_DOUBLE_EQ(ReadingToValue(0xFFFFFF, InputRange::Volt1), -1.0 / 8388608);
}

TEST(Readings, ThermocoupleCountsPerDegree)
{
    EXPECT_DOUBLE_EQ(ReadingToValue(25600, InputRange::Thermocouple), 10.0);
    EXPECT_DOUBLE_EQ(ReadingToValue(0xFFF600, InputRange::Thermocouple), -1.0);
}

TEST(Readings, UnknownRangeCodesCountAsThirtyVolts)
{
    EXPECT_DOUBLE_EQ(ReadingToValue(0x7FFFFF, 7), 30.0);
    EXPECT_DOUBLE_EQ(ReadingToValue(0x800000, 99), -30.0);
    EXPECT_DOUBLE_EQ(ReadingToValue(0x7FFFFF, -1), 30.0);
    EXPECT_EQ(RangeText(7), "");
    EXPECT_EQ(RangeText(-1), "");
}

TEST(Ranges, TextsInComboOrder)
{
    EXPECT_EQ(RangeText(0), "±100mV");
    EXPECT_EQ(RangeText(3), "±30V");
    EXPECT_EQ(RangeText(4), "0-20mA (外付け250Ω)");
    EXPECT_EQ(RangeText(5), "0-20mA (外付け50Ω)");
    EXPECT_EQ(RangeText(6), "熱電対");
    EXPECT_TRUE(IsCurrentRange(4));
    EXPECT_FALSE(IsCurrentRange(6));
}

TEST(InputThresholds, SignedByRangeRoundTrip)
{
    EXPECT_EQ(ValueToRaw(0.05, InputRange::Millivolt100, ScaleKind::ByRange), 16384);
    EXPECT_EQ(ValueToRaw(-0.05, InputRange::Millivolt100, ScaleKind::ByRange), -16384 & 0xFFFF);
    EXPECT_DOUBLE_EQ(RawToValue(0xC000, InputRange::Millivolt100, ScaleKind::ByRange), -0.05);
    EXPECT_DOUBLE_EQ(RawToValue(0x7FFF, InputRange::Volt10, ScaleKind::ByRange), 10.0);
    EXPECT_DOUBLE_EQ(RawToValue(0x8000, InputRange::Volt10, ScaleKind::ByRange), -10.0);
    EXPECT_EQ(ValueToRaw(10.0, InputRange::Volt10, ScaleKind::ByRange), 0x7FFF);
    EXPECT_EQ(ValueToRaw(-10.0, InputRange::Volt10, ScaleKind::ByRange), 0x8000);
}

TEST(InputThresholds, CurrentRangesTreatNegativeValuesAsZero)
{
    EXPECT_EQ(ValueToRaw(-5.0, InputRange::Current250Ohm, ScaleKind::ByRange), 0);
    EXPECT_EQ(ValueToRaw(-5.0, InputRange::Current50Ohm, ScaleKind::ByRange), 0);
    EXPECT_NE(ValueToRaw(-5.0, InputRange::Volt10, ScaleKind::ByRange), 0);
}

TEST(InputThresholds, ThermocoupleCountsTenthsOfADegree)
{
    EXPECT_EQ(ValueToRaw(25.04, InputRange::Thermocouple, ScaleKind::ByRange), 250);
    EXPECT_EQ(ValueToRaw(-1.25, InputRange::Thermocouple, ScaleKind::ByRange), -13 & 0xFFFF);
    EXPECT_DOUBLE_EQ(RawToValue(0xFFF3, InputRange::Thermocouple, ScaleKind::ByRange), -1.3);
}

TEST(InputThresholds, EnteredValuesAreClampedBeforeConversion)
{
    // 9000 counts as 7000: 70000 tenths saturate at the 16-bit limit.
    EXPECT_EQ(ValueToRaw(9000.0, InputRange::Thermocouple, ScaleKind::ByRange), 0x7FFF);
    EXPECT_EQ(ValueToRaw(9000.0, InputRange::Thermocouple, ScaleKind::UnsignedByRange), 35000);
    EXPECT_EQ(ValueToRaw(6999.0, InputRange::Thermocouple, ScaleKind::UnsignedByRange), 34995);
    // Far beyond any int after scaling by the smallest range: saturates instead of overflowing.
    EXPECT_EQ(ValueToRaw(1e12, InputRange::Millivolt100, ScaleKind::ByRange), 0x7FFF);
    EXPECT_EQ(ValueToRaw(-1e12, InputRange::Millivolt100, ScaleKind::ByRange), 0x8000);
    EXPECT_EQ(ValueToRaw(std::numeric_limits<double>::quiet_NaN(), InputRange::Volt10, ScaleKind::ByRange), 0);
}

TEST(OutputThresholds, ByOutputMode)
{
    EXPECT_DOUBLE_EQ(RawToValue(0x7FFF, OutputMode::Current, ScaleKind::ByOutputMode), 20.0);
    EXPECT_DOUBLE_EQ(RawToValue(0x7FFF, OutputMode::Voltage, ScaleKind::ByOutputMode), 10.0);
    // Negative counts scale as voltage in either mode.
    EXPECT_DOUBLE_EQ(RawToValue(0x8000, OutputMode::Current, ScaleKind::ByOutputMode), -10.0);
    EXPECT_EQ(ValueToRaw(20.0, OutputMode::Current, ScaleKind::ByOutputMode), 0x7FFF);
    EXPECT_EQ(ValueToRaw(-3.0, OutputMode::Current, ScaleKind::ByOutputMode), 0);
    EXPECT_EQ(ValueToRaw(-10.0, OutputMode::Voltage, ScaleKind::ByOutputMode), 0x8000);
    EXPECT_EQ(ValueToRaw(5.0, OutputMode::Voltage, ScaleKind::ByOutputMode), 16384);
}

TEST(AlertLevels, UnsignedByRangeCountsHalfSteps)
{
    EXPECT_DOUBLE_EQ(RawToValue(0xFFFF, InputRange::Volt10, ScaleKind::UnsignedByRange), 20.0);
    EXPECT_DOUBLE_EQ(RawToValue(100, InputRange::Thermocouple, ScaleKind::UnsignedByRange), 20.0);
    EXPECT_EQ(ValueToRaw(20.0, InputRange::Volt10, ScaleKind::UnsignedByRange), 0xFFFF);
    EXPECT_EQ(ValueToRaw(5.0, InputRange::Volt10, ScaleKind::UnsignedByRange), 16384);
    EXPECT_EQ(ValueToRaw(30.0, InputRange::Volt10, ScaleKind::UnsignedByRange), 0xFFFF);
    // An unsigned level cannot wrap around to a huge one from a negative entry.
    EXPECT_EQ(ValueToRaw(-1.0, InputRange::Volt10, ScaleKind::UnsignedByRange), 0);
}

TEST(OutputSetValues, CurrentUsesThirtyTwoThousandSevenHundredSixtyEightStepsPerTwentyMilliamperes)
{
    EXPECT_EQ(ValueToOutputRaw(OutputMode::Current, 12.5), 20480);
    // Written with 32768 steps, read back with 32767: a round trip drifts slightly.
    EXPECT_DOUBLE_EQ(OutputRawToValue(OutputMode::Current, 20480), 20480 * 20.0 / 32767);
    EXPECT_EQ(ValueToOutputRaw(OutputMode::Current, -1.0), 0);
    EXPECT_EQ(ValueToOutputRaw(OutputMode::Current, 20.0), 32767);
    EXPECT_EQ(ValueToOutputRaw(OutputMode::Current, 1e300), 32767);
    // Read-back in current mode does not sign-extend.
    EXPECT_DOUBLE_EQ(OutputRawToValue(OutputMode::Current, 0xFFFF), 0xFFFF * 20.0 / 32767);
}

TEST(OutputSetValues, VoltageRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(ValueToOutputRaw(OutputMode::Voltage, 5.0), 16384);
    EXPECT_NEAR(OutputRawToValue(OutputMode::Voltage, 16384), 5.00015, 1e-5);
    EXPECT_EQ(ValueToOutputRaw(OutputMode::Voltage, -5.0), -16384);
    EXPECT_EQ(ValueToOutputRaw(OutputMode::Voltage, -10.0), -32768);
    EXPECT_EQ(ValueToOutputRaw(OutputMode::Voltage, -11.0), -32768);
    EXPECT_EQ(ValueToOutputRaw(OutputMode::Voltage, 11.0), 32767);
    EXPECT_DOUBLE_EQ(OutputRawToValue(OutputMode::Voltage, 0x8000), -10.0);
    EXPECT_DOUBLE_EQ(OutputRawToValue(OutputMode::Voltage, 0xFFFF), -10.0 / 32768);
}

TEST(Formatting, LongFormByRange)
{
    EXPECT_EQ(FormatByRange(0, 0.05, true), "  0.050");
    EXPECT_EQ(FormatByRange(1, -0.5, true), "-0.50000");
    EXPECT_EQ(FormatByRange(2, 1.5, true), " 1.5000");
    EXPECT_EQ(FormatByRange(3, 1.5, true), " 1.5000");
    EXPECT_EQ(FormatByRange(4, 12.3456, true), " 12.346");
    EXPECT_EQ(FormatByRange(6, 100.0, true), " 100.00");
    EXPECT_EQ(FormatByRange(9, 1.5, true), " 1.5000");
}

TEST(Formatting, ShortFormByOutputMode)
{
    EXPECT_EQ(FormatByRange(OutputMode::Current, 12.5, false), "12.500");
    EXPECT_EQ(FormatByRange(OutputMode::Current, 1.5, false), "1.500");
    EXPECT_EQ(FormatByRange(OutputMode::Voltage, -5.0, false), "-5.0000");
}

TEST(Formatting, CompactKeepsSevenCharactersOrTheIntegerPart)
{
    EXPECT_EQ(FormatCompact(3.14159265), "3.14159");
    EXPECT_EQ(FormatCompact(1234567.5), "1234567");
    EXPECT_EQ(FormatCompact(-0.5), "-0.50000");
    EXPECT_EQ(FormatCompact(-12.345678), "-12.3456");
    EXPECT_EQ(FormatCompact(12345.678), "12345.6");
    EXPECT_EQ(FormatCompact(123456.7), "123456");
    EXPECT_EQ(FormatCompact(0.0), "0.00000");
}

} // namespace
} // namespace vantel
