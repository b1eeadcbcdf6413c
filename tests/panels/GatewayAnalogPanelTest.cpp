#include "AnalogPanelFixture.h"
#include "SimGateway.h"
#include "comm/protocol/AnalogRanges.h"
#include "dialogs/CEditThreshold.h"
#include "panels/AnalogPanelNames.h"
#include "panels/gateway/CVantelGW.h"
#include "panels/gateway/GatewayPanelRules.h"

#include <cstdio>

namespace vantel {
namespace {

using test::Eventually;

constexpr int kInputNode = 4;   // QZ-K17-GW
constexpr int kOutputNode = 6;  // QZ-K33P-GW
constexpr int kDigitalNode = 2; // QZ-K16P-GW
constexpr int kInputRow = 37;
constexpr int kOutputRow = 38;
constexpr int kDigitalRow = 35;
constexpr int kReplyTimeoutSeconds = 2;
constexpr std::int64_t kPastTimeoutMs = kReplyTimeoutSeconds * 1000 + 100;
constexpr char kEnd = '\xC8';

std::string Hex4(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

// What a dialog was opened with, to see what the panel holds.
bool SameThresholds(const ThresholdSettings& a, const ThresholdSettings& b)
{
    return a.low == b.low && a.high == b.high && a.ledWhenOutside == b.ledWhenOutside;
}

// One simulated gateway with an analog-input, an analog-output and a digital
// wireless unit, the link to it open, and the panels of its units on fake
// windows that tick by hand with a manual clock.
class GatewayAnalogTest : public ::testing::Test {
protected:
    GatewayAnalogTest() : list((temp.path() / "vantel.dat").string(), codec), link(clock) {}

    void startGateway(bool inputNodeSilent = false)
    {
        gateway = std::make_unique<sim::SimGateway>(
            sim::GatewayConfig{.ptyLink = {},
                               .nodes = {{.node = kInputNode, .row = kInputRow, .unitId = 3, .silent = inputNodeSilent},
                                         {.node = kOutputNode, .row = kOutputRow, .unitId = 5, .inputBits = 0b101},
                                         {.node = kDigitalNode, .row = kDigitalRow, .unitId = 1}}});
        gateway->start();
        add("Flow", kInputNode, kInputRow);
        add("Valve", kOutputNode, kOutputRow);
        add("Pump", kDigitalNode, kDigitalRow);
        ASSERT_EQ(link.open(GatewayTransportOf(list.at(0))), 0);
    }

    void add(const std::string& name, int node, int row)
    {
        UnitConnection unit;
        unit.name = name;
        unit.connectionKind = kConnectionLan;
        unit.host = "127.0.0.1";
        unit.controlPort = gateway->port();
        unit.node = node;
        unit.replyTimeout = kReplyTimeoutSeconds;
        unit.modelRow = row;
        list.Add(-1, unit);
    }

    PanelContext context(int index, bool logging = false)
    {
        PanelContext c(list, app, list.at(index).id);
        c.tickMode = Ticker::Mode::Manual;
        c.clock = &clock;
        c.codec = &codec;
        c.dialogs = &dialogs;
        c.localTime = &localTime;
        c.logFolder = temp.path().string();
        c.loggingEnabled = logging;
        return c;
    }

    // The link of unit `index`'s panel: NodeInputLink or NodeOutputLink.
    template <typename NodeLink> std::unique_ptr<NodeLink> nodeLink(int index)
    {
        return std::make_unique<NodeLink>(
            std::make_unique<NodeSession>(link, list.at(index).node, list.at(index).replyTimeout));
    }

    // Each panel gets a canvas and graph page of its own; `canvas` is the last one.
    ContainerPage page(ContainerKind kind, int unitId)
    {
        canvas = std::make_shared<LECanvas>(1, PixelRect{0, 0, 700, 400}, true);
        graphs.push_back(std::make_unique<DlgGraphTab>(graphView, KindRowOf(kind).graph));
        graphs.back()->setCanvas(canvas);
        return {kind, unitId, canvas, graphs.back().get(), KindRowOf(kind).shape};
    }

    void openInputPanel(bool logging = false)
    {
        inputs = MakePanel<DlgQZK17_GW>(view, context(0, logging), page(ContainerKind::QZK17Gateway, 3),
                                        nodeLink<NodeInputLink>(0));
        inputs->start();
    }

    void openOutputPanel(bool logging = false)
    {
        outputs = MakePanel<CDlgQZK33_GW>(view, context(1, logging), page(ContainerKind::QZK33Gateway, 5),
                                          nodeLink<NodeOutputLink>(1));
        outputs->start();
    }

    // The GUI thread's turn until the panel's start-up sequence is in.
    template <typename Panel> bool startedUp(Panel& panel)
    {
        return Eventually([&] {
            view.runTasks();
            return panel.startedUp();
        });
    }

    // The commands the node received, without the node prefix and the terminator.
    std::vector<std::string> commandsTo(int node) const
    {
        char prefix[3];
        std::snprintf(prefix, sizeof prefix, "%02X", node);
        std::vector<std::string> commands;
        for (const auto& frame : gateway->receivedFrames()) {
            std::string text(frame.begin(), frame.end());
            if (text.rfind(prefix, 0) != 0)
                continue;
            text.erase(0, 2);
            if (!text.empty() && text.back() == kEnd)
                text.pop_back();
            commands.push_back(text);
        }
        return commands;
    }

    std::size_t countTo(int node, std::string_view letters) const
    {
        std::size_t count = 0;
        for (const std::string& command : commandsTo(node))
            count += command.rfind(letters, 0) == 0 ? 1 : 0;
        return count;
    }

    // A frame as if the node had sent it, prefix and terminator added.
    void inject(int node, const std::string& payload)
    {
        char prefix[3];
        std::snprintf(prefix, sizeof prefix, "%02X", node);
        const std::string frame = prefix + payload + kEnd;
        gateway->inject(sim::Bytes(frame.begin(), frame.end()));
    }

    // Ticks `count` times, each 100 ms later on the clock.
    template <typename Panel> void ticks(Panel& panel, int count)
    {
        for (int i = 0; i < count; ++i) {
            clock.advance(100);
            panel.tick();
        }
    }

    std::string logText(const std::string& name) const { return test::ReadWholeFile(temp.path() / (name + ".csv")); }

    test::TempFolder temp;
    TextCodec codec{"UTF-8"};
    UnitList list;
    AppState app;
    ManualClock clock{1000};
    test::FixedLocalTime localTime;
    CGatewayLink link;
    std::unique_ptr<sim::SimGateway> gateway;
    test::FakePanelView view;
    test::FakePanelView graphView;
    test::ScriptedSettingsDialogs dialogs;
    std::shared_ptr<LECanvas> canvas;
    std::vector<std::unique_ptr<DlgGraphTab>> graphs;
    PanelPtr<DlgQZK17_GW> inputs;
    PanelPtr<CDlgQZK33_GW> outputs;
};

using namespace AnalogInputId;

TEST_F(GatewayAnalogTest, InputUnitStartsUpWithItsFixedSequenceAndShowsWhatTheUnitHas)
{
    startGateway();
    gateway->modifyNode(kInputNode, [](sim::UnitState& s) {
        s.rangeCodes = {0, 4, 6};
        s.outputBits = 0b01;
        s.oneShotValues[1] = 1;
        s.thresholds[2] = {1, 0, 0x1000, 0x2000};
        s.thermocouples[2] = {3, 5};
        s.pinnedReadings[1] = 0x400000;
    });
    openInputPanel();
    ASSERT_TRUE(startedUp(*inputs));

    EXPECT_EQ(commandsTo(kInputNode), (std::vector<std::string>{"MR1004", "AK'", "TJ'", "MR0D08", "DY", "AI'"}));
    EXPECT_EQ(view.controls.text(PanelId::Status), "QZ-K17-GW ( node : 4 / ID : 3 )");
    EXPECT_EQ(view.currentIndex(Rows[0].range), 0);
    EXPECT_EQ(view.currentIndex(Rows[1].range), 4);
    EXPECT_EQ(view.currentIndex(Rows[2].range), 6);
    EXPECT_EQ(view.items(Rows[0].range).size(), 7u) << "with the thermocouple range";
    EXPECT_TRUE(view.enabled(Rows[2].thermocouple));
    EXPECT_EQ(inputs->configurationByte(), 0x01);
    EXPECT_EQ(inputs->relayState(0), 1);
    EXPECT_EQ(inputs->relayState(1), 0);
    EXPECT_FALSE(inputs->pulses(0));
    EXPECT_TRUE(inputs->pulses(1));
    EXPECT_EQ(view.text(Rows[1].measured), " 10.000 mA") << "the first AI is shown like any later one";
    EXPECT_EQ(canvas->GetSeries(1)->sampleCount(), 1u);
    EXPECT_EQ(inputs->csvHeader(), "日付,時刻,AI1,単位1,AI2,単位2,AI3,単位3,DO1,DO2\n");
    EXPECT_TRUE(inputs->ticking());

    // What "ak" 0x27 and "tj" 0x27 brought, as the dialogs are opened with it (and cancelled).
    inputs->onControlClicked(Rows[2].threshold);
    inputs->onControlClicked(Rows[2].thermocouple);
    ASSERT_EQ(dialogs.threshold.asked.size(), 1u);
    EXPECT_TRUE(
        SameThresholds(dialogs.threshold.asked[0],
                       ThresholdsFromRaw({0x1000, 0x2000, true}, InputRange::Thermocouple, ScaleKind::ByRange)));
    ASSERT_EQ(dialogs.thermocouple.asked.size(), 1u);
    EXPECT_EQ(dialogs.thermocouple.asked[0].type, 3);
    EXPECT_EQ(dialogs.thermocouple.asked[0].setting, 5);
}

TEST_F(GatewayAnalogTest, RelaysSwitchByMaskedCommandsAndAPulsingRelayIsSwitchedOffAgain)
{
    startGateway();
    gateway->modifyNode(kInputNode, [](sim::UnitState& s) { s.oneShotValues[1] = 1; });
    openInputPanel();
    ASSERT_TRUE(startedUp(*inputs));

    EXPECT_FALSE(view.indicator(Outputs[0].indicator));
    inputs->onOutputButton(0);
    EXPECT_TRUE(view.indicator(Outputs[0].indicator)) << "the lamp shows what is sent";
    ASSERT_TRUE(Eventually([&] { return gateway->nodeState(kInputNode).outputBits == 0b01u; }));
    EXPECT_EQ(commandsTo(kInputNode).back(), "DK!!  ");
    EXPECT_EQ(inputs->relayState(0), 1);
    EXPECT_TRUE(view.indicator(Outputs[0].indicator));

    const std::size_t before = countTo(kInputNode, "DK");
    inputs->onOutputButton(1);
    ASSERT_TRUE(Eventually([&] { return countTo(kInputNode, "DK") == before + 2; }));
    const auto sent = commandsTo(kInputNode);
    EXPECT_EQ(sent[sent.size() - 2], "DK\"\"  ");
    EXPECT_EQ(sent.back(), "DK \"  ") << "the pulse ends with the relay switched off";
    ASSERT_TRUE(Eventually([&] { return inputs->relayState(1) == 0; }));
    EXPECT_EQ(gateway->nodeState(kInputNode).outputBits, 0b01u);
    EXPECT_FALSE(view.indicator(Outputs[1].indicator));
    EXPECT_TRUE(view.indicator(Outputs[0].indicator));

    inputs->onOutputButton(0);
    EXPECT_FALSE(view.indicator(Outputs[0].indicator));
    ASSERT_TRUE(Eventually([&] { return gateway->nodeState(kInputNode).outputBits == 0u; }));
}

TEST_F(GatewayAnalogTest, ARelaySwitchThatIsNotAnsweredKeepsTheStateTheUnitHad)
{
    startGateway();
    openInputPanel();
    ASSERT_TRUE(startedUp(*inputs));
    gateway->setNodeSilent(kInputNode, true);
    inputs->onOutputButton(0);
    // The reply wait (2 s on the clock) runs out on the link's thread.
    ASSERT_TRUE(Eventually([&] {
        clock.advance(100);
        return inputs->relayState(0) == 0;
    }));
    EXPECT_TRUE(Eventually([&] { return !view.indicator(Outputs[0].indicator); }));
    gateway->setNodeSilent(kInputNode, false);
    inputs->onOutputButton(0);
    ASSERT_TRUE(Eventually([&] { return gateway->nodeState(kInputNode).outputBits == 0b01u; }))
        << "the next click switches the relay on";
}

TEST_F(GatewayAnalogTest, RelayPeriodsAreInSecondsAndTwoThatEndTogetherShareOneCommand)
{
    startGateway();
    openInputPanel();
    ASSERT_TRUE(startedUp(*inputs));

    view.controls.setText(Outputs[0].period, "10000");
    view.controls.setChecked(Outputs[0].autoBox, true);
    inputs->onAutoClicked(Outputs[0].autoBox);
    EXPECT_EQ(view.controls.lastMessage(), "時間設定が不正です。1-9999secの範囲で指定してください。");
    EXPECT_FALSE(inputs->outputAutoOn(0));

    view.controls.answers = {true, true};
    for (const auto& output : Outputs) {
        view.controls.setText(output.period, "5");
        view.controls.setChecked(output.autoBox, true);
        inputs->onAutoClicked(output.autoBox);
    }
    EXPECT_EQ(view.controls.questions.size(), 2u) << "each period below 10 s is confirmed";
    EXPECT_EQ(view.controls.questions.front(), "設定した周期では制御できない場合があります。\r\n設定しますか。");
    const std::size_t before = countTo(kInputNode, "DK");
    ticks(*inputs, 49);
    EXPECT_EQ(countTo(kInputNode, "DK"), before);
    ticks(*inputs, 1);
    ASSERT_TRUE(Eventually([&] { return gateway->nodeState(kInputNode).outputBits == 0b11u; }));
    EXPECT_EQ(countTo(kInputNode, "DK"), before + 1);
    EXPECT_EQ(commandsTo(kInputNode).back(), "DK##  ");
    EXPECT_TRUE(view.indicator(Outputs[0].indicator));
    EXPECT_TRUE(view.indicator(Outputs[1].indicator));
}

TEST_F(GatewayAnalogTest, PolledInputsReachTheGraphAndTheLog)
{
    startGateway();
    gateway->modifyNode(kInputNode, [](sim::UnitState& s) {
        s.rangeCodes = {2, 2, 2};
        s.pinnedReadings = {0x200000, 0, 0};
    });
    list.at(0).inputFormulas[0] = {2.0, 1.0, "bar"};
    openInputPanel(true);
    ASSERT_TRUE(startedUp(*inputs));
    view.controls.answers = {true};
    view.controls.setText(InputPeriod, "1");
    view.controls.setChecked(InputAuto, true);
    inputs->onAutoClicked(InputAuto);
    ASSERT_TRUE(inputs->inputAutoOn());

    const std::size_t samples = canvas->GetSeries(0)->sampleCount();
    ticks(*inputs, 10);
    ASSERT_TRUE(Eventually([&] { return canvas->GetSeries(0)->sampleCount() == samples + 1; }));
    EXPECT_EQ(countTo(kInputNode, "AI"), 2u);
    EXPECT_EQ(view.text(Rows[0].converted), " 6.0000 bar");
    ASSERT_TRUE(Eventually([&] { return logText("Flow").find("bar") != std::string::npos; }));
    EXPECT_EQ(logText("Flow"), "日付,時刻,AI1,単位1,AI2,単位2,AI3,単位3,DO1,DO2\r\n"
                               "2026/12/06,23:15:00,6.00000,bar,0.00000,V,0.00000,V,0,0\r\n");
}

TEST_F(GatewayAnalogTest, ARangeChangeIsConfirmedAndTakesEffectWithTheEcho)
{
    startGateway();
    list.at(0).inputFormulas[0] = {2.0, 1.0, "bar"};
    openInputPanel();
    ASSERT_TRUE(startedUp(*inputs));
    ASSERT_EQ(inputs->rangeCode(0), 2);

    view.controls.answers = {false, true};
    view.setCurrentIndex(Rows[0].range, 1);
    inputs->onRangeSelected(0);
    EXPECT_EQ(view.controls.questions, std::vector<std::string>{AnalogInputPanel::kRangeQuestion});
    EXPECT_EQ(view.currentIndex(Rows[0].range), 2) << "Cancel selects the previous range again";

    view.setCurrentIndex(Rows[0].range, 4);
    inputs->onRangeSelected(0);
    ASSERT_TRUE(Eventually([&] { return inputs->rangeCode(0) == 4; }));
    EXPECT_EQ(countTo(kInputNode, "AR"), 1u);
    EXPECT_EQ(commandsTo(kInputNode).back(), "AR $");
    EXPECT_EQ(gateway->nodeState(kInputNode).rangeCodes[0], 4);
    ASSERT_TRUE(Eventually([&] { return view.hasTasks(); }));
    view.runTasks();
    EXPECT_EQ(list.at(0).inputFormulas[0].unit, "") << "the formula resets once the unit took the range";
    EXPECT_EQ(list.at(0).graphMax[0], 20.0);
}

TEST_F(GatewayAnalogTest, ThresholdAndThermocoupleDialogsSendTheirCommands)
{
    startGateway();
    gateway->modifyNode(kInputNode, [](sim::UnitState& s) { s.rangeCodes = {2, 6, 2}; });
    openInputPanel();
    ASSERT_TRUE(startedUp(*inputs));

    const ThresholdSettings wanted{-5.0, 5.0, true};
    dialogs.threshold.answers.push_back(wanted);
    inputs->onControlClicked(Rows[0].threshold);
    const RawThresholds raw = ThresholdsToRaw(wanted, 2, ScaleKind::ByRange);
    ASSERT_TRUE(Eventually([&] { return countTo(kInputNode, "AL") == 1; }));
    EXPECT_EQ(commandsTo(kInputNode).back(), "AL (" + Hex4(raw.low) + Hex4(raw.high));
    EXPECT_EQ(gateway->nodeState(kInputNode).thresholds[0].flag, 1);
    // The "al" echo is what the row holds now.
    ASSERT_TRUE(Eventually([&] {
        inputs->onControlClicked(Rows[0].threshold);
        return SameThresholds(dialogs.threshold.asked.back(), ThresholdsFromRaw(raw, 2, ScaleKind::ByRange));
    }));

    dialogs.thermocouple.answers.push_back(ThermocoupleSetting{4, 2});
    inputs->onControlClicked(Rows[1].thermocouple);
    ASSERT_TRUE(Eventually([&] { return countTo(kInputNode, "TC") == 1; }));
    EXPECT_EQ(commandsTo(kInputNode).back(), "TC!$\"");
    EXPECT_TRUE(Eventually([&] { return gateway->nodeState(kInputNode).thermocouples[1].type == 4; }));
    // The "tc" echo is what the row holds now.
    ASSERT_TRUE(Eventually([&] {
        inputs->onControlClicked(Rows[1].thermocouple);
        return dialogs.thermocouple.asked.back().type == 4 && dialogs.thermocouple.asked.back().setting == 2;
    }));
    EXPECT_TRUE(view.controls.messages.empty());
}

TEST_F(GatewayAnalogTest, RepliesOfTheWrongShapeChangeNothing)
{
    startGateway();
    openInputPanel();
    ASSERT_TRUE(startedUp(*inputs));
    const std::size_t samples = canvas->GetSeries(0)->sampleCount();
    for (const std::string& bad :
         {std::string("ai'123456"), std::string("ai'") + std::string(18, 'G'), std::string("ar "),
          std::string("ar )"),       // range code 9
          std::string("ar\x2A\x21"), // channel 10
          std::string("dy#"), std::string("dy#  "), std::string("mr1004000101"),
          std::string("mr2004") + std::string(8, '0'), // an address the panel never reads
          std::string("mr1004") + "FF070809" /* ranges outside 0-6 */, std::string("ak'") + std::string(20, '0'),
          std::string("tj'12"), std::string("al!(12"), std::string("zz1234")})
        inject(kInputNode, bad);
    // Frames come in order: once this one is in, all the others were handled.
    inject(kInputNode, "ar\"!");
    ASSERT_TRUE(Eventually([&] { return inputs->rangeCode(2) == 1; }));
    EXPECT_EQ(inputs->rangeCode(0), 2);
    EXPECT_EQ(inputs->rangeCode(1), 2);
    EXPECT_EQ(inputs->relayState(1), 0);
    EXPECT_EQ(inputs->configurationByte(), 0xFF) << "taken from the one well-formed 1004 reply";
    EXPECT_EQ(canvas->GetSeries(0)->sampleCount(), samples);
    EXPECT_TRUE(view.postedTexts().empty());
}

TEST_F(GatewayAnalogTest, ANodeThatStopsAnsweringStopsPollingOnceAndThePanelStaysOpen)
{
    startGateway();
    openInputPanel();
    ASSERT_TRUE(startedUp(*inputs));
    view.controls.setText(InputPeriod, "10");
    view.controls.setChecked(InputAuto, true);
    inputs->onAutoClicked(InputAuto);
    view.controls.setText(Outputs[1].period, "10");
    view.controls.setChecked(Outputs[1].autoBox, true);
    inputs->onAutoClicked(Outputs[1].autoBox);
    ASSERT_TRUE(inputs->outputAutoOn(1));

    gateway->setNodeSilent(kInputNode, true);
    const std::size_t before = gateway->frameCount();
    inputs->onReadInputs();
    ASSERT_TRUE(gateway->waitForFrameCount(before + 1, std::chrono::seconds(5)));
    inputs->tick();
    EXPECT_TRUE(view.postedTexts().empty()) << "not overdue yet";
    clock.advance(kPastTimeoutMs);
    inputs->tick();
    inputs->tick();
    EXPECT_EQ(view.postedTexts(), std::vector<std::string>{kWirelessTimeout});
    EXPECT_FALSE(inputs->ticking());
    EXPECT_FALSE(inputs->inputAutoOn());
    EXPECT_FALSE(inputs->outputAutoOn(1));
    // Nothing polls any more, and nothing on the panel says otherwise.
    for (const int box : {InputAuto, Outputs[0].autoBox, Outputs[1].autoBox}) {
        EXPECT_FALSE(view.isChecked(box)) << box;
        EXPECT_FALSE(view.enabled(box)) << box;
    }
    view.controls.setChecked(InputAuto, true);
    inputs->onAutoClicked(InputAuto);
    EXPECT_FALSE(inputs->inputAutoOn());
    EXPECT_FALSE(view.isChecked(InputAuto)) << "a click on its way is taken back";
    view.dismissOldest();
    EXPECT_EQ(view.closesPosted, 0) << "the panel stays open";

    inputs->onCloseCommand();
    EXPECT_TRUE(inputs->finished());
    EXPECT_EQ(view.windowCloses, 1);
    EXPECT_FALSE(list.at(0).panelOpen);
}

TEST_F(GatewayAnalogTest, PollingFasterThanTheTimeOutStillFindsASilentNode)
{
    startGateway();
    openInputPanel();
    ASSERT_TRUE(startedUp(*inputs));
    view.controls.answers = {true};
    view.controls.setText(InputPeriod, "1");
    view.controls.setChecked(InputAuto, true);
    inputs->onAutoClicked(InputAuto);
    gateway->setNodeSilent(kInputNode, true);
    // Each second an "AI" goes out without a wait and none is answered.
    for (int second = 0; second < 2; ++second) {
        const std::size_t before = gateway->frameCount();
        ticks(*inputs, 10);
        ASSERT_TRUE(gateway->waitForFrameCount(before + 1, std::chrono::seconds(5)));
        EXPECT_TRUE(view.postedTexts().empty());
    }
    // Two seconds after the first of them, whatever was sent since.
    ticks(*inputs, 11);
    EXPECT_EQ(view.postedTexts(), std::vector<std::string>{kWirelessTimeout});
    EXPECT_FALSE(inputs->ticking());
}

TEST_F(GatewayAnalogTest, AStartUpThatIsNotAnsweredLeavesThePanelOpenWithoutPolling)
{
    startGateway(true);
    openInputPanel();
    // Ticked before the start-up reads were in.
    view.controls.setText(InputPeriod, "10");
    view.controls.setChecked(InputAuto, true);
    inputs->onAutoClicked(InputAuto);
    ASSERT_TRUE(inputs->inputAutoOn());
    ASSERT_TRUE(gateway->waitForFrameCount(1, std::chrono::seconds(5)));
    ASSERT_TRUE(Eventually([&] {
        clock.advance(kPastTimeoutMs);
        view.runTasks();
        return !view.postedTexts().empty();
    }));
    EXPECT_EQ(view.postedTexts().front(), kWirelessTimeout);
    EXPECT_FALSE(inputs->inputAutoOn());
    EXPECT_FALSE(view.isChecked(InputAuto));
    EXPECT_FALSE(view.enabled(InputAuto));
    EXPECT_EQ(inputs->relayState(0), 2) << "undetermined without a DY reply";
    EXPECT_TRUE(view.indicatorUndetermined(Outputs[0].indicator));
    inputs->onOutputButton(0);
    inputs->onReadInputs(); // queued behind nothing: the click posted no command
    ASSERT_TRUE(gateway->waitForFrameCount(2, std::chrono::seconds(5)));
    EXPECT_EQ(commandsTo(kInputNode), (std::vector<std::string>{"MR1004", "AI'"}))
        << "the first failing wait ends the sequence, and a relay of unknown state is not switched";
    EXPECT_FALSE(inputs->startedUp());
    EXPECT_FALSE(inputs->ticking());
    EXPECT_EQ(view.closesPosted, 0);
}

namespace Out = AnalogOutputId;

TEST_F(GatewayAnalogTest, OutputUnitStartsUpWithThresholdsOutputsAndInputs)
{
    startGateway();
    gateway->modifyNode(kOutputNode, [](sim::UnitState& s) {
        s.analogOutputs[1] = {1, 0x4000};
        s.thresholds[0] = {0, 0, 0x0100, 0x0200};
    });
    openOutputPanel();
    ASSERT_TRUE(startedUp(*outputs));
    EXPECT_EQ(commandsTo(kOutputNode), (std::vector<std::string>{"AK'", "AY ", "AY!", "AY\"", "DI"}));
    EXPECT_EQ(view.controls.text(PanelId::Status), "QZ-K33P-GW ( node : 6 / ID : 5 )");
    EXPECT_EQ(view.text(Out::InputPeriodLabel), "x1sec");
    EXPECT_EQ(outputs->outputMode(1), 1);
    EXPECT_TRUE(outputs->outputOn(1));
    EXPECT_EQ(outputs->buttonState(1), AnalogOutputPanel::ButtonState::On);
    EXPECT_FALSE(outputs->outputOn(0));
    EXPECT_EQ(outputs->inputBits(), 0b101);
    EXPECT_TRUE(view.indicator(Out::InputIndicators[2]));
    EXPECT_TRUE(view.visible(Out::Rows[0].sweep));
    EXPECT_EQ(outputs->csvHeader(), "日付,時刻,DI1,DI2,DI3,AO1,単位1,AO2,単位2,AO3,単位3\n");
    outputs->onThresholdButton(0);
    ASSERT_EQ(dialogs.threshold.asked.size(), 1u);
    EXPECT_TRUE(SameThresholds(dialogs.threshold.asked[0],
                               ThresholdsFromRaw({0x0100, 0x0200, false}, 0, ScaleKind::ByOutputMode)))
        << "from the \"ak\" reply for every channel";
}

TEST_F(GatewayAnalogTest, OutputUnitInputsAreUndeterminedUntilTheirFirstRead)
{
    startGateway();
    gateway->setNodeSilent(kOutputNode, true);
    openOutputPanel();
    ASSERT_TRUE(gateway->waitForFrameCount(1, std::chrono::seconds(5)));
    for (const int indicator : Out::InputIndicators)
        EXPECT_TRUE(view.indicatorUndetermined(indicator));
    gateway->setNodeSilent(kOutputNode, false);
    outputs->onReadInputs();
    ASSERT_TRUE(Eventually([&] { return view.indicator(Out::InputIndicators[2]); }));
    EXPECT_FALSE(view.indicatorUndetermined(Out::InputIndicators[1]));
    EXPECT_TRUE(view.indicator(Out::InputIndicators[0]));
}

TEST_F(GatewayAnalogTest, OutputUnitRepliesOfTheWrongShapeChangeNothing)
{
    startGateway();
    openOutputPanel();
    ASSERT_TRUE(startedUp(*outputs));
    for (const std::string& bad : {std::string("ay 40"), std::string("ay/4000"), // channel 7
                                   std::string("ayX12G4"), std::string("di!"), std::string("di!  "),
                                   std::string("ak'(0000"), std::string("al (0000FFFF00"), std::string("ao")})
        inject(kOutputNode, bad);
    // Frames come in order: once this one is in, all the others were handled.
    inject(kOutputNode, "ay\"1234");
    ASSERT_TRUE(Eventually([&] { return outputs->outputRaw(2) == 0x1234; }));
    EXPECT_FALSE(outputs->outputOn(0));
    EXPECT_EQ(outputs->outputRaw(0), 0);
    EXPECT_EQ(outputs->inputBits(), 0b101);
    EXPECT_TRUE(view.postedTexts().empty());
}

TEST_F(GatewayAnalogTest, SetValuesGoThroughTheFormulaAndEveryCommandIsWaitedFor)
{
    startGateway();
    list.at(1).outputFormulas[0] = {2.0, 1.0, "%"};
    openOutputPanel();
    ASSERT_TRUE(startedUp(*outputs));

    view.setText(Out::Rows[0].output, "5");
    outputs->onOutputButton(0);
    ASSERT_TRUE(Eventually([&] { return countTo(kOutputNode, "AO") == 1; }));
    const int rawOf2V = ValueToOutputRaw(0, 2.0);
    EXPECT_EQ(commandsTo(kOutputNode).back(), "AO " + Hex4(rawOf2V));
    EXPECT_TRUE(Eventually([&] { return gateway->nodeState(kOutputNode).analogOutputs[0].raw == rawOf2V; }));

    outputs->onOutputButton(0);
    ASSERT_TRUE(Eventually([&] { return countTo(kOutputNode, "AO") == 2; }));
    EXPECT_EQ(commandsTo(kOutputNode).back(), "AO 0000") << "switched off";

    const ThresholdSettings wanted{-1.0, 1.0, false};
    dialogs.threshold.answers.push_back(wanted);
    outputs->onThresholdButton(2);
    const RawThresholds raw = ThresholdsToRaw(wanted, 0, ScaleKind::ByOutputMode);
    ASSERT_TRUE(Eventually([&] { return countTo(kOutputNode, "AL") == 1; }));
    EXPECT_EQ(commandsTo(kOutputNode).back(), "AL\" " + Hex4(raw.low) + Hex4(raw.high));
    ASSERT_TRUE(Eventually([&] {
        outputs->onThresholdButton(2);
        return SameThresholds(dialogs.threshold.asked.back(), ThresholdsFromRaw(raw, 0, ScaleKind::ByOutputMode));
    })) << "the \"al\" echo is what the row holds now";
    EXPECT_TRUE(view.controls.messages.empty());
}

TEST_F(GatewayAnalogTest, InputPollingInSecondsLogsWhenSentAndWhenAnswered)
{
    startGateway();
    openOutputPanel(true);
    ASSERT_TRUE(startedUp(*outputs));
    view.controls.answers = {true};
    view.controls.setText(Out::InputPeriod, "2");
    view.controls.setChecked(Out::InputAuto, true);
    outputs->onAutoClicked(Out::InputAuto);
    ASSERT_TRUE(outputs->inputAutoOn());

    ticks(*outputs, 19);
    EXPECT_EQ(countTo(kOutputNode, "DI"), 1u);
    ticks(*outputs, 1);
    ASSERT_TRUE(Eventually([&] { return canvas->GetSeries(3)->sampleCount() == 1; }));
    EXPECT_EQ(countTo(kOutputNode, "DI"), 2u);
    ASSERT_TRUE(Eventually([&] {
        const std::string log = logText("Valve");
        return std::count(log.begin(), log.end(), '\n') == 3;
    }));
    EXPECT_EQ(logText("Valve"), "日付,時刻,DI1,DI2,DI3,AO1,単位1,AO2,単位2,AO3,単位3\r\n"
                                "2026/12/06,23:15:00,1,0,1,0.00000,V,0.00000,V,0.00000,V\r\n"
                                "2026/12/06,23:15:00,1,0,1,0.00000,V,0.00000,V,0.00000,V\r\n");
}

TEST_F(GatewayAnalogTest, ADueInputReadGoesOutWhileASweepValueIsStillOnTheRadio)
{
    startGateway();
    openOutputPanel(true);
    ASSERT_TRUE(startedUp(*outputs));
    view.controls.answers = {true};
    view.controls.setText(Out::InputPeriod, "1");
    view.controls.setChecked(Out::InputAuto, true);
    outputs->onAutoClicked(Out::InputAuto);
    outputs->onSweepButton(0);
    const std::size_t reads = countTo(kOutputNode, "DI");

    // The first value is not answered: its wait (2 s on the clock) holds the
    // radio while the next nine ticks run, the last of which is the DI read's.
    gateway->setNodeSilent(kOutputNode, true);
    ticks(*outputs, 1);
    ASSERT_TRUE(Eventually([&] { return countTo(kOutputNode, "AO") == 1; }));
    ticks(*outputs, 9);
    EXPECT_TRUE(outputs->tickCommandsPending());
    gateway->setNodeSilent(kOutputNode, false);

    // Then the wait runs out (no tick comes to find the reply overdue).
    ASSERT_TRUE(Eventually([&] {
        clock.advance(100);
        return countTo(kOutputNode, "DI") == reads + 1;
    }));
    ASSERT_TRUE(Eventually([&] { return canvas->GetSeries(3)->sampleCount() == 1; })) << "its answer reached the graph";
    ASSERT_TRUE(Eventually([&] {
        const std::string log = logText("Valve");
        return std::count(log.begin(), log.end(), '\n') == 3;
    })) << "a line when it was sent and one when it was answered";
    EXPECT_EQ(countTo(kOutputNode, "AO"), 1u) << "the values of the ticks in between were given up";
}

TEST_F(GatewayAnalogTest, ASweepSendsItsValuesThroughTheGatewayUntilTheNodeFallsSilent)
{
    startGateway();
    openOutputPanel();
    ASSERT_TRUE(startedUp(*outputs));
    outputs->onSweepButton(0);
    ASSERT_EQ(outputs->buttonState(0), AnalogOutputPanel::ButtonState::Sweeping);
    for (int i = 1; i <= 5; ++i) {
        ticks(*outputs, 1);
        ASSERT_TRUE(Eventually([&] {
            return countTo(kOutputNode, "AO") == static_cast<std::size_t>(i) && !outputs->tickCommandsPending();
        })) << "one value per tick, each answered before the next tick";
    }
    ASSERT_TRUE(Eventually([&] { return gateway->nodeState(kOutputNode).analogOutputs[0].raw != 0; }));

    gateway->setNodeSilent(kOutputNode, true);
    ticks(*outputs, 1);
    ASSERT_TRUE(Eventually([&] { return countTo(kOutputNode, "AO") == 6; }));
    ticks(*outputs, 2);
    EXPECT_EQ(countTo(kOutputNode, "AO"), 6u) << "no queue grows behind a silent unit";
    clock.advance(kPastTimeoutMs);
    outputs->tick();
    outputs->tick();
    EXPECT_EQ(view.postedTexts(), std::vector<std::string>{kWirelessTimeout});
    EXPECT_FALSE(outputs->ticking());
    EXPECT_FALSE(outputs->sweeping(0));
    EXPECT_EQ(outputs->buttonState(0), AnalogOutputPanel::ButtonState::Off);
    for (const auto& row : Out::Rows)
        EXPECT_FALSE(view.enabled(row.sweep)) << "no sweep can start without a tick";
    EXPECT_FALSE(view.enabled(Out::InputAuto));
    EXPECT_TRUE(view.enabled(Out::Rows[0].button)) << "the outputs can still be set by hand";

    outputs->onCloseCommand();
    EXPECT_TRUE(outputs->finished());
}

TEST_F(GatewayAnalogTest, OneSilentUnitAmongThreePanelsOnOneLinkLeavesTheOthersWorking)
{
    startGateway(true);
    test::FakePanelView digitalView;
    auto digital = MakePanel<CVantelGW>(digitalView, context(2), link);
    digital->start();
    openOutputPanel();
    test::FakePanelView silentView;
    auto silent = MakePanel<DlgQZK17_GW>(silentView, context(0), page(ContainerKind::QZK17Gateway, 3),
                                         nodeLink<NodeInputLink>(0));
    silent->start();

    ASSERT_TRUE(startedUp(*outputs));
    ASSERT_TRUE(Eventually([&] {
        digitalView.runTasks();
        return digital->startedUp();
    }));
    view.setText(Out::Rows[1].output, "3");
    outputs->onOutputButton(1);
    digital->onOutputButton(0);
    // Both answers must be in before the clock jumps, or their own watchdogs fire too.
    ASSERT_TRUE(Eventually([&] {
        return gateway->nodeState(kOutputNode).analogOutputs[1].raw != 0 &&
               gateway->nodeState(kDigitalNode).outputBits == 1u && link.pendingReplies(kOutputNode) == 0 &&
               link.pendingReplies(kDigitalNode) == 0;
    }));
    // The silent node's first read must be out, or its deadline starts after the jump.
    ASSERT_TRUE(Eventually([&] { return link.pendingReplies(kInputNode) > 0; }));

    clock.advance(kPastTimeoutMs);
    ASSERT_TRUE(Eventually([&] {
        silentView.runTasks();
        return !silentView.postedTexts().empty();
    }));
    outputs->tick();
    digital->tick();
    EXPECT_TRUE(view.postedTexts().empty());
    EXPECT_TRUE(digitalView.postedTexts().empty());
    EXPECT_TRUE(outputs->ticking());
    EXPECT_TRUE(Eventually([&] { return link.pendingReplies(kOutputNode) == 0; }));
}

} // namespace
} // namespace vantel
