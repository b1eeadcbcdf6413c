#include "cli/UnitCommands.h"

#include "cli/UnitSession.h"
#include "comm/ValueConversion.h"
#include "panels/UnitCheck.h"

#include <array>
#include <ostream>

namespace vantel::ctl {
namespace {

constexpr const char* kCommunicationError = "ORVEX通信エラー";

// Unit of an input range's engineering value.
std::string_view RangeUnit(int range)
{
    if (IsCurrentRange(range))
        return "mA";
    return range == InputRange::Thermocouple ? "℃" : "V";
}

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
    int bits = analog::kFailed;
    const auto keep = [&bits](int value, auto...) { bits = value; };
    if (unit.isAnalog()) {
        if (inputs)
            unit.run(analog::ReadDigitalInputs{.extra = 0, .done = keep});
        else
            unit.run(analog::ReadDigitalOutputs{.done = keep});
    } else if (inputs) {
        unit.run(digital::ReadInputs{.done = keep});
    } else {
        unit.run(digital::ReadOutputs{.done = keep});
    }
    if (bits == -2)
        return Failed(err, "the extra inputs on the second port did not answer (check --second-port)");
    if (bits < 0)
        return Failed(err);
    PrintBits(out, inputs ? "DI" : "DO", bits, inputs ? unit.model().inputCount : unit.model().outputCount);
    return kExitOk;
}

int ReadAnalogInputs(UnitSession& unit, std::ostream& out, std::ostream& err)
{
    constexpr int kMaxReadAtOnce = 5;
    const int count = std::min(unit.model().inputCount, kMaxReadAtOnce);
    std::array<int, kMaxReadAtOnce> ranges{};
    for (int ch = 0; ch < count; ++ch) {
        unit.run(analog::ReadRange{.channel = ch, .done = [&ranges, ch](int, int range, int) { ranges[ch] = range; }});
        if (ranges[ch] < 0)
            return Failed(err);
    }
    std::array<int, kMaxReadAtOnce> raw{};
    bool ok = false;
    unit.run(analog::ReadAllInputs{.inputCount = count, .done = [&](int r0, int r1, int r2, int r3, int r4) {
                                       ok = r0 != analog::kAllInputsFailed;
                                       raw = {r0, r1, r2, r3, r4};
                                   }});
    if (!ok)
        return Failed(err);
    for (int ch = 0; ch < count; ++ch) {
        const double value = ReadingToValue(raw[ch], ranges[ch]);
        out << "AI" << ch + 1 << '\t' << Trimmed(FormatByRange(ranges[ch], value, true)) << '\t'
            << RangeUnit(ranges[ch]) << '\n';
    }
    return kExitOk;
}

int ReadAnalogOutputs(UnitSession& unit, std::ostream& out, std::ostream& err)
{
    for (int ch = 0; ch < unit.model().outputCount; ++ch) {
        int mode = analog::kFailed;
        int raw = analog::kFailed;
        unit.run(analog::ReadOutput{.channel = ch, .done = [&](int, int m, int r) {
                                        mode = m;
                                        raw = r;
                                    }});
        if (raw == analog::kFailed)
            return Failed(err);
        const bool current = mode == OutputMode::Current;
        out << "AO" << ch + 1 << '\t' << (current ? "current" : "voltage") << '\t'
            << FormatByRange(mode, OutputRawToValue(mode, raw), false) << (current ? " mA" : " V") << '\n';
    }
    return kExitOk;
}

int WriteDigitalOutputs(UnitSession& unit, const std::string& text, std::ostream& out, std::ostream& err)
{
    const auto bits = ParseBits(text, unit.model().outputCount);
    if (!bits) {
        err << "BITS must be 0/1 for at most " << unit.model().outputCount << " outputs, output 1 first\n";
        return kExitUsage;
    }
    int written = analog::kFailed;
    const auto keep = [&written](int value) { written = value; };
    if (unit.isAnalog())
        unit.run(analog::WriteDigitalOutputs{.outputs = *bits, .done = keep});
    else
        unit.run(digital::WriteOutputs{.outputs = *bits, .done = keep});
    if (written < 0)
        return Failed(err);
    PrintBits(out, "DO", written, unit.model().outputCount);
    return kExitOk;
}

int WriteAnalogOutput(UnitSession& unit, CtlArgs& args, std::ostream& out, std::ostream& err)
{
    const auto& words = args.positional();
    const auto channel = words.size() > 3 ? ParseWholeNumber(words[2]) : std::nullopt;
    char* end = nullptr;
    const double value = words.size() > 3 ? std::strtod(words[3].c_str(), &end) : 0.0;
    if (!channel || *channel < 1 || *channel > unit.model().outputCount || !end || *end != '\0') {
        err << "write ao needs CH (1-" << unit.model().outputCount << ") and a VALUE\n";
        return kExitUsage;
    }
    const int mode = args.flag("--current") ? OutputMode::Current : OutputMode::Voltage;
    int writtenRaw = analog::kFailed;
    unit.run(analog::SetOutput{.channel = *channel - 1,
                               .mode = mode,
                               .raw = ValueToOutputRaw(mode, value),
                               .done = [&writtenRaw](int, int raw, int) { writtenRaw = raw; }});
    if (writtenRaw == analog::kFailed)
        return Failed(err);
    out << "AO" << *channel << '\t' << FormatByRange(mode, OutputRawToValue(mode, writtenRaw & 0xFFFF), false)
        << (mode == OutputMode::Current ? " mA" : " V") << '\n';
    return kExitOk;
}

} // namespace

int RunProbe(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err)
{
    CtlArgs args(rawArgs, {});
    int exitCode = kExitOk;
    auto unit = UnitSession::open(args, err, exitCode);
    if (!unit)
        return exitCode;
    const UnitIdentity identity = unit->isAnalog() ? IdentifyUnit(*unit->analogChannel(), unit->model())
                                                   : IdentifyUnit(*unit->digitalChannel(), unit->model());
    if (identity.modelCode >= 0)
        out << "unit-id " << identity.unitId << " model " << identity.modelCode << "\n";
    return identity.ok() ? kExitOk : Failed(err, identity.failure.c_str());
}

int RunRead(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err)
{
    CtlArgs args(rawArgs, {});
    const std::string what = args.positional().size() == 2 ? args.positional()[1] : "";
    if (what != "di" && what != "do" && what != "ai" && what != "ao") {
        err << "read needs HOST[:PORT] and one of di, do, ai, ao\n";
        return kExitUsage;
    }
    int exitCode = kExitOk;
    auto unit = UnitSession::open(args, err, exitCode);
    if (!unit)
        return exitCode;
    const ModelRow& model = unit->model();
    if (what == "ai") {
        if (!model.has(ModelFlag::AnalogInputs))
            return Failed(err, "this model has no analog inputs");
        return ReadAnalogInputs(*unit, out, err);
    }
    if (what == "ao") {
        if (!model.has(ModelFlag::AnalogOutputs))
            return Failed(err, "this model has no analog outputs");
        return ReadAnalogOutputs(*unit, out, err);
    }
    const bool inputs = what == "di";
    if (inputs ? model.has(ModelFlag::AnalogInputs) || model.inputCount == 0
               : model.has(ModelFlag::AnalogOutputs) || model.outputCount == 0)
        return Failed(err, inputs ? "this model has no digital inputs" : "this model has no digital outputs");
    return ReadDigitalSide(*unit, inputs, out, err);
}

int RunWrite(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err)
{
    CtlArgs args(rawArgs, {"--current"});
    const auto& words = args.positional();
    const std::string what = words.size() >= 2 ? words[1] : "";
    if (!((what == "do" && words.size() == 3) || (what == "ao" && words.size() == 4))) {
        err << "write needs HOST[:PORT] and either do BITS or ao CH VALUE\n";
        return kExitUsage;
    }
    int exitCode = kExitOk;
    auto unit = UnitSession::open(args, err, exitCode);
    if (!unit)
        return exitCode;
    const ModelRow& model = unit->model();
    if (what == "ao") {
        if (!model.has(ModelFlag::AnalogOutputs))
            return Failed(err, "this model has no analog outputs");
        return WriteAnalogOutput(*unit, args, out, err);
    }
    if (model.has(ModelFlag::AnalogOutputs) || model.outputCount == 0)
        return Failed(err, "this model has no digital outputs");
    return WriteDigitalOutputs(*unit, words[2], out, err);
}

const CtlCommand kProbeCommand{
    "probe", "probe HOST[:PORT] --model ROW [--second-port P] [--adapter ADDR] [--timeout MS]", RunProbe};
const CtlCommand kReadCommand{"read", "read HOST[:PORT] --model ROW di|do|ai|ao [--second-port P] [--adapter ADDR]",
                              RunRead};
const CtlCommand kWriteCommand{
    "write", "write HOST[:PORT] --model ROW do BITS | ao CH VALUE [--current] [--adapter ADDR]", RunWrite};

} // namespace vantel::ctl
