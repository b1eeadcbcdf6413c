#include "panels/gateway/NodeInputLink.h"

#include "comm/protocol/AnalogRanges.h"
#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/AsciiReplies.h"
#include "panels/analog/AnalogInputPanel.h"
#include "panels/gateway/GatewayAnalogReplies.h"

namespace vantel {
namespace {

constexpr ChannelKind kKind = ChannelKind::Gateway;
constexpr int kRelays = 0x3;
constexpr std::size_t kShortReplyLength = 5; // "ar" and "dy"
constexpr std::size_t kOutputConfigReplyLength = 23;
constexpr std::size_t kInputRangesReplyLength = 15;

} // namespace

void NodeInputLink::attach(AnalogInputPanel& panel)
{
    panel_ = &panel;
    bindPanel(panel);
}

bool NodeInputLink::pulses(int output) const
{
    return output >= 0 && output < panel_->outputCount() && outputConfig_[static_cast<std::size_t>(output)].load() != 0;
}

void NodeInputLink::startReads()
{
    // Neither on nor off until the unit has told.
    for (int output = 0; output < panel_->outputCount(); ++output)
        panel_->view().setIndicatorUndetermined(AnalogInputId::Outputs.at(static_cast<std::size_t>(output)).indicator);
    startSession();
}

bool NodeInputLink::runStartUp()
{
    const int inputs = panel_->inputCount();
    for (const Request& request :
         {ascii::MR(ascii::kMemoryInputRanges, ascii::kMemoryInputRangesCount), ascii::AKAll(inputs, kKind),
          ascii::TJAll(inputs, kKind), ascii::MR(ascii::kMemoryOutputConfig, ascii::kMemoryOutputConfigCount),
          ascii::DY(kKind), ascii::AIAll(inputs, kKind)}) {
        if (!session().exchange(request.bytes))
            return false;
        panel_->countStartUpAnswer();
    }
    return true;
}

void NodeInputLink::stopAutomatics()
{
    panel_->retireAllAutos();
}

void NodeInputLink::sendLater(std::string command)
{
    run([this, command = std::move(command)] { session().send(command); });
}

void NodeInputLink::sendOutputs(int bits, int changed, Caller)
{
    // The lamps show what is sent, as the unit answers DK with no states.
    panel_->showOutputs(bits);
    if (changed == kRelays) {
        // Both periods ran out on this tick: one command sets both relays.
        sendLater(ascii::DK(bits, kRelays, kGatewayOutputGroups).bytes);
        return;
    }
    for (int output = 0; output < panel_->outputCount(); ++output) {
        if ((changed >> output & 1) == 0)
            continue;
        const bool on = (bits >> output & 1) != 0;
        run([this, output, on] { switchRelay(output, on); });
    }
}

void NodeInputLink::switchRelay(int output, bool on)
{
    const int bit = 1 << output;
    const int requested = on ? bit : 0;
    if (!session().exchange(ascii::DK(requested, bit, kGatewayOutputGroups).bytes)) {
        panel_->outputWriteFailed(requested, bit);
        return;
    }
    if (!on || !pulses(output))
        return;
    // A pulsing relay: the unit sees it on for the length of one exchange.
    if (session().exchange(ascii::DK(0, bit, kGatewayOutputGroups).bytes))
        panel_->showOutputs(panel_->outputBits() & ~bit);
}

void NodeInputLink::sendInputRead(Caller)
{
    sendLater(ascii::AIAll(panel_->inputCount(), kKind).bytes);
}

void NodeInputLink::sendRange(int row, int range, int)
{
    sendLater(ascii::AR(row, range).bytes);
}

void NodeInputLink::sendThresholds(int row, const RawThresholds& raw, int)
{
    // The gateway units take no threshold mode: always 0.
    sendLater(ascii::AL(row, raw.ledWhenOutside, 0, raw.low, raw.high).bytes);
}

void NodeInputLink::sendThermocouple(int row, const ThermocoupleSetting& setting)
{
    sendLater(ascii::TC(row, setting.type, setting.setting).bytes);
}

bool NodeInputLink::takeReply(std::string_view letters, std::string_view payload)
{
    AnalogInputPanel& panel = *panel_;
    const int inputs = panel.inputCount();
    if (letters == "ai") {
        const auto readings = ascii::ParseAIAll(payload);
        if (readings && readings->size() == static_cast<std::size_t>(inputs)) {
            analog::InputReadings values{};
            std::copy(readings->begin(), readings->end(), values.begin());
            panel.onInputsRead(values);
        }
    } else if (letters == "ak") {
        for (const RowThresholds& read : ThresholdsInReply(payload, inputs))
            panel.onThresholdsRead(read.channel, read.thresholds);
    } else if (letters == "al") {
        for (const RowThresholds& written : ThresholdsInReply(payload, inputs))
            panel.onThresholdsWritten(written.channel, written.thresholds);
    } else if (letters == "ar") {
        onRangeReply(payload);
    } else if (letters == "dy") {
        if (const auto bits = ascii::ParseDY(payload, kKind); bits && payload.size() == kShortReplyLength) {
            relaysKnown_ = true;
            panel.showOutputs(*bits & kRelays);
        }
    } else if (letters == "mr") {
        onMemoryReply(payload);
    } else if (letters == "tc" || letters == "tj") {
        for (const RowThermocouple& read : ThermocouplesInReply(payload, inputs))
            panel.storeThermocouple(read.channel, read.thermocouple);
    } else {
        return letters == "dk";
    }
    return true;
}

// The echo of AR: the new range takes effect only for a code the unit has.
void NodeInputLink::onRangeReply(std::string_view payload)
{
    if (payload.size() != kShortReplyLength)
        return;
    const int row = static_cast<unsigned char>(payload[2]) - 0x20;
    const int range = static_cast<unsigned char>(payload[3]) - 0x20;
    if (panel_->validRow(row) && range >= 0 && range < InputRange::Count)
        panel_->onRangeWritten(row, range, range);
}

// "mr" of address 0D08 (the relays' configuration bytes) or 1004 (a
// configuration byte and the inputs' ranges); other addresses are ignored.
void NodeInputLink::onMemoryReply(std::string_view payload)
{
    const auto memory = ascii::ParseMR(payload);
    if (!memory)
        return;
    const char area = payload[2];
    if (area == '0' && payload.size() == kOutputConfigReplyLength) {
        for (std::size_t i = 0; i < outputConfig_.size() && i < memory->bytes.size(); ++i)
            outputConfig_[i] = memory->bytes[i];
        return;
    }
    if (area != '1' || payload.size() != kInputRangesReplyLength)
        return;
    configByte_ = memory->bytes[0];
    for (int row = 0; row < panel_->inputCount(); ++row) {
        const int range = memory->bytes[static_cast<std::size_t>(row) + 1];
        if (range < InputRange::Count)
            panel_->onRangeRead(row, range);
    }
}

} // namespace vantel
