#include "RawClient.h"
#include "SimUnit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace vantel::sim::test {
namespace {

std::string Text(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

class AsciiUnit : public ::testing::Test {
protected:
    SimUnit& startUnit(int row, int unitId = 0)
    {
        unit_ = std::make_unique<SimUnit>(UnitConfig{.row = row, .unitId = unitId});
        unit_->start();
        client_ = std::make_unique<RawClient>(unit_->port());
        EXPECT_TRUE(client_->connected());
        return *unit_;
    }

    std::string ask(std::string_view command)
    {
        client_->send(B(command));
        return Text(client_->readFrame());
    }

    std::unique_ptr<SimUnit> unit_;
    std::unique_ptr<RawClient> client_;
};

TEST_F(AsciiUnit, ModelQueryCarriesUnitIdAndModelCode)
{
    startUnit(19, 3);
    EXPECT_EQ(ask("MI\xC8"), "mi\x2C\x28\xC8");
}

TEST_F(AsciiUnit, ModelCodesFromFifteenUseTheExtensionByte)
{
    startUnit(22, 5); // model code 17
    EXPECT_EQ(ask("MI\xC8"), "mi\x2A\x2F\x21\xC8");
}

TEST_F(AsciiUnit, ForgetsAnUnfinishedCommandAfterASilence)
{
    // A search tries the two-byte model query first; an ASCII unit never sees
    // it end, and must still answer the MI that follows after the wait.
    startUnit(22, 5);
    client_->send(B("\x55\x55"));
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_EQ(ask("MI\xC8"), "mi\x2A\x2F\x21\xC8");
}

TEST_F(AsciiUnit, GatewayModelQueriesEncodeIdAndCode)
{
    startUnit(37, 4); // model code 8
    EXPECT_EQ(ask("MD\xC8"), "md\x2B\x28\xC8");
    const std::string serial = ask("SN\xC8");
    ASSERT_EQ(serial.size(), 7u);
    EXPECT_EQ(serial.substr(4), "\x2B\x28\xC8");
}

TEST_F(AsciiUnit, OutputGroupsWriteReadAndMask)
{
    SimUnit& unit = startUnit(23); // eight outputs
    EXPECT_EQ(ask("DO\x25\x2A\xC8"), "do\x25\x2A\xC8");
    EXPECT_EQ(unit.outputBits(), 0xA5u);
    EXPECT_EQ(ask("DY\xC8"), "dy\x25\x2A\xC8");

    // Clear output 0, set output 6, leave the rest alone.
    EXPECT_EQ(ask("DK\x20\x21\x24\x24\xC8"), "dk\x24\x2E\xC8");
    EXPECT_EQ(unit.outputBits(), 0xE4u);
}

TEST_F(AsciiUnit, OutputsBeyondTheUnitsCountAreIgnored)
{
    SimUnit& unit = startUnit(19); // two digital outputs
    EXPECT_EQ(ask("DO\x2F\x2F\xC8"), "do\x23\x20\xC8");
    EXPECT_EQ(unit.outputBits(), 0x3u);
}

TEST_F(AsciiUnit, InputBitsSetByTheTestAreReported)
{
    SimUnit& unit = startUnit(25); // eight inputs
    unit.setInputBits(0x81);
    EXPECT_EQ(ask("DI\xC8"), "di\x21\x28\xC8");
}

TEST_F(AsciiUnit, AnalogReadingsAreTwentyFourBitCounts)
{
    SimUnit& unit = startUnit(30); // five analog inputs
    unit.modify([](UnitState& s) {
        s.pinnedReadings[0] = -1;
        s.pinnedReadings[1] = 0x7FFFFF;
        s.pinnedReadings[2] = -8388608;
    });
    EXPECT_EQ(ask("AI\x20\xC8"), "ai\x20"
                                 "FFFFFF\xC8");

    const std::string all = ask("AI\x27\xC8");
    ASSERT_EQ(all.size(), 34u);
    EXPECT_EQ(all.substr(0, 21), "ai\x27"
                                 "FFFFFF7FFFFF800000");
    // An unpinned voltage input swings within 60 % of full scale.
    const auto moving = ParseHex(B(all), 21, 6);
    ASSERT_TRUE(moving);
    const std::int32_t value =
        *moving >= 0x800000 ? static_cast<std::int32_t>(*moving) - 0x1000000 : static_cast<std::int32_t>(*moving);
    EXPECT_LE(std::abs(value), 5033165);
}

TEST_F(AsciiUnit, ThermocoupleRangeReadsNearRoomTemperature)
{
    SimUnit& unit = startUnit(18);
    EXPECT_EQ(ask("AR\x21\x26\xC8"), "ar\x21\x26\xC8");
    EXPECT_EQ(unit.state().rangeCodes[1], 6);
    const auto raw = ParseHex(B(ask("AI\x21\xC8")), 3, 6);
    ASSERT_TRUE(raw);
    EXPECT_GE(*raw, 22u * 2560u);
    EXPECT_LE(*raw, 28u * 2560u);
}

TEST_F(AsciiUnit, AnalogOutputWriteIsReadBackWithItsMode)
{
    SimUnit& unit = startUnit(49);
    EXPECT_EQ(ask("AO\x29"
                  "5000\xC8"),
              "ao\x29"
              "5000\xC8");
    EXPECT_EQ(unit.state().analogOutputs[1].mode, 1);
    EXPECT_EQ(unit.state().analogOutputs[1].raw, 0x5000);
    EXPECT_EQ(ask("AY\x21\xC8"), "ay\x29"
                                 "5000\xC8");
    EXPECT_EQ(ask("AO\x20"
                  "FFFF\xC8")
                  .size(),
              8u);
    EXPECT_EQ(ask("AY\x20\xC8"), "ay\x20"
                                 "FFFF\xC8");
}

TEST_F(AsciiUnit, RangeAndThresholdSettingsPersist)
{
    startUnit(18); // three analog inputs
    EXPECT_EQ(ask("AR\x22\x23\xC8"), "ar\x22\x23\xC8");
    EXPECT_EQ(ask("AJ\x22\xC8"), "aj\x22\x23\x20\xC8");

    EXPECT_EQ(ask("AL\x20\x28"
                  "FF000100\xC8"),
              "al\x20\x28"
              "FF000100\xC8");
    EXPECT_EQ(ask("AK\x20\xC8"), "ak\x20\x28"
                                 "FF000100\xC8");
    const std::string all = ask("AK\x27\xC8");
    ASSERT_EQ(all.size(), 31u);
    EXPECT_EQ(all.substr(3, 9), "\x28"
                                "FF000100");
}

TEST_F(AsciiUnit, ThermocoupleSettingsPersist)
{
    startUnit(18);
    EXPECT_EQ(ask("TC\x21\x23\x25\xC8"), "tc\x21\x23\x25\xC8");
    const std::string one = ask("TJ\x21\xC8");
    ASSERT_EQ(one.size(), 15u);
    EXPECT_EQ(one.substr(0, 5), "tj\x21\x23\x25");
    const std::string all = ask("TJ\x27\xC8");
    ASSERT_EQ(all.size(), 37u);
    EXPECT_EQ(all.substr(14, 2), "\x23\x25");
}

TEST_F(AsciiUnit, OutputAlertSettingsAndEnable)
{
    SimUnit& unit = startUnit(18);
    unit.modify([](UnitState& s) { s.outputBits = 0x2; });
    EXPECT_EQ(ask("DL\x21\x21\x23"
                  "1234\xC8"),
              "dl\x21\x21\x23"
              "1234\xC8");
    // Enable and output read travel in one send and answer back to back.
    client_->send(B("DS\x21\x21\xC8"
                    "DY\xC8"));
    EXPECT_EQ(Text(client_->read(10)), "ds\x21\x21\xC8"
                                       "dy\x22\x20\xC8");
    EXPECT_EQ(ask("DJ\x21\xC8"), "dj\x21\x21\x23\x21"
                                 "1234\xC8");
}

TEST_F(AsciiUnit, MemoryReadsFollowTheSettings)
{
    startUnit(18);
    EXPECT_EQ(ask("AP\x24\xC8"), "ap\x24\xC8");
    EXPECT_EQ(ask("MR0491\xC8"), "mr0491"
                                 "04\xC8");
    EXPECT_EQ(ask("AR\x20\x20\xC8").size(), 5u);
    EXPECT_EQ(ask("MR1004\xC8"), "mr1004"
                                 "01000202\xC8");
    EXPECT_EQ(ask("MR0D08\xC8").size(), 23u);
}

TEST_F(AsciiUnit, OneShotValuePerOutput)
{
    SimUnit& unit = startUnit(22);
    unit.modify([](UnitState& s) { s.oneShotValues[2] = 0x1F; });
    EXPECT_EQ(ask("NJ\x22\xC8"), "nj\x22"
                                 "1F\xC8");
}

TEST_F(AsciiUnit, CommandsSplitOrBatchedAreEachAnswered)
{
    SimUnit& unit = startUnit(22);
    client_->send(B("D"));
    client_->send(B("I\xC8"));
    EXPECT_EQ(Text(client_->readFrame()), "di\x20\x20\xC8");
    // An unknown command is ignored; the next one is answered.
    EXPECT_EQ(ask("ZZ\xC8"
                  "DY\xC8"),
              "dy\x20\x20\xC8");
    ASSERT_EQ(unit.receivedCommands().size(), 3u);
    EXPECT_EQ(unit.receivedCommands()[1].bytes, B("ZZ\xC8"));
}

} // namespace
} // namespace vantel::sim::test

namespace vantel::sim::test {
namespace {

// The DO alert of DO1 follows AI1 against its band (LED inside) with a
// hysteresis of 0x10 threshold steps.
TEST_F(AsciiUnit, AnOutputAlertDrivesItsOutputFromTheMonitoredInput)
{
    SimUnit& unit = startUnit(18);
    constexpr int kStep = 1 << 8; // one threshold step in reading counts
    const auto readingAt = [&](int counts) {
        unit.modify([counts](UnitState& s) { s.pinnedReadings[0] = counts; });
        ask("DY\xC8");
        return unit.outputBits() & 1u;
    };
    unit.modify([](UnitState& s) {
        s.thresholds[0] = {0, 0, 0xF000, 0x1000}; // -0x1000 ... 0x1000
        s.doAlerts[0] = {0, 0, 0x10, 1};
    });
    EXPECT_EQ(readingAt(0), 1u) << "inside the band";
    EXPECT_EQ(readingAt(0x1008 * kStep), 1u) << "past the band, within the hysteresis";
    EXPECT_EQ(readingAt(0x1011 * kStep), 0u) << "past the hysteresis";
    EXPECT_EQ(readingAt(0x1008 * kStep), 0u) << "a dark output lights only inside the band";
    EXPECT_EQ(readingAt(-0x0FFF * kStep), 1u);

    unit.modify([](UnitState& s) { s.thresholds[0].flag = 1; }); // LED lit outside
    EXPECT_EQ(readingAt(0x2000 * kStep), 1u);
    EXPECT_EQ(readingAt(0x0FF8 * kStep), 1u) << "back inside, within the hysteresis";
    EXPECT_EQ(readingAt(0), 0u);

    unit.modify([](UnitState& s) { s.doAlerts[0].enabled = 0; });
    ask("DO\x21\x20\xC8");
    EXPECT_EQ(readingAt(0), 1u) << "without its alert the output is the unit's to switch";
}

} // namespace
} // namespace vantel::sim::test
