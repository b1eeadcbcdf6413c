#include "CallRecorder.h"
#include "SimUnit.h"
#include "comm/worker/UnitWorker.h"
#include "platform/WinsockError.h"
#include "registry/ModelCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace vantel {
namespace {

using test::CallRecorder;
using test::Recorder;
using test::ValuesOf;
using Call = CallRecorder::Call;
using Bits = std::optional<int>;
using Readings = std::optional<analog::InputReadings>;

const std::string kLoopback = "127.0.0.1";
constexpr int kShortTimeoutMs = 100;
constexpr int kAnalogFiveInputsRow = 30;
constexpr int kAsciiDigitalRow = 22; // four outputs, four inputs
constexpr int kTwoByteRow = 0;
constexpr int kNineByteOutputRow = 1;
constexpr int kNineByteInputRow = 2;

std::unique_ptr<sim::SimUnit> StartUnit(int row, int unitId = 0, sim::UnitConfig config = {})
{
    config.row = row;
    config.unitId = unitId;
    auto unit = std::make_unique<sim::SimUnit>(config);
    unit->start();
    return unit;
}

// The channels are declared before their workers, which quit and join first.
struct AnalogSetup {
    explicit AnalogSetup(int timeoutMs = 0) : unit(StartUnit(kAnalogFiveInputsRow, 3)), channel(timeoutMs)
    {
        connected = channel.connect(kLoopback, unit->port(), kAnyAddress) == 0;
    }

    void readAllInputs()
    {
        worker.post(analog::ReadAllInputs{5, [this](Readings read) { calls.record(read); }});
    }

    std::unique_ptr<sim::SimUnit> unit;
    CAnalogChannel channel;
    Recorder<Readings> calls;
    bool connected = false;
    AnalogWorker worker{channel};
};

struct DigitalSetup {
    explicit DigitalSetup(int row, int timeoutMs = 0) : unit(StartUnit(row, 5)), channel(timeoutMs)
    {
        connected = channel.connect(kLoopback, unit->port(), row, unit->secondPort(), kAnyAddress) == 0;
    }

    void readInputs()
    {
        worker.post(digital::ReadInputs{[this](const auto& read) { calls.record(ValuesOf(read)); }});
    }

    std::unique_ptr<sim::SimUnit> unit;
    CDigitalChannel channel;
    CallRecorder calls;
    bool connected = false;
    DigitalWorker worker{channel};
};

TEST(SimulatedAnalogUnit, ReadsEveryInputAndItsModel)
{
    AnalogSetup setup;
    ASSERT_TRUE(setup.connected);
    setup.unit->modify([](sim::UnitState& state) {
        const std::int32_t pinned[] = {0x100, -1, -8388608, 8388607, 0};
        for (int ch = 0; ch < 5; ++ch) {
            state.pinnedReadings[ch] = pinned[ch];
        }
    });
    const auto model = QueryAnalogModel(setup.channel);
    EXPECT_EQ(model.error, 0);
    EXPECT_EQ(model.value.unitId, 3);
    EXPECT_EQ(model.value.modelCode, ModelAt(kAnalogFiveInputsRow).modelCode);

    setup.readAllInputs();
    EXPECT_EQ(setup.calls.waitFor(1), (std::vector{Readings(analog::InputReadings{0x100, -1, -8388608, 8388607, 0})}));
}

// 0xFFFFFF is the reading -1, one count below zero: a value like any other.
// Only a unit that stays silent fails the read.
TEST(SimulatedAnalogUnit, AReadingOfAllOnesIsAValueAndOnlySilenceFails)
{
    AnalogSetup setup(kShortTimeoutMs);
    ASSERT_TRUE(setup.connected);
    setup.unit->modify([](sim::UnitState& state) { state.pinnedReadings.fill(0xFFFFFF); });
    Recorder<std::pair<int, Bits>> single;
    const auto readBoth = [&] {
        setup.worker.post(analog::ReadInput{2, [&](int ch, Bits reading) { single.record(ch, reading); }});
        setup.readAllInputs();
    };
    readBoth();
    ASSERT_EQ(setup.calls.waitFor(1).size(), 1u);
    EXPECT_EQ(single.calls(), (std::vector<std::pair<int, Bits>>{{2, -1}}));
    EXPECT_EQ(setup.calls.calls(), (std::vector{Readings(analog::InputReadings{-1, -1, -1, -1, -1})}));

    setup.unit->setFault(sim::Fault::NoReply, 2);
    readBoth();
    ASSERT_EQ(setup.calls.waitFor(2).size(), 2u);
    EXPECT_EQ(single.calls().back(), (std::pair<int, Bits>{2, std::nullopt}));
    EXPECT_EQ(setup.calls.calls().back(), Readings());
}

// A unit that stays silent (switched off) or answers garbage fails one
// request with the failure shape; the next one reconnects and succeeds.
TEST(SimulatedAnalogUnit, OneFaultyReplyFailsOneRequestAndTheNextReconnects)
{
    for (const sim::Fault fault : {sim::Fault::NoReply, sim::Fault::Garbage}) {
        SCOPED_TRACE(std::string(sim::FaultName(fault)));
        AnalogSetup setup(kShortTimeoutMs);
        ASSERT_TRUE(setup.connected);
        setup.unit->setFault(fault, 1);
        setup.readAllInputs();
        setup.readAllInputs();
        const auto calls = setup.calls.waitFor(2);
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_FALSE(calls[0].has_value());
        EXPECT_TRUE(calls[1].has_value());
        EXPECT_EQ(setup.unit->acceptedConnections(), 2u);
    }
}

TEST(SimulatedAnalogUnit, ConnectFailuresCarryWinsockCodes)
{
    sim::UnitConfig refusing;
    refusing.refuseConnections = true;
    auto closed = StartUnit(kAnalogFiveInputsRow, 0, refusing);
    CAnalogChannel refused;
    EXPECT_EQ(refused.connect(kLoopback, closed->port(), kAnyAddress), WinsockError::ConnectionRefused);

    sim::UnitConfig stalling;
    stalling.slowConnect = std::chrono::seconds(5);
    auto busy = StartUnit(kAnalogFiveInputsRow, 0, stalling);
    CAnalogChannel slow(kShortTimeoutMs);
    EXPECT_EQ(slow.connect(kLoopback, busy->port(), kAnyAddress), WinsockError::TimedOut);
}

TEST(SimulatedDigitalUnit, LateReplyWithTheWrongEchoIsSkipped)
{
    DigitalSetup setup(kAsciiDigitalRow);
    ASSERT_TRUE(setup.connected);
    setup.unit->setInputBits(0x9);
    setup.unit->setFault(sim::Fault::StaleEcho, 1);
    setup.readInputs();
    EXPECT_EQ(setup.calls.waitFor(1), (std::vector<Call>{{0x9}}));
}

TEST(SimulatedDigitalUnit, OversizedOrForeignFramesFailOneRequestOnly)
{
    DigitalSetup setup(kAsciiDigitalRow, kShortTimeoutMs);
    ASSERT_TRUE(setup.connected);
    setup.unit->setInputBits(0x6);
    setup.unit->setFault(sim::Fault::OversizeFrame, 1);
    setup.readInputs();
    setup.readInputs();
    EXPECT_EQ(setup.calls.waitFor(2), (std::vector<Call>{{}, {0x6}}));

    setup.unit->setFault(sim::Fault::Garbage, 1);
    setup.readInputs();
    setup.readInputs();
    EXPECT_EQ(setup.calls.waitFor(4), (std::vector<Call>{{}, {0x6}, {}, {0x6}}));
}

TEST(SimulatedDigitalUnit, PollingCarriesOnAcrossAUnitRestart)
{
    DigitalSetup setup(kAsciiDigitalRow);
    ASSERT_TRUE(setup.connected);
    setup.unit->setInputBits(0x3);
    // A panel's polling chain: each callback posts the next read. The unit
    // restarts during the chain, possibly under a request in flight (which
    // then fails); polling goes on until it has recovered.
    constexpr int kRestartAt = 5;
    constexpr int kGiveUpAfter = 5000;
    std::atomic<int> rounds{0};
    std::atomic<int> successesAfterRestart{0};
    std::promise<void> ended;
    std::future<void> chainEnd = ended.get_future();
    std::function<void(const digital::InputsResult&)> poll = [&](const digital::InputsResult& read) {
        setup.calls.record(ValuesOf(read));
        if (std::holds_alternative<int>(read) && rounds > kRestartAt) {
            ++successesAfterRestart;
        }
        if (++rounds == kRestartAt) {
            setup.unit->restart();
        }
        if (successesAfterRestart < 3 && rounds < kGiveUpAfter) {
            setup.worker.post(digital::ReadInputs{poll});
        } else {
            ended.set_value();
        }
    };
    setup.worker.post(digital::ReadInputs{poll});
    ASSERT_EQ(chainEnd.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_EQ(successesAfterRestart.load(), 3);
    EXPECT_EQ(setup.calls.calls().back(), (Call{0x3}));
    EXPECT_GE(setup.unit->acceptedConnections(), 2u);
}

TEST(SimulatedDigitalUnit, ARestartBetweenTwoPollsIsNotAFailure)
{
    DigitalSetup setup(kAsciiDigitalRow);
    ASSERT_TRUE(setup.connected);
    setup.unit->setInputBits(0x5);
    std::promise<Call> first;
    setup.worker.post(digital::ReadInputs{[&](const auto& read) { first.set_value(ValuesOf(read)); }});
    ASSERT_EQ(first.get_future().get(), Call{0x5});

    // The unit drops the idle connection while it restarts; give it the
    // moment a reboot takes before the next poll comes.
    setup.unit->restart();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::promise<Call> second;
    setup.worker.post(digital::ReadInputs{[&](const auto& read) { second.set_value(ValuesOf(read)); }});
    EXPECT_EQ(second.get_future().get(), Call{0x5}) << "the channel reconnects before sending instead of failing";
    EXPECT_EQ(setup.unit->acceptedConnections(), 2u);
}

TEST(SimulatedDigitalUnit, MaskedSetChangesOnlyTheMaskedOutputs)
{
    DigitalSetup setup(kAsciiDigitalRow);
    ASSERT_TRUE(setup.connected);
    setup.worker.post(digital::WriteOutputs{0x5, [&](Bits outputs) { setup.calls.record(ValuesOf(outputs)); }});
    setup.worker.post(digital::MaskedSet{
        0x2, 0x3, 42, [&](Bits outputs, int extra) { setup.calls.record(ValuesOf(outputs, extra)); }});
    EXPECT_EQ(setup.calls.waitFor(2), (std::vector<Call>{{0x5}, {0x6, 42}}));
    EXPECT_EQ(setup.unit->outputBits(), 0x6u);
}

TEST(SimulatedDigitalUnit, TwoByteUnitReportsInputsAndModel)
{
    DigitalSetup setup(kTwoByteRow);
    ASSERT_TRUE(setup.connected);
    setup.unit->setInputBits(0x5);
    setup.readInputs();
    EXPECT_EQ(setup.calls.waitFor(1), (std::vector<Call>{{0x5}}));
    const auto model = QueryDigitalModel(setup.channel);
    EXPECT_EQ(model.error, 0);
    EXPECT_EQ(model.value.unitId, 5);
    EXPECT_EQ(model.value.modelCode, ModelAt(kTwoByteRow).modelCode);
}

TEST(SimulatedDigitalUnit, NineByteOutputsAndExtraInputsUseTheSecondPort)
{
    DigitalSetup outputs(kNineByteOutputRow);
    ASSERT_TRUE(outputs.connected);
    outputs.worker.post(digital::WriteOutputs{0x5, [&](Bits bits) { outputs.calls.record(ValuesOf(bits)); }});
    outputs.worker.post(digital::ReadOutputs{[&](Bits bits) { outputs.calls.record(ValuesOf(bits)); }});
    EXPECT_EQ(outputs.calls.waitFor(2), (std::vector<Call>{{0x5}, {0x5}}));
    EXPECT_EQ(outputs.unit->outputBits(), 0x5u);

    DigitalSetup inputs(kNineByteInputRow);
    ASSERT_TRUE(inputs.connected);
    inputs.unit->setInputBits(0x61);
    inputs.readInputs();
    EXPECT_EQ(inputs.calls.waitFor(1), (std::vector<Call>{{0x61}}));
}

} // namespace
} // namespace vantel
