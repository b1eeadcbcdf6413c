#include "panels/gateway/NodeOutputLink.h"

#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/AsciiReplies.h"
#include "panels/analog/AnalogOutputPanel.h"
#include "panels/gateway/GatewayAnalogReplies.h"

#include <utility>

namespace vantel {
namespace {

constexpr ChannelKind kKind = ChannelKind::Gateway;
constexpr std::size_t kInputsReplyLength = 5;
constexpr int kInputMask = 0x7;

} // namespace

void NodeOutputLink::attach(AnalogOutputPanel& panel)
{
    panel_ = &panel;
    bindPanel(panel);
}

void NodeOutputLink::startReads()
{
    // Neither on nor off until the unit has told.
    for (int input = 0; input < panel_->inputCount(); ++input)
        panel_->view().setIndicatorUndetermined(AnalogOutputId::InputIndicators.at(static_cast<std::size_t>(input)));
    startSession();
}

bool NodeOutputLink::runStartUp()
{
    const int outputs = panel_->outputCount();
    if (!session().exchange(ascii::AKAll(outputs, kKind).bytes))
        return false;
    panel_->countStartUpAnswer();
    for (int row = 0; row < outputs; ++row) {
        if (!session().exchange(ascii::AY(row).bytes))
            return false;
        panel_->countStartUpAnswer();
    }
    return session().exchange(ascii::DI(kKind).bytes);
}

void NodeOutputLink::stopAutomatics()
{
    panel_->retireSweeps();
    panel_->retireAllAutos();
}

void NodeOutputLink::exchangeFrom(Caller caller, std::string command)
{
    if (caller == Caller::Tick) {
        sweepCommands_.push_back(std::move(command));
        return;
    }
    // A reply that does not come is the watchdog's to report.
    run([this, command = std::move(command)] { session().exchange(command); });
}

void NodeOutputLink::tickDone()
{
    std::vector<std::string> sweepValues;
    sweepValues.swap(sweepCommands_);
    // Sweep values that find earlier ones still on the radio are given up:
    // the sweep's next value follows from the clock anyway, and a queue must
    // not grow behind a slow unit. A due DI read goes out all the same: its
    // "sent" line is in the log already, and its answer feeds the graph.
    if (tickBatchesQueued_.load() > 0)
        sweepValues.clear();
    const bool readInputs = std::exchange(inputReadDue_, false);
    if (!sweepValues.empty() || readInputs)
        sendTickBatch(std::move(sweepValues), readInputs);
}

void NodeOutputLink::sendTickBatch(std::vector<std::string> sweepValues, bool readInputs)
{
    ++tickBatchesQueued_;
    run([this, sweepValues = std::move(sweepValues), readInputs] {
        for (const std::string& command : sweepValues)
            if (panel_->closing() || !session().exchange(command))
                break;
        if (readInputs && !panel_->closing())
            session().exchange(ascii::DI(kKind).bytes);
        --tickBatchesQueued_;
    });
}

void NodeOutputLink::sendOutput(int row, int mode, int raw, bool, Caller caller)
{
    exchangeFrom(caller, ascii::AO(row, mode, raw).bytes);
}

void NodeOutputLink::sendInputRead(int, Caller caller)
{
    if (caller == Caller::Tick)
        inputReadDue_ = true;
    else
        exchangeFrom(caller, ascii::DI(kKind).bytes);
}

void NodeOutputLink::sendThresholds(int row, const RawThresholds& raw, int)
{
    // The gateway units take no threshold mode: always 0.
    exchangeFrom(Caller::GuiThread, ascii::AL(row, raw.ledWhenOutside, 0, raw.low, raw.high).bytes);
}

bool NodeOutputLink::takeReply(std::string_view letters, std::string_view payload)
{
    AnalogOutputPanel& panel = *panel_;
    const int outputs = panel.outputCount();
    if (letters == "ak") {
        for (const RowThresholds& read : ThresholdsInReply(payload, outputs))
            panel.takeThresholds(read.channel, read.thresholds);
    } else if (letters == "al") {
        for (const RowThresholds& written : ThresholdsInReply(payload, outputs))
            panel.onThresholdsWritten(written.channel, written.thresholds);
    } else if (letters == "ay") {
        if (const auto setting = ascii::ParseAY(payload); setting && panel.validRow(setting->channel))
            panel.takeOutputSetting(setting->channel, {setting->mode, setting->raw});
    } else if (letters == "di") {
        const auto bits = ascii::ParseDI(payload, kKind);
        if (bits && payload.size() == kInputsReplyLength)
            panel.onInputsRead(*bits & kInputMask,
                               startedUp() ? AnalogOutputPanel::kPeriodicRead : AnalogOutputPanel::kStartUpRead);
    } else {
        return letters == "ao" || letters == "dl";
    }
    return true;
}

} // namespace vantel
