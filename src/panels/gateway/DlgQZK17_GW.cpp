#include "panels/gateway/DlgQZK17_GW.h"

#include "comm/protocol/AnalogRanges.h"
#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/AsciiReplies.h"
#include "panels/gateway/GatewayAnalogReplies.h"

namespace vantel {
namespace {

constexpr ChannelKind kKind = ChannelKind::Gateway;
constexpr int kRelays = 0x3;
constexpr std::size_t kShortReplyLength = 5; // "ar" and "dy"
constexpr std::size_t kOutputConfigReplyLength = 23;
constexpr std::size_t kInputRangesReplyLength = 15;

} // namespace

DlgQZK17_GW::DlgQZK17_GW(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<NodeSession> link)
    : GatewayAnalogPanel(view, std::move(context), std::move(page), std::move(link), kShape)
{
}

DlgQZK17_GW::~DlgQZK17_GW()
{
    // The receive, link and start-up threads reach the members above.
    shutDown();
}

int DlgQZK17_GW::relayState(int output) const
{
    if (!relaysKnown_.load())
        return 2;
    return (outputBits() >> output) & 1;
}

bool DlgQZK17_GW::pulses(int output) const
{
    return output >= 0 && output < outputCount() && outputConfig_[static_cast<std::size_t>(output)].load() != 0;
}

bool DlgQZK17_GW::runStartUp()
{
    NodeSession& node = commands();
    for (const Request& request :
         {ascii::MR(ascii::kMemoryInputRanges, ascii::kMemoryInputRangesCount), ascii::AKAll(inputCount(), kKind),
          ascii::TJAll(inputCount(), kKind), ascii::MR(ascii::kMemoryOutputConfig, ascii::kMemoryOutputConfigCount),
          ascii::DY(kKind), ascii::AIAll(inputCount(), kKind)}) {
        if (!node.exchange(request.bytes))
            return false;
        countStartUpAnswer();
    }
    return true;
}

void DlgQZK17_GW::startReads()
{
    // Neither on nor off until the unit has told.
    for (int output = 0; output < outputCount(); ++output)
        view().setIndicatorUndetermined(AnalogInputId::Outputs.at(static_cast<std::size_t>(output)).indicator);
    GatewayAnalogPanel::startReads();
}

void DlgQZK17_GW::sendLater(std::string command)
{
    run([this, command = std::move(command)] { commands().send(command); });
}

void DlgQZK17_GW::sendOutputs(int bits, int changed, Caller)
{
    // The lamps show what is sent, as the unit answers DK with no states.
    showOutputs(bits);
    if (changed == kRelays) {
        // Both periods ran out on this tick: one command sets both relays.
        sendLater(ascii::DK(bits, kRelays, kGatewayOutputGroups).bytes);
        return;
    }
    for (int output = 0; output < outputCount(); ++output) {
        if ((changed >> output & 1) == 0)
            continue;
        const bool on = (bits >> output & 1) != 0;
        run([this, output, on] { switchRelay(output, on); });
    }
}

void DlgQZK17_GW::switchRelay(int output, bool on)
{
    const int bit = 1 << output;
    const int requested = on ? bit : 0;
    if (!commands().exchange(ascii::DK(requested, bit, kGatewayOutputGroups).bytes)) {
        outputWriteFailed(requested, bit);
        return;
    }
    if (!on || !pulses(output))
        return;
    // A pulsing relay: the unit sees it on for the length of one exchange.
    if (commands().exchange(ascii::DK(0, bit, kGatewayOutputGroups).bytes))
        showOutputs(outputBits() & ~bit);
}

void DlgQZK17_GW::sendInputRead(Caller)
{
    sendLater(ascii::AIAll(inputCount(), kKind).bytes);
}

void DlgQZK17_GW::sendRange(int row, int range, int)
{
    sendLater(ascii::AR(row, range).bytes);
}

void DlgQZK17_GW::sendThresholds(int row, const RawThresholds& raw, int)
{
    // The gateway units take no threshold mode: always 0.
    sendLater(ascii::AL(row, raw.ledWhenOutside, 0, raw.low, raw.high).bytes);
}

void DlgQZK17_GW::sendThermocouple(int row, const ThermocoupleSetting& setting)
{
    sendLater(ascii::TC(row, setting.type, setting.setting).bytes);
}

bool DlgQZK17_GW::takeReply(std::string_view letters, std::string_view payload)
{
    if (letters == "ai") {
        const auto readings = ascii::ParseAIAll(payload);
        if (readings && readings->size() == static_cast<std::size_t>(inputCount())) {
            analog::InputReadings values{};
            std::copy(readings->begin(), readings->end(), values.begin());
            onInputsRead(values);
        }
    } else if (letters == "ak") {
        for (const RowThresholds& read : ThresholdsInReply(payload, inputCount()))
            onThresholdsRead(read.channel, read.thresholds);
    } else if (letters == "al") {
        for (const RowThresholds& written : ThresholdsInReply(payload, inputCount()))
            onThresholdsWritten(written.channel, written.thresholds);
    } else if (letters == "ar") {
        onRangeReply(payload);
    } else if (letters == "dy") {
        if (const auto bits = ascii::ParseDY(payload, kKind); bits && payload.size() == kShortReplyLength) {
            relaysKnown_ = true;
            showOutputs(*bits & kRelays);
        }
    } else if (letters == "mr") {
        onMemoryReply(payload);
    } else if (letters == "tc" || letters == "tj") {
        for (const RowThermocouple& read : ThermocouplesInReply(payload, inputCount()))
            storeThermocouple(read.channel, read.thermocouple);
    } else {
        return letters == "dk";
    }
    return true;
}

// The echo of AR: the new range takes effect only for a code the unit has.
void DlgQZK17_GW::onRangeReply(std::string_view payload)
{
    if (payload.size() != kShortReplyLength)
        return;
    const int row = static_cast<unsigned char>(payload[2]) - 0x20;
    const int range = static_cast<unsigned char>(payload[3]) - 0x20;
    if (validRow(row) && range >= 0 && range < InputRange::Count)
        onRangeWritten(row, range, range);
}

// "mr" of address 0D08 (the relays' configuration bytes) or 1004 (a
// configuration byte and the inputs' ranges); other addresses are ignored.
void DlgQZK17_GW::onMemoryReply(std::string_view payload)
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
    for (int row = 0; row < inputCount(); ++row) {
        const int range = memory->bytes[static_cast<std::size_t>(row) + 1];
        if (range < InputRange::Count)
            onRangeRead(row, range);
    }
}

} // namespace vantel
