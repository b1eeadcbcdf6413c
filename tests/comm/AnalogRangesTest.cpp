#include "comm/protocol/AnalogRanges.h"
#include "comm/protocol/ValueConversion.h"

#include <gtest/gtest.h>

#include <climits>

using namespace vantel;

TEST(AnalogRanges, EveryCodeShowsItsUnitAndStartsInItsGraphRange)
{
    const char* units[] = {"mV", "V", "V", "V", "mA", "mA", "℃"};
    const GraphRange graphs[] = {{-100, 100}, {-1, 1}, {-10, 10}, {-30, 30}, {0, 20}, {0, 20}, {0, 100}};
    for (int code = 0; code < InputRange::Count; ++code) {
        SCOPED_TRACE(code);
        const InputRangeInfo& range = InputRangeOf(code);
        EXPECT_TRUE(range.known);
        EXPECT_EQ(range.text, RangeText(code));
        EXPECT_EQ(range.unit, units[code]);
        EXPECT_EQ(range.defaultGraph, graphs[code]);
    }
}

TEST(AnalogRanges, TheHundredMillivoltRangeIsShownInMillivolts)
{
    EXPECT_DOUBLE_EQ(ReadingToValue(0x7FFFFF, InputRange::Millivolt100), 0.1);
    EXPECT_DOUBLE_EQ(ReadingToShownValue(0x7FFFFF, InputRange::Millivolt100), 100.0);
    EXPECT_DOUBLE_EQ(ReadingToShownValue(0x800000, InputRange::Volt10), -10.0);
    EXPECT_DOUBLE_EQ(ReadingToShownValue(25600, InputRange::Thermocouple), 10.0);
}

// Units may report codes the table does not list; they convert as ±30 V and
// are never looked up past the table's end.
TEST(AnalogRanges, CodesOutsideTheTableAreUnknown)
{
    for (const int code : {7, 8, 99, -1, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(code);
        const InputRangeInfo& range = InputRangeOf(code);
        EXPECT_FALSE(range.known);
        EXPECT_EQ(range.text, "");
        EXPECT_EQ(range.unit, "V");
        EXPECT_DOUBLE_EQ(ReadingToShownValue(0x7FFFFF, code), 30.0);
        EXPECT_EQ(FormatByRange(code, 1.5, true), " 1.5000");
    }
}

TEST(AnalogRanges, OutputModesOtherThanCurrentDriveVoltage)
{
    EXPECT_EQ(OutputModeOf(OutputMode::Voltage).unit, "V");
    EXPECT_EQ(OutputModeOf(OutputMode::Current).unit, "mA");
    EXPECT_EQ(OutputModeOf(OutputMode::Current).text, "0-20mA");
    EXPECT_EQ(OutputModeOf(OutputMode::Current).defaultGraph, (GraphRange{0, 20}));
    EXPECT_EQ(OutputModeOf(OutputMode::Voltage).defaultGraph, (GraphRange{-10, 10}));
    for (const int mode : {2, -1, INT_MAX}) {
        SCOPED_TRACE(mode);
        EXPECT_FALSE(OutputModeOf(mode).known);
        EXPECT_EQ(OutputModeOf(mode).unit, "V");
        EXPECT_EQ(FormatByRange(mode, -5.0, false), "-5.0000");
    }
}
