#include "comm/UnitWorker.h"
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
using Call = CallRecorder::Call;

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
    AnalogWorker worker(rig.channel);
    worker.post(analog::ReadAllInputs{3, [&](int a, int b, int c, int d, int e) { rig.calls.record(a, b, c, d, e); }});
    worker.post(analog::ReadDigitalInputs{77, [&](int inputs, int extra) { rig.calls.record(inputs, extra); }});
    worker.post(analog::ReadOutput{1, [&](int ch, int mode, int raw) { rig.calls.record(ch, mode, raw); }});
    worker.post(
        analog::SwitchOutput{2, 1, [&](int ch, int state, int outputs) { rig.calls.record(ch, state, outputs); }});
    worker.post(analog::ReadThresholds{
        0, [&](int ch, int led, int mode, int low, int high) { rig.calls.record(ch, led, mode, low, high); }});

    const auto got = rig.calls.waitFor(5);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0], (Call{0x100, -1, -8388608, 0, 0}));
    EXPECT_EQ(got[1], (Call{0x305, 77}));
    EXPECT_EQ(got[2], (Call{1, 1, 0x8000}));
    EXPECT_EQ(got[3], (Call{2, 1, 0x104}));
    EXPECT_EQ(got[4], (Call{0, 1, 2, 0x100, 0xF00}));
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
    {
        AnalogWorker worker(rig.channel);
        const auto done = [&](int ch, int raw, int zero) { rig.calls.record(ch, raw, zero); };
        worker.post(analog::SetOutput{0, 0, 100, done});
        worker.post(analog::SetOutput{1, 1, 200, done});
    }
    EXPECT_EQ(rig.calls.calls(), (std::vector<Call>{{0, 100, 0}, {1, 200, 0}}));
    EXPECT_EQ(rig.unit.received(), (std::vector<std::string>{"AO\x20"
                                                             "0064\xC8",
                                                             "AO\x29"
                                                             "00C8\xC8"}));
}

TEST(AnalogWorker, FailureShapesWhenTheUnitIsGone)
{
    CAnalogChannel channel;
    channel.connect(kLoopback, test::ClosedPort(), kAnyAddress);
    CallRecorder calls;
    {
        AnalogWorker worker(channel);
        worker.post(analog::ReadAllInputs{3, [&](int a, int b, int c, int d, int e) { calls.record(a, b, c, d, e); }});
        worker.post(analog::ReadThresholds{
            4, [&](int ch, int led, int mode, int low, int high) { calls.record(ch, led, mode, low, high); }});
        worker.post(analog::ReadOutputAlert{2, [&](int ch, int first, int second, int alert, int status) {
                                                calls.record(ch, first, second, alert, status);
                                            }});
        worker.post(analog::SetRange{5, 3, [&](int ch, int range) { calls.record(ch, range); }});
        worker.post(analog::ReadModel{[&](int id, int model) { calls.record(id, model); }});
    }
    EXPECT_EQ(
        calls.calls(),
        (std::vector<Call>{
            {analog::kAllInputsFailed, -1, -1, -1, -1}, {-1, -1, -1, -1, -1}, {2, -1, -1, -1, -1}, {5, -1}, {-1, -1}}));
}

TEST(AnalogWorker, UnitSwitchedOffFailsAfterTheTimeOutAndTheNextRequestReconnects)
{
    std::atomic<int> commands{0};
    LoopbackPeer peer([&commands](const std::string&) -> std::optional<std::string> {
        return ++commands == 1 ? "" : "dy\x21\x20\xC8";
    });
    CAnalogChannel channel(kShortTimeoutMs);
    ASSERT_EQ(channel.connect(kLoopback, peer.port(), kAnyAddress), 0);
    CallRecorder calls;
    {
        AnalogWorker worker(channel);
        const auto done = [&](int outputs) { calls.record(outputs); };
        worker.post(analog::ReadDigitalOutputs{done});
        worker.post(analog::ReadDigitalOutputs{done});
    }
    EXPECT_EQ(calls.calls(), (std::vector<Call>{{-1}, {1}}));
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
    CAnalogChannel channel;
    ASSERT_EQ(channel.connect(kLoopback, peer.port(), kAnyAddress), 0);
    CallRecorder calls;
    {
        AnalogWorker worker(channel);
        const auto done = [&](int outputs) { calls.record(outputs); };
        for (int i = 0; i < 3; ++i) {
            worker.post(analog::ReadDigitalOutputs{done});
        }
    }
    // The noise after the second reply must not leak into the third.
    EXPECT_EQ(calls.calls(), (std::vector<Call>{{-1}, {1}, {2}}));
}

TEST(UnitWorker, QuitServesWhatWasQueuedBeforeAndNothingAfter)
{
    AnalogRig rig(Replies{{"DY\xC8", "dy\x21\x20\xC8"}});
    ASSERT_TRUE(rig.connected);
    {
        AnalogWorker worker(rig.channel);
        const auto done = [&](int outputs) { rig.calls.record(outputs); };
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
    std::function<void(int, int)> poll = [&](int inputs, int round) {
        rig.calls.record(inputs, round);
        if (round < 5) {
            worker.post(analog::ReadDigitalInputs{round + 1, poll});
        }
    };
    worker.post(analog::ReadDigitalInputs{1, poll});
    EXPECT_EQ(rig.calls.waitFor(5).back(), (Call{1, 5}));
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
        worker.post(digital::ReadInputs{[&](int inputs) { rig.calls.record(inputs); }});
        worker.post(digital::MaskedSet{1, 1, 9, [&](int outputs, int extra) { rig.calls.record(outputs, extra); }});
        worker.post(digital::WriteOutputs{15, [&](int outputs) { rig.calls.record(outputs); }});
    }
    EXPECT_EQ(rig.calls.calls(), (std::vector<Call>{{0x15}, {3, 9}, {15}}));
}

TEST(DigitalWorker, MaskedSetIsDroppedOutsideTheAsciiDialect)
{
    DigitalRig rig(Replies{{"\x55\x55", "\x80\x01"}}, kTwoByteRow);
    ASSERT_TRUE(rig.connected);
    {
        DigitalWorker worker(rig.channel);
        worker.post(digital::MaskedSet{1, 1, 9, [&](int outputs, int extra) { rig.calls.record(outputs, extra); }});
        worker.post(digital::ReadInputs{[&](int inputs) { rig.calls.record(inputs); }});
    }
    // Inputs 0-4 sit in bits 7-11 of the little-endian reply word.
    EXPECT_EQ(rig.calls.calls(), (std::vector<Call>{{0x03}}));
    EXPECT_EQ(rig.unit.received(), (std::vector<std::string>{"\x55\x55"}));
}

TEST(DigitalWorker, FailedExtraInputQueryIsReportedApart)
{
    DigitalRig rig(Replies{{"\x55\x55", std::string("\x80\0", 2)}}, kNineByteInputRow, test::ClosedPort());
    ASSERT_TRUE(rig.connected);
    {
        DigitalWorker worker(rig.channel);
        worker.post(digital::ReadInputs{[&](int inputs) { rig.calls.record(inputs); }});
    }
    EXPECT_EQ(rig.calls.calls(), (std::vector<Call>{{digital::kExtraInputsFailed}}));
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
        worker.post(digital::WriteOutputs{5, [&](int outputs) { rig.calls.record(outputs); }});
        worker.post(digital::ReadOutputs{[&](int outputs) { rig.calls.record(outputs); }});
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
