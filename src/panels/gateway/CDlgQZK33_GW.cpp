#include "panels/gateway/CDlgQZK33_GW.h"

#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/AsciiReplies.h"
#include "panels/gateway/GatewayAnalogReplies.h"

#include <utility>

namespace vantel {
namespace {

constexpr ChannelKind kKind = ChannelKind::Gateway;
constexpr std::size_t kInputsReplyLength = 5;
constexpr int kInputMask = 0x7;

} // namespace

CDlgQZK33_GW::CDlgQZK33_GW(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<NodeSession> link)
    : GatewayAnalogPanel(view, std::move(context), std::move(page), std::move(link), kShape)
{
}

CDlgQZK33_GW::~CDlgQZK33_GW()
{
    shutDown();
}

void CDlgQZK33_GW::startReads()
{
    // Neither on nor off until the unit has told.
    for (int input = 0; input < inputCount(); ++input)
        view().setIndicatorUndetermined(AnalogOutputId::InputIndicators.at(static_cast<std::size_t>(input)));
    GatewayAnalogPanel::startReads();
}

bool CDlgQZK33_GW::runStartUp()
{
    NodeSession& node = commands();
    if (!node.exchange(ascii::AKAll(outputCount(), kKind).bytes))
        return false;
    countStartUpAnswer();
    for (int row = 0; row < outputCount(); ++row) {
        if (!node.exchange(ascii::AY(row).bytes))
            return false;
        countStartUpAnswer();
    }
    return node.exchange(ascii::DI(kKind).bytes);
}

void CDlgQZK33_GW::stopAutomatics()
{
    retireSweeps();
    retireAllAutos();
}

void CDlgQZK33_GW::exchangeFrom(Caller caller, std::string command)
{
    if (caller == Caller::Tick) {
        sweepCommands_.push_back(std::move(command));
        return;
    }
    // A reply that does not come is the watchdog's to report.
    run([this, command = std::move(command)] { commands().exchange(command); });
}

void CDlgQZK33_GW::periodicWork()
{
    GatewayAnalogPanel::periodicWork();
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

void CDlgQZK33_GW::sendTickBatch(std::vector<std::string> sweepValues, bool readInputs)
{
    ++tickBatchesQueued_;
    run([this, sweepValues = std::move(sweepValues), readInputs] {
        for (const std::string& command : sweepValues)
            if (closing() || !commands().exchange(command))
                break;
        if (readInputs && !closing())
            commands().exchange(ascii::DI(kKind).bytes);
        --tickBatchesQueued_;
    });
}

void CDlgQZK33_GW::sendOutput(int row, int mode, int raw, bool, Caller caller)
{
    exchangeFrom(caller, ascii::AO(row, mode, raw).bytes);
}

void CDlgQZK33_GW::sendInputRead(int, Caller caller)
{
    if (caller == Caller::Tick)
        inputReadDue_ = true;
    else
        exchangeFrom(caller, ascii::DI(kKind).bytes);
}

void CDlgQZK33_GW::sendThresholds(int row, const RawThresholds& raw, int)
{
    // The gateway units take no threshold mode: always 0.
    exchangeFrom(Caller::GuiThread, ascii::AL(row, raw.ledWhenOutside, 0, raw.low, raw.high).bytes);
}

bool CDlgQZK33_GW::takeReply(std::string_view letters, std::string_view payload)
{
    if (letters == "ak") {
        for (const RowThresholds& read : ThresholdsInReply(payload, outputCount()))
            takeThresholds(read.channel, read.thresholds);
    } else if (letters == "al") {
        for (const RowThresholds& written : ThresholdsInReply(payload, outputCount()))
            onThresholdsWritten(written.channel, written.thresholds);
    } else if (letters == "ay") {
        if (const auto setting = ascii::ParseAY(payload); setting && validRow(setting->channel))
            takeOutputSetting(setting->channel, {setting->mode, setting->raw});
    } else if (letters == "di") {
        const auto bits = ascii::ParseDI(payload, kKind);
        if (bits && payload.size() == kInputsReplyLength)
            onInputsRead(*bits & kInputMask, startedUp() ? kPeriodicRead : kStartUpRead);
    } else {
        return letters == "ao" || letters == "dl";
    }
    return true;
}

} // namespace vantel
