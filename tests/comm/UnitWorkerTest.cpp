#include "comm/worker/UnitWorker.h"
#include "CallRecorder.h"
#include "LoopbackPeer.h"
#include "platform/WinsockError.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <map>
#include <mutex>
#include <string>

namespace vantel {
namespace {

using test::CallRecorder;
using test::LoopbackPeer;
using test::Recorder;
using test::ValuesOf;
using Call = CallRecorder::Call;
using Bits = std::optional<int>;
template <typename Reply> using OnChannel = std::pair<int, std::optional<Reply>>;

constexpr int kShortTimeoutMs = 150;
const std::string kLoopback = "127.0.0.1";
constexpr int kAsciiDigitalRow = 23;  // eight outputs, ASCII dialect
constexpr int kTwoByteRow = 0;        // two-byte dialect
constexpr int kNineByteOutputRow = 1; // outputs over the second port
constexpr int kNineByteInputRow = 2;  // two inputs over the second port

// A unit that answers each command (terminator included) from a table and
// keeps every command it received.
using Replies = std::map<std::string, std::string>;

class TableUnit {
public:
    explicit TableUnit(Replies replies)
        : replies_(std::move(replies)), peer_([this](const std::string& command) { return answer(command); })
    {
    }

    int port() const { return peer_.port(); }
    int connections() const { return peer_.connections(); }
    std::vector<std::string> received()
    {
        std::lock_guard lock(mutex_);
        return received_;
    }

private:
    std::optional<std::string> answer(const std::string& command)
    {
        std::lock_guard lock(mutex_);
        received_.push_back(command);
        const auto found = replies_.find(command);
        return found == replies_.end() ? std::string("??\xC8") : found->second;
    }

    Replies replies_;
    std::mutex mutex_;
    std::vector<std::string> received_;
    LoopbackPeer peer_; // last: its thread uses the members above
};

// A table unit with a channel connected to it and a recorder for the callbacks.
struct AnalogRig {
    explicit AnalogRig(Replies replies) : unit(std::move(replies))
    {
        connected = channel.connect(kLoopback, unit.port(), kAnyAddress) == 0;
    }

    TableUnit unit;
    CAnalogChannel channel;
    CallRecorder calls;
    bool connected = false;
};

struct DigitalRig {
    DigitalRig(Replies replies, int row, int secondPort = 0) : unit(std::move(replies))
    {
        connected = channel.connect(kLoopback, unit.port(), row, secondPort, kAnyAddress) == 0;
    }

    TableUnit unit;
    CDigitalChannel channel;
    CallRecorder calls;
    bool connected = false;
};

TEST(AnalogWorker, CallsBackWithTheParsedReplies)
{
    AnalogRig rig(Replies{{"AI'\xC8", "ai'000100FFFFFF800000\xC8"},
                          {"DI\xC8", "di\x25\x23\xC8"},
                          {"AY!\xC8", "ay)8000\xC8"},
                          {"DS\x22\x21\xC8"
                           "DY\xC8",
                           "ds\x22\x21\xC8"
                           "dy\x24\x21\xC8"},
                          {"AK\x20\xC8", "ak\x20\x2A"
                                         "01000F00\xC8"}});
    ASSERT_TRUE(rig.connected);
    Recorder<std::optional<analog::InputReadings>> readings;
    Recorder<std::pair<Bits, int>> inputs;
    Recorder<OnChannel<analog::OutputSetting>> output;
    Recorder<OnChannel<analog::SwitchedOutput>> switched;
    Recorder<OnChannel<analog::Thresholds>> thresholds;
    {
        AnalogWorker worker(rig.channel);
        worker.post(analog::ReadAllInputs{3, [&](auto read) { readings.record(read); }});
        worker.post(analog::ReadDigitalInputs{77, [&](Bits bits, int extra) { inputs.record(bits, extra); }});
        worker.post(analog::ReadOutput{1, [&](int ch, auto read) { output.record(ch, read); }});
        worker.post(analog::SwitchOutput{2, 1, [&](int ch, auto read) { switched.record(ch, read); }});
        worker.post(analog::ReadThresholds{0, [&](int ch, auto read) { thresholds.record(ch, read); }});
    }
    // 0xFFFFFF is the reading -1, not a failure; inputs beyond the three read are 0.
    EXPECT_EQ(readings.calls(), (std::vector{std::optional(analog::InputReadings{0x100, -1, -8388608, 0, 0})}));
    EXPECT_EQ(inputs.calls(), (std::vector{std::pair{Bits(0x305), 77}}));
    EXPECT_EQ(output.calls(), (std::vector{OnChannel<analog::OutputSetting>{1, analog::OutputSetting{1, 0x8000}}}));
    EXPECT_EQ(switched.calls(), (std::vector{OnChannel<analog::SwitchedOutput>{2, analog::SwitchedOutput{1, 0x104}}}));
    EXPECT_EQ(thresholds.calls(),
              (std::vector{OnChannel<analog::Thresholds>{0, analog::Thresholds{1, 2, 0x100, 0xF00}}}));
}

TEST(AnalogWorker, RequestsOfOneKindKeepTheirOwnArguments)
{
    AnalogRig rig(Replies{{"AO\x20"
                           "0064\xC8",
                           "ao\x20"
                           "0064\xC8"},
                          {"AO\x29"
                           "00C8\xC8",
                           "ao\x29"
                           "00C8\xC8"}});
    ASSERT_TRUE(rig.connected);
    Recorder<std::pair<int, Bits>> written;
    {
        AnalogWorker worker(rig.channel);
        const auto done = [&](int ch, Bits raw) { written.record(ch, raw); };
        worker.post(analog::SetOutput{0, 0, 100, done});
        worker.post(analog::SetOutput{1, 1, 200, done});
    }
    EXPECT_EQ(written.calls(), (std::vector<std::pair<int, Bits>>{{0, 100}, {1, 200}}));
    EXPECT_EQ(rig.unit.received(), (std::vector<std::string>{"AO\x20"
                                                             "0064\xC8",
                                                             "AO\x29"
                                                             "00C8\xC8"}));
}

TEST(AnalogWorker, FailuresCarryNoValueButKeepTheChannel)
{
    CAnalogChannel channel;
    channel.connect(kLoopback, test::ClosedPort(), kAnyAddress);
    CallRecorder calls; // per call: the channel (or -1 without one), then 1 when a value came
    {
        AnalogWorker worker(channel);
        const auto onChannel = [&](int ch, const auto& reply) { calls.record(ch, reply.has_value() ? 1 : 0); };
        const auto alone = [&](const auto& reply) { calls.record(-1, reply.has_value() ? 1 : 0); };
        worker.post(analog::ReadAllInputs{3, alone});
        worker.post(analog::ReadThresholds{4, onChannel});
        worker.post(analog::ReadOutputAlert{2, onChannel});
        worker.post(analog::SetRange{5, 3, onChannel});
        worker.post(analog::SetThermocouple{1, 2, 3, onChannel});
        worker.post(analog::ReadModel{alone});
    }
    EXPECT_EQ(calls.calls(), (std::vector<Call>{{-1, 0}, {4, 0}, {2, 0}, {5, 0}, {1, 0}, {-1, 0}}));
}

TEST(AnalogWorker, UnitSwitchedOffFailsAfterTheTimeOutAndTheNextRequestReconnects)
{
    std::atomic<int> commands{0};
    LoopbackPeer peer([&commands](const std::string&) -> std::optional<std::string> {
        return ++commands == 1 ? "" : "dy\x21\x20\xC8";
    });
    CAnalogChannel channel(kShortTimeoutMs);
    ASSERT_EQ(channel.connect(kLoopback, peer.port(), kAnyAddress), 0);
    Recorder<Bits> calls;
    {
        AnalogWorker worker(channel);
        const auto done = [&](Bits outputs) { calls.record(outputs); };
        worker.post(analog::ReadDigitalOutputs{done});
        worker.post(analog::ReadDigitalOutputs{done});
    }
    EXPECT_EQ(calls.calls(), (std::vector<Bits>{std::nullopt, 1}));
    EXPECT_EQ(peer.connections(), 2);
}

TEST(AnalogWorker, MalformedReplyFailsAndTheNextRequestStartsAfresh)
{
    // Garbage of the expected length, then garbage longer than it, then sense.
    std::atomic<int> commands{0};
    LoopbackPeer peer([&commands](const std::string&) -> std::optional<std::string> {
        switch (++commands) {
        case 1:
            return "zz\x21\x20\xC8";
        case 2:
            return "dy\x21\x20\xC8 trailing noise";
        default:
            return "dy\x22\x20\xC8";
        }
    });
    // The first reply answers another command: skipped, nothing else comes.
    CAnalogChannel channel(kShortTimeoutMs);
    ASSERT_EQ(channel.connect(kLoopback, peer.port(), kAnyAddress), 0);
    Recorder<Bits> calls;
    {
        AnalogWorker worker(channel);
        const auto done = [&](Bits outputs) { calls.record(outputs); };
        for (int i = 0; i < 3; ++i) {
            worker.post(analog::ReadDigitalOutputs{done});
        }
    }
    // The noise after the second reply must not leak into the third.
    EXPECT_EQ(calls.calls(), (std::vector<Bits>{std::nullopt, 1, 2}));
}

TEST(UnitWorker, QuitServesWhatWasQueuedBeforeAndNothingAfter)
{
    AnalogRig rig(Replies{{"DY\xC8", "dy\x21\x20\xC8"}});
    ASSERT_TRUE(rig.connected);
    {
        AnalogWorker worker(rig.channel);
        const auto done = [&](Bits outputs) { rig.calls.record(outputs.value_or(0)); };
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(worker.post(analog::ReadDigitalOutputs{done}));
        }
        worker.quit();
        EXPECT_FALSE(worker.post(analog::ReadDigitalOutputs{done}));
        worker.stop();
        EXPECT_EQ(rig.calls.calls().size(), 4u);
    }
    EXPECT_EQ(rig.calls.calls().size(), 4u);
}

TEST(UnitWorker, FinishWithinTellsWhetherTheQueueWasServed)
{
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    std::atomic<int> served{0};
    WorkerThread<int> worker([&](int&) {
        gate.wait();
        ++served;
    });
    worker.post(1);
    worker.post(2);
    worker.quit();
    EXPECT_FALSE(worker.finishWithin(std::chrono::milliseconds(20))) << "a request is still blocked";
    release.set_value();
    EXPECT_TRUE(worker.finishWithin(std::chrono::seconds(10)));
    EXPECT_EQ(served.load(), 2);
    worker.stop();
}

TEST(UnitWorker, CallbacksChainTheNextRequestOnTheWorker)
{
    AnalogRig rig(Replies{{"DI\xC8", "di\x21\x20\xC8"}});
    ASSERT_TRUE(rig.connected);
    AnalogWorker worker(rig.channel);
    Recorder<std::pair<Bits, int>> rounds;
    std::function<void(Bits, int)> poll = [&](Bits inputs, int round) {
        rounds.record(inputs, round);
        if (round < 5) {
            worker.post(analog::ReadDigitalInputs{round + 1, poll});
        }
    };
    worker.post(analog::ReadDigitalInputs{1, poll});
    EXPECT_EQ(rounds.waitFor(5).back(), (std::pair{Bits(1), 5}));
    // The last callback may still be on the worker: join it before `poll` and
    // `rounds` go.
    worker.stop();
}

TEST(DigitalWorker, AsciiUnitReadsFramesAndSetsMaskedOutputs)
{
    DigitalRig rig(Replies{{"DI\xC8", "di\x25\x21\xC8"},
                           {"DK\x21\x21\x20\x20\xC8", "dk\x23\x20\xC8"},
                           {"DO\x2F\x20\xC8", "do\xC8"}},
                   kAsciiDigitalRow);
    ASSERT_TRUE(rig.connected);
    {
        DigitalWorker worker(rig.channel);
        worker.post(digital::ReadInputs{[&](const auto& read) { rig.calls.record(ValuesOf(read)); }});
        worker.post(
            digital::MaskedSet{1, 1, 9, [&](Bits outputs, int extra) { rig.calls.record(ValuesOf(outputs, extra)); }});
        worker.post(digital::WriteOutputs{15, [&](Bits outputs) { rig.calls.record(ValuesOf(outputs)); }});
    }
    EXPECT_EQ(rig.calls.calls(), (std::vector<Call>{{0x15}, {3, 9}, {15}}));
}

TEST(DigitalWorker, MaskedSetIsDroppedOutsideTheAsciiDialect)
{
    DigitalRig rig(Replies{{"\x55\x55", "\x80\x01"}}, kTwoByteRow);
    ASSERT_TRUE(rig.connected);
    {
        DigitalWorker worker(rig.channel);
        worker.post(
            digital::MaskedSet{1, 1, 9, [&](Bits outputs, int extra) { rig.calls.record(ValuesOf(outputs, extra)); }});
        worker.post(digital::ReadInputs{[&](const auto& read) { rig.calls.record(ValuesOf(read)); }});
    }
    // Inputs 0-4 sit in bits 7-11 of the little-endian reply word.
    EXPECT_EQ(rig.calls.calls(), (std::vector<Call>{{0x03}}));
    EXPECT_EQ(rig.unit.received(), (std::vector<std::string>{"\x55\x55"}));
}

TEST(DigitalWorker, FailedExtraInputQueryIsReportedApart)
{
    DigitalRig rig(Replies{{"\x55\x55", std::string("\x80\0", 2)}}, kNineByteInputRow, test::ClosedPort());
    ASSERT_TRUE(rig.connected);
    Recorder<digital::InputsResult> reads;
    {
        DigitalWorker worker(rig.channel);
        worker.post(digital::ReadInputs{[&](const digital::InputsResult& read) { reads.record(read); }});
    }
    EXPECT_EQ(reads.calls(), (std::vector<digital::InputsResult>{digital::InputsFailure::ExtraInputs}));
}

TEST(DigitalWorker, NineByteOutputsGoToTheSecondPort)
{
    std::atomic<int> writes{0};
    LoopbackPeer second([&writes](const std::string& command) -> std::optional<std::string> {
        if (command.size() == 9 && command[0] == '\x1B') {
            ++writes;
        }
        return std::string("\x1B\x05\0\0\0", 5);
    });
    DigitalRig rig(Replies{}, kNineByteOutputRow, second.port());
    ASSERT_TRUE(rig.connected);
    {
        DigitalWorker worker(rig.channel);
        worker.post(digital::WriteOutputs{5, [&](Bits outputs) { rig.calls.record(ValuesOf(outputs)); }});
        worker.post(digital::ReadOutputs{[&](Bits outputs) { rig.calls.record(ValuesOf(outputs)); }});
    }
    EXPECT_EQ(rig.calls.calls(), (std::vector<Call>{{5}, {5}}));
    EXPECT_EQ(writes.load(), 1);
    EXPECT_TRUE(rig.unit.received().empty());
}

TEST(DigitalWorker, ModelQueryInBothDialects)
{
    DigitalRig binary(Replies{{"\x55\x55", "\x45\x70"}}, kTwoByteRow);
    ASSERT_TRUE(binary.connected);
    const auto fromBinary = QueryDigitalModel(binary.channel);
    EXPECT_EQ(fromBinary.error, 0);
    EXPECT_EQ(fromBinary.value.modelCode, 7);
    EXPECT_EQ(fromBinary.value.unitId, 10);

    // A model code of 15 is extended by the fourth field; the one-shot value follows.
    DigitalRig text(Replies{{"MI\xC8", "mi\x2F\x2F\x23\xC8"},
                            {"NJ\x22\xC8", "nj\x22"
                                           "1A\xC8"}},
                    kAsciiDigitalRow);
    ASSERT_TRUE(text.connected);
    const auto fromText = QueryDigitalModel(text.channel);
    EXPECT_EQ(fromText.error, 0);
    EXPECT_EQ(fromText.value.modelCode, 0x13);
    EXPECT_EQ(fromText.value.unitId, 0);
    EXPECT_EQ(QueryOneShotValue(text.channel, 2).value, 0x1A);
}

} // namespace
} // namespace vantel
