#include "cli/UnitCommands.h"

#include "cli/CliTexts.h"
#include "cli/GatewayLinks.h"
#include "cli/NamedUnit.h"
#include "cli/UnitSession.h"
#include "comm/protocol/AnalogRanges.h"
#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/AsciiReplies.h"
#include "comm/protocol/ValueConversion.h"
#include "panels/framework/PanelTexts.h"
#include "panels/framework/UnitCheck.h"
#include "panels/gateway/GatewayPanelRules.h"
#include "panels/gateway/NodeSession.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <optional>
#include <ostream>
#include <variant>
#include <vector>

namespace vantel::ctl {
namespace {

std::string Trimmed(std::string text)
{
    text.erase(0, text.find_first_not_of(' '));
    return text;
}

void PrintBits(std::ostream& out, const char* prefix, int bits, int count)
{
    for (int i = 0; i < count; ++i)
        out << prefix << i + 1 << '\t' << ((bits >> i) & 1) << '\n';
}

// Channel states given as 0/1 text, channel 1 first.
std::optional<int> ParseBits(const std::string& text, int count)
{
    if (text.empty() || static_cast<int>(text.size()) > count)
        return std::nullopt;
    int bits = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '0' && text[i] != '1')
            return std::nullopt;
        bits |= (text[i] - '0') << i;
    }
    return bits;
}

int Failed(std::ostream& err, const char* what = kCommunicationError)
{
    err << what << "\n";
    return kExitRefused;
}

int ReadDigitalSide(UnitSession& unit, bool inputs, std::ostream& out, std::ostream& err)
{
    std::optional<int> bits;
    bool extraInputsFailed = false;
    const auto keep = [&bits](std::optional<int> value, auto...) { bits = value; };
    if (unit.isAnalog()) {
        if (inputs)
            unit.run(analog::ReadDigitalInputs{.extra = 0, .done = keep});
        else
            unit.run(analog::ReadDigitalOutputs{.done = keep});
    } else if (inputs) {
        unit.run(digital::ReadInputs{.done = [&](const digital::InputsResult& read) {
            if (const int* value = std::get_if<int>(&read))
                bits = *value;
            else
                extraInputsFailed = std::get<digital::InputsFailure>(read) == digital::InputsFailure::ExtraInputs;
        }});
    } else {
        unit.run(digital::ReadOutputs{.done = keep});
    }
    if (extraInputsFailed)
        return Failed(err, "the extra inputs on the second port did not answer (check --second-port)");
    if (!bits)
        return Failed(err);
    PrintBits(out, inputs ? "DI" : "DO", *bits, inputs ? unit.model().inputCount : unit.model().outputCount);
    return kExitOk;
}

// One line per analog input: its engineering value in its range, with the
// panel's format and unit.
void PrintAnalogInputs(std::ostream& out, const std::vector<int>& ranges, const analog::InputReadings& raw)
{
    for (std::size_t ch = 0; ch < ranges.size(); ++ch) {
        const int range = ranges[ch];
        const InputRangeInfo& info = InputRangeOf(range);
        out << "AI" << ch + 1 << '\t' << Trimmed(FormatByRange(range, ReadingToShownValue(raw[ch], range), true))
            << '\t' << info.unit;
        if (!info.known)
            out << " (unknown range " << range << ')';
        out << '\n';
    }
}

void PrintAnalogOutput(std::ostream& out, int channel, int mode, int raw)
{
    out << "AO" << channel + 1 << '\t' << (mode == OutputMode::Current ? "current" : "voltage") << '\t'
        << FormatByRange(mode, OutputRawToValue(mode, raw), false) << ' ' << OutputModeOf(mode).unit << '\n';
}

// "ao CH VALUE [--current]" of write.
struct OutputValue {
    int channel = 0; // from 0
    int mode = OutputMode::Voltage;
    int raw = 0;
};

std::optional<OutputValue> ParseOutputValue(const std::string& channelText, const std::string& valueText, bool current,
                                            int outputCount, std::ostream& err)
{
    const auto channel = ParseWholeNumber(channelText);
    const auto value = ParseDecimalNumber(valueText);
    if (!channel || *channel < 1 || *channel > outputCount || !value) {
        err << "write ao needs CH (1-" << outputCount << ") and a VALUE\n";
        return std::nullopt;
    }
    const int mode = current ? OutputMode::Current : OutputMode::Voltage;
    return OutputValue{*channel - 1, mode, ValueToOutputRaw(mode, *value)};
}

int ReadAnalogInputs(UnitSession& unit, std::ostream& out, std::ostream& err)
{
    constexpr int kMaxReadAtOnce = 5;
    const int count = std::min(unit.model().inputCount, kMaxReadAtOnce);
    std::array<std::optional<analog::RangeSetting>, kMaxReadAtOnce> ranges{};
    for (int ch = 0; ch < count; ++ch) {
        unit.run(analog::ReadRange{.channel = ch, .done = [&ranges, ch](int, std::optional<analog::RangeSetting> read) {
                                       ranges[ch] = read;
                                   }});
        if (!ranges[ch])
            return Failed(err);
    }
    std::optional<analog::InputReadings> raw;
    unit.run(analog::ReadAllInputs{.inputCount = count,
                                   .done = [&raw](std::optional<analog::InputReadings> read) { raw = read; }});
    if (!raw)
        return Failed(err);
    std::vector<int> codes;
    for (int ch = 0; ch < count; ++ch)
        codes.push_back(ranges[ch]->range);
    PrintAnalogInputs(out, codes, *raw);
    return kExitOk;
}

int ReadAnalogOutputs(UnitSession& unit, std::ostream& out, std::ostream& err)
{
    for (int ch = 0; ch < unit.model().outputCount; ++ch) {
        std::optional<analog::OutputSetting> read;
        unit.run(analog::ReadOutput{.channel = ch,
                                    .done = [&read](int, const std::optional<analog::OutputSetting>& s) { read = s; }});
        if (!read)
            return Failed(err);
        PrintAnalogOutput(out, ch, read->mode, read->raw);
    }
    return kExitOk;
}

int WriteDigitalOutputs(UnitSession& unit, const std::string& text, std::ostream& out, std::ostream& err)
{
    const auto bits = ParseBits(text, unit.model().outputCount);
    if (!bits) {
        err << BitsUsage(unit.model().outputCount) << "\n";
        return kExitUsage;
    }
    std::optional<int> written;
    const auto keep = [&written](std::optional<int> value) { written = value; };
    if (unit.isAnalog())
        unit.run(analog::WriteDigitalOutputs{.outputs = *bits, .done = keep});
    else
        unit.run(digital::WriteOutputs{.outputs = *bits, .done = keep});
    if (!written)
        return Failed(err);
    PrintBits(out, "DO", *written, unit.model().outputCount);
    return kExitOk;
}

int WriteAnalogOutput(UnitSession& unit, CtlArgs& args, std::ostream& out, std::ostream& err)
{
    const auto& words = args.positional();
    const auto set = ParseOutputValue(words[2], words[3], args.flag("--current"), unit.model().outputCount, err);
    if (!set)
        return kExitUsage;
    std::optional<int> writtenRaw;
    unit.run(analog::SetOutput{.channel = set->channel,
                               .mode = set->mode,
                               .raw = set->raw,
                               .done = [&writtenRaw](int, std::optional<int> raw) { writtenRaw = raw; }});
    if (!writtenRaw)
        return Failed(err);
    out << "AO" << set->channel + 1 << '\t'
        << FormatByRange(set->mode, OutputRawToValue(set->mode, *writtenRaw & 0xFFFF), false) << ' '
        << OutputModeOf(set->mode).unit << '\n';
    return kExitOk;
}

// One unit behind the gateway: each command sent to its node and its reply
// waited for, through the node session the panels use.
class WirelessUnit {
public:
    explicit WirelessUnit(const UnitRecord& unit) : unit_(unit) {}

    // False after saying why when the gateway cannot be reached.
    bool open(std::ostream& err)
    {
        int error = 0;
        CGatewayLink* link = GatewayLinks::instance().linkFor(unit_, kAnyAddress, error);
        if (link == nullptr) {
            err << ConnectErrorText(error) << "\n";
            return false;
        }
        session_.emplace(*link, unit_.node, unit_.replyTimeout);
        session_->listen([this](std::string_view, std::string_view payload) {
            const std::lock_guard guard(mutex_);
            reply_ = std::string(payload);
            return true;
        });
        return true;
    }
    // The reply, or nothing after saying `silence` (the panels' time-out
    // message unless told otherwise).
    std::optional<std::string> ask(const std::string& command, std::ostream& err,
                                   const char* silence = kWirelessTimeout)
    {
        {
            const std::lock_guard guard(mutex_);
            reply_.clear();
        }
        if (!session_->exchange(command)) {
            err << silence << "\n";
            return std::nullopt;
        }
        const std::lock_guard guard(mutex_);
        return reply_;
    }
    const ModelRow& model() const { return ModelAt(unit_.modelRow); }
    bool isAnalog() const { return model().isAnalog(); }

private:
    const UnitRecord& unit_;
    std::mutex mutex_;
    std::string reply_;
    std::optional<NodeSession> session_; // last: ends before the rest
};

// The unit's identity as its model query tells it: "MD" for the analog
// units (no answer is the program's "接続エラー"), the serial query for the
// digital ones. Nothing once `err` was told why.
std::optional<ascii::UnitIdentity> IdentifyGatewayUnit(WirelessUnit& unit, std::ostream& err)
{
    const auto reply =
        unit.isAnalog() ? unit.ask(ascii::MD().bytes, err, kGatewayConnectTimedOut) : unit.ask(ascii::SN().bytes, err);
    if (!reply)
        return std::nullopt;
    const auto identity = unit.isAnalog() ? ascii::ParseMD(*reply) : ascii::ParseSN(*reply);
    if (!identity)
        Failed(err);
    return identity;
}

int ProbeGatewayUnit(WirelessUnit& unit, std::ostream& out, std::ostream& err)
{
    const auto identity = IdentifyGatewayUnit(unit, err);
    if (!identity)
        return kExitRefused;
    out << "unit-id " << identity->unitId << " model " << identity->modelCode << "\n";
    return identity->modelCode == unit.model().modelCode ? kExitOk : Failed(err, kWrongModel);
}

// An analog unit is read or written only once "MD" names its model, as the
// program opens its panel only then.
bool CheckedAnalogGatewayUnit(WirelessUnit& unit, std::ostream& err)
{
    if (!unit.isAnalog())
        return true;
    const auto identity = IdentifyGatewayUnit(unit, err);
    if (identity && identity->modelCode != unit.model().modelCode)
        Failed(err, kWrongModel);
    return identity && identity->modelCode == unit.model().modelCode;
}

// Digital channels of one side; none where that side is analog.
int DigitalChannels(const ModelRow& model, bool inputs)
{
    if (inputs)
        return model.has(ModelFlag::AnalogInputs) ? 0 : model.inputCount;
    return model.has(ModelFlag::AnalogOutputs) ? 0 : model.outputCount;
}

// Why a model cannot be asked for `what` (di, do, ai or ao); null when it can.
const char* MissingChannels(const ModelRow& model, std::string_view what)
{
    if (what == "ai")
        return model.has(ModelFlag::AnalogInputs) ? nullptr : kNoAnalogInputs;
    if (what == "ao")
        return model.has(ModelFlag::AnalogOutputs) ? nullptr : kNoAnalogOutputs;
    const bool inputs = what == "di";
    if (DigitalChannels(model, inputs) > 0)
        return nullptr;
    return inputs ? kNoDigitalInputs : kNoDigitalOutputs;
}

int ReadGatewayDigitalSide(WirelessUnit& unit, bool inputs, std::ostream& out, std::ostream& err)
{
    // The caller has checked that the side has channels.
    const int count = DigitalChannels(unit.model(), inputs);
    const auto reply =
        unit.ask(inputs ? ascii::DI(ChannelKind::Gateway).bytes : ascii::DY(ChannelKind::Gateway).bytes, err);
    if (!reply)
        return kExitRefused;
    const auto bits =
        inputs ? ascii::ParseDI(*reply, ChannelKind::Gateway) : ascii::ParseDY(*reply, ChannelKind::Gateway);
    if (!bits)
        return Failed(err);
    PrintBits(out, inputs ? "DI" : "DO", *bits, count);
    return kExitOk;
}

// The ranges from the unit's memory (a byte, then one range per input), as
// the panel reads them, then every input at once.
int ReadGatewayAnalogInputs(WirelessUnit& unit, std::ostream& out, std::ostream& err)
{
    const int count = unit.model().inputCount;
    const auto memory = unit.ask(ascii::MR(ascii::kMemoryInputRanges, ascii::kMemoryInputRangesCount).bytes, err);
    if (!memory)
        return kExitRefused;
    const auto ranges = ascii::ParseMR(*memory);
    if (!ranges || ranges->bytes.size() < static_cast<std::size_t>(count) + 1)
        return Failed(err);
    const auto reply = unit.ask(ascii::AIAll(count, ChannelKind::Gateway).bytes, err);
    if (!reply)
        return kExitRefused;
    const auto readings = ascii::ParseAIAll(*reply);
    if (!readings || readings->size() != static_cast<std::size_t>(count))
        return Failed(err);
    analog::InputReadings raw{};
    std::copy(readings->begin(), readings->end(), raw.begin());
    PrintAnalogInputs(out, std::vector<int>(ranges->bytes.begin() + 1, ranges->bytes.begin() + 1 + count), raw);
    return kExitOk;
}

int ReadGatewayAnalogOutputs(WirelessUnit& unit, std::ostream& out, std::ostream& err)
{
    for (int ch = 0; ch < unit.model().outputCount; ++ch) {
        const auto reply = unit.ask(ascii::AY(ch).bytes, err);
        if (!reply)
            return kExitRefused;
        const auto setting = ascii::ParseAY(*reply);
        if (!setting || setting->channel != ch)
            return Failed(err);
        PrintAnalogOutput(out, ch, setting->mode, setting->raw);
    }
    return kExitOk;
}

int ReadGatewayUnit(WirelessUnit& unit, const std::string& what, std::ostream& out, std::ostream& err)
{
    if (!CheckedAnalogGatewayUnit(unit, err))
        return kExitRefused;
    if (const char* missing = MissingChannels(unit.model(), what))
        return Failed(err, missing);
    if (what == "ai")
        return ReadGatewayAnalogInputs(unit, out, err);
    if (what == "ao")
        return ReadGatewayAnalogOutputs(unit, out, err);
    return ReadGatewayDigitalSide(unit, what == "di", out, err);
}

int WriteGatewayOutputs(WirelessUnit& unit, const std::string& text, std::ostream& out, std::ostream& err)
{
    const int count = DigitalChannels(unit.model(), false);
    if (count == 0)
        return Failed(err, kNoDigitalOutputs);
    const auto bits = ParseBits(text, count);
    if (!bits) {
        err << BitsUsage(count) << "\n";
        return kExitUsage;
    }
    if (!CheckedAnalogGatewayUnit(unit, err))
        return kExitRefused;
    // The outputs named in BITS, each with its mask bit; the others stay.
    const int mask = (1 << text.size()) - 1;
    const auto reply = unit.ask(ascii::DK(*bits, mask, kGatewayOutputGroups).bytes, err);
    if (!reply)
        return kExitRefused;
    const auto written = ascii::ParseDK(*reply);
    if (!written)
        return Failed(err);
    PrintBits(out, "DO", *written, count);
    return kExitOk;
}

// The value is set through the node, then read back: what the unit took.
int WriteGatewayAnalogOutput(WirelessUnit& unit, const CtlArgs& args, std::ostream& out, std::ostream& err)
{
    if (!unit.model().has(ModelFlag::AnalogOutputs))
        return Failed(err, kNoAnalogOutputs);
    const auto& words = args.positional(); // ao CH VALUE
    const auto set = ParseOutputValue(words[1], words[2], args.flag("--current"), unit.model().outputCount, err);
    if (!set)
        return kExitUsage;
    if (!CheckedAnalogGatewayUnit(unit, err) || !unit.ask(ascii::AO(set->channel, set->mode, set->raw).bytes, err))
        return kExitRefused;
    const auto reply = unit.ask(ascii::AY(set->channel).bytes, err);
    if (!reply)
        return kExitRefused;
    const auto setting = ascii::ParseAY(*reply);
    if (!setting || setting->channel != set->channel)
        return Failed(err);
    PrintAnalogOutput(out, set->channel, setting->mode, setting->raw);
    return kExitOk;
}

// --unit NAME of a unit behind the gateway runs `verb` on it; any other
// named unit continues as HOST:PORT --model ROW in `args`. Nothing when the
// command goes on with `args`.
template <typename Verb>
std::optional<int> RunNamed(std::vector<std::string>& args, const std::set<std::string>& flags, std::ostream& err,
                            Verb verb)
{
    const NamedUnit named = FindNamedUnit(args, flags, err);
    if (!named.given)
        return std::nullopt;
    if (!named.unit)
        return named.exitCode;
    if (!ModelAt(named.unit->modelRow).isGateway()) {
        args = WithUnitAddress(args, *named.unit);
        return std::nullopt;
    }
    WirelessUnit unit(*named.unit);
    if (!unit.open(err))
        return kExitRefused;
    return verb(unit);
}

// What the unit reports, checked against its model row before anything is
// read or written, as the panels and probe check it: a unit of another model
// (or a peer that only echoes or floods) would answer with noise.
UnitIdentity IdentityOf(UnitSession& unit)
{
    return unit.isAnalog() ? IdentifyUnit(*unit.analogChannel(), unit.model())
                           : IdentifyUnit(*unit.digitalChannel(), unit.model());
}

// Runs `work` on the unit the arguments name once it is connected, found
// to be the model it is listed as, and has the channels `what` names.
template <typename Work> int WithUnit(CtlArgs& args, std::string_view what, std::ostream& err, Work work)
{
    int exitCode = kExitOk;
    const auto unit = UnitSession::open(args, err, exitCode);
    if (!unit)
        return exitCode;
    if (const UnitIdentity identity = IdentityOf(*unit); !identity.ok())
        return Failed(err, identity.failure.c_str());
    if (const char* missing = MissingChannels(unit->model(), what))
        return Failed(err, missing);
    return work(*unit);
}

} // namespace

int RunProbe(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> words = rawArgs;
    if (const auto done =
            RunNamed(words, {}, err, [&](WirelessUnit& unit) { return ProbeGatewayUnit(unit, out, err); }))
        return *done;
    CtlArgs args(words, {});
    int exitCode = kExitOk;
    auto unit = UnitSession::open(args, err, exitCode);
    if (!unit)
        return exitCode;
    const UnitIdentity identity = IdentityOf(*unit);
    if (identity.modelCode >= 0)
        out << "unit-id " << identity.unitId << " model " << identity.modelCode << "\n";
    return identity.ok() ? kExitOk : Failed(err, identity.failure.c_str());
}

int RunRead(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> words = rawArgs;
    const auto done = RunNamed(words, {}, err, [&](WirelessUnit& unit) {
        const CtlArgs given(rawArgs, {});
        const std::string what = given.positional().size() == 1 ? given.positional()[0] : "";
        if (what != "di" && what != "do" && what != "ai" && what != "ao") {
            err << "read --unit NAME needs one of di, do, ai, ao\n";
            return kExitUsage;
        }
        return ReadGatewayUnit(unit, what, out, err);
    });
    if (done)
        return *done;
    CtlArgs args(words, {});
    const std::string what = args.positional().size() == 2 ? args.positional()[1] : "";
    if (what != "di" && what != "do" && what != "ai" && what != "ao") {
        err << "read needs HOST[:PORT] and one of di, do, ai, ao\n";
        return kExitUsage;
    }
    return WithUnit(args, what, err, [&](UnitSession& unit) {
        if (what == "ai")
            return ReadAnalogInputs(unit, out, err);
        if (what == "ao")
            return ReadAnalogOutputs(unit, out, err);
        return ReadDigitalSide(unit, what == "di", out, err);
    });
}

int RunWrite(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> unitArgs = rawArgs;
    const auto done = RunNamed(unitArgs, {"--current"}, err, [&](WirelessUnit& unit) {
        const CtlArgs given(rawArgs, {"--current"});
        const auto& positional = given.positional();
        const std::string what = positional.empty() ? "" : positional[0];
        if (what == "do" && positional.size() == 2)
            return WriteGatewayOutputs(unit, positional[1], out, err);
        if (what == "ao" && positional.size() == 3)
            return WriteGatewayAnalogOutput(unit, given, out, err);
        err << "write --unit NAME needs do BITS or ao CH VALUE\n";
        return kExitUsage;
    });
    if (done)
        return *done;
    CtlArgs args(unitArgs, {"--current"});
    const auto& words = args.positional();
    const std::string what = words.size() >= 2 ? words[1] : "";
    if (!((what == "do" && words.size() == 3) || (what == "ao" && words.size() == 4))) {
        err << "write needs HOST[:PORT] and either do BITS or ao CH VALUE\n";
        return kExitUsage;
    }
    return WithUnit(args, what, err, [&](UnitSession& unit) {
        return what == "ao" ? WriteAnalogOutput(unit, args, out, err) : WriteDigitalOutputs(unit, words[2], out, err);
    });
}

const CtlCommand kProbeCommand{"probe",
                               "probe HOST[:PORT] --model ROW | --unit NAME [--list FILE] [--second-port P]\n"
                               "      [--adapter ADDR] [--timeout MS]",
                               RunProbe};
const CtlCommand kReadCommand{"read",
                              "read HOST[:PORT] --model ROW | --unit NAME [--list FILE] di|do|ai|ao\n"
                              "      [--second-port P] [--adapter ADDR]",
                              RunRead};
const CtlCommand kWriteCommand{"write",
                               "write HOST[:PORT] --model ROW | --unit NAME [--list FILE] do BITS | ao CH VALUE\n"
                               "      [--current] [--adapter ADDR]",
                               RunWrite};

} // namespace vantel::ctl
