#include "registry/UnitListFile.h"

#include "registry/ModelCatalogue.h"
#include "registry/UnitList.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <vector>

namespace vantel {
namespace {

// Text the code page cannot hold is written one replacement byte per
// character rather than losing the whole line.
std::string encodeLossy(std::string_view utf8, const TextCodec& codec)
{
    if (auto whole = codec.encode(utf8))
        return *whole;
    std::string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t len = std::min(Utf8SequenceLength(static_cast<unsigned char>(utf8[pos])), utf8.size() - pos);
        out += codec.encode(utf8.substr(pos, len)).value_or("?");
        pos += len;
    }
    return out;
}

std::string formatDouble(double value)
{
    // Same text as "%f" in the C locale, whatever locale the GUI installed.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

class LineWriter {
public:
    explicit LineWriter(const TextCodec& codec) : codec_(codec) {}
    LineWriter& quoted(std::string_view utf8)
    {
        line_ += '"';
        line_ += encodeLossy(utf8, codec_);
        line_ += "\",";
        return *this;
    }
    LineWriter& number(int value) { return raw(std::to_string(value)); }
    LineWriter& nodeAndTimeout(int node, int timeout)
    {
        return raw(std::to_string(node) + ":" + std::to_string(timeout));
    }
    LineWriter& formula(const ChannelFormula& f)
    {
        raw(formatDouble(f.gain));
        raw(formatDouble(f.offset));
        return quoted(f.unit);
    }
    LineWriter& raw(std::string_view bytes)
    {
        line_ += bytes;
        line_ += ',';
        return *this;
    }
    std::string finish()
    {
        if (!line_.empty() && line_.back() == ',')
            line_.pop_back();
        return std::move(line_);
    }

private:
    const TextCodec& codec_;
    std::string line_;
};

// Commas separate fields; runs of commas count as one and no field is empty.
std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        if (line[pos] == ',') {
            ++pos;
            continue;
        }
        const std::size_t end = std::min(line.find(',', pos), line.size());
        fields.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    return fields;
}

std::string_view unquote(std::string_view field)
{
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        return field.substr(1, field.size() - 2);
    return field;
}

class FieldReader {
public:
    FieldReader(std::vector<std::string_view> fields, const TextCodec& codec)
        : fields_(std::move(fields)), codec_(codec)
    {
    }
    bool has(std::size_t i) const { return i < fields_.size(); }
    std::string_view raw(std::size_t i) const { return has(i) ? fields_[i] : std::string_view(); }
    void text(std::size_t i, std::string& out, std::size_t maxBytes) const
    {
        if (has(i))
            out = codec_.truncateToBytes(codec_.decode(unquote(fields_[i])), maxBytes);
    }
    void integer(std::size_t i, int& out) const
    {
        if (has(i))
            out = ReadListInteger(fields_[i]);
    }
    void real(std::size_t i, double& out) const
    {
        if (has(i))
            out = ReadListDouble(fields_[i]);
    }
    std::size_t size() const { return fields_.size(); }

private:
    std::vector<std::string_view> fields_;
    const TextCodec& codec_;
};

// The fields before the channel names: name, host, control port, second port
// (or node), model row, window left, window top.
constexpr int kHeadFields = 7;
constexpr std::size_t kModelField = 4;

int FieldsOfRow(const ModelRow& model)
{
    constexpr int kFormulaFields = 3; // gain, offset, unit text
    int fields = kHeadFields + model.outputCount + model.inputCount;
    if (model.has(ModelFlag::AnalogInputs))
        fields += kFormulaFields * model.inputCount;
    if (model.has(ModelFlag::AnalogOutputs))
        fields += kFormulaFields * model.outputCount;
    return fields;
}

// A model row is written as plain digits.
std::optional<int> ModelRowOf(std::string_view field)
{
    if (field.empty() || field.size() > 2 || field.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const int row = ReadListInteger(field);
    return IsKnownModelRow(row) ? std::optional<int>(row) : std::nullopt;
}

void readChannels(const FieldReader& in, std::size_t next, UnitRecord& r)
{
    const ModelRow& model = ModelAt(r.modelRow);
    for (int i = 0; i < model.outputCount; ++i)
        in.text(next++, r.outputNames[i], kMaxSignalNameBytes);
    for (int i = 0; i < model.inputCount; ++i)
        in.text(next++, r.inputNames[i], kMaxSignalNameBytes);
    const auto readFormulas = [&](std::array<ChannelFormula, kChannelsPerSide>& formulas, int count) {
        for (int i = 0; i < count; ++i) {
            in.real(next++, formulas[i].gain);
            in.real(next++, formulas[i].offset);
            in.text(next++, formulas[i].unit, kMaxUnitTextBytes);
        }
    };
    if (model.has(ModelFlag::AnalogInputs))
        readFormulas(r.inputFormulas, model.inputCount);
    if (model.has(ModelFlag::AnalogOutputs))
        readFormulas(r.outputFormulas, model.outputCount);
}

} // namespace

int ReadListInteger(std::string_view field)
{
    std::size_t pos = 0;
    while (pos < field.size() && (field[pos] == ' ' || field[pos] == '\t'))
        ++pos;
    bool negative = false;
    if (pos < field.size() && (field[pos] == '-' || field[pos] == '+'))
        negative = field[pos++] == '-';
    std::uint64_t value = 0;
    bool overflow = false;
    for (; pos < field.size() && field[pos] >= '0' && field[pos] <= '9'; ++pos) {
        value = value * 10 + static_cast<std::uint64_t>(field[pos] - '0');
        if (value > std::numeric_limits<std::uint32_t>::max())
            overflow = true, value = std::numeric_limits<std::uint32_t>::max();
    }
    std::uint32_t word = static_cast<std::uint32_t>(value);
    if (negative && !overflow)
        word = static_cast<std::uint32_t>(0u - word);
    return static_cast<int>(word);
}

double ReadListDouble(std::string_view field)
{
    std::size_t pos = 0;
    while (pos < field.size() && (field[pos] == ' ' || field[pos] == '\t'))
        ++pos;
    if (pos < field.size() && field[pos] == '+')
        ++pos;
    double value = 0.0;
    const auto result = std::from_chars(field.data() + pos, field.data() + field.size(), value);
    return result.ec == std::errc() ? value : 0.0;
}

std::string FormatUnitLine(const UnitRecord& r, const TextCodec& codec)
{
    LineWriter out(codec);
    const ModelRow& model = ModelAt(r.modelRow);
    out.quoted(r.name);
    if (!model.isGateway()) {
        out.quoted(r.host).number(r.controlPort).number(r.secondPort);
    } else if (r.connectionKind == kConnectionLan) {
        out.raw("#\"" + encodeLossy(r.host, codec) + "\"").number(r.controlPort).nodeAndTimeout(r.node, r.replyTimeout);
    } else {
        out.raw("!" + std::to_string(r.comPort)).number(r.controlPort).nodeAndTimeout(r.node, r.replyTimeout);
    }
    out.number(r.modelRow).number(r.windowLeft).number(r.windowTop);
    for (int i = 0; i < model.outputCount; ++i)
        out.quoted(r.outputNames[i]);
    for (int i = 0; i < model.inputCount; ++i)
        out.quoted(r.inputNames[i]);
    if (model.has(ModelFlag::AnalogInputs))
        for (int i = 0; i < model.inputCount; ++i)
            out.formula(r.inputFormulas[i]);
    if (model.has(ModelFlag::AnalogOutputs))
        for (int i = 0; i < model.outputCount; ++i)
            out.formula(r.outputFormulas[i]);
    return out.finish();
}

std::optional<LineFault> FindLineFault(std::string_view line)
{
    const std::vector<std::string_view> fields = splitFields(line);
    const int count = static_cast<int>(fields.size());
    if (count <= static_cast<int>(kModelField))
        return LineFault{LineFault::Kind::TooFewFields, {}, count, kHeadFields};
    const std::optional<int> row = ModelRowOf(fields[kModelField]);
    if (!row)
        return LineFault{LineFault::Kind::UnknownModel, std::string(fields[kModelField]), count, 0};
    const int needed = FieldsOfRow(ModelAt(*row));
    if (count < needed)
        return LineFault{LineFault::Kind::TooFewFields, {}, count, needed};
    return std::nullopt;
}

UnitRecord ParseUnitLine(std::string_view line, const TextCodec& codec)
{
    const FieldReader in(splitFields(line), codec);
    UnitRecord r;
    r.comPort = 1;
    in.text(0, r.name, kMaxNameBytes);
    in.text(1, r.host, kMaxHostBytes);
    const std::string_view hostField = in.raw(1);
    const bool gatewayLine = !hostField.empty() && (hostField[0] == '!' || hostField[0] == '#');
    if (gatewayLine && hostField[0] == '!') {
        r.host.clear();
        r.connectionKind = kConnectionUsb;
        r.comPort = ReadListInteger(hostField.substr(1));
    } else if (gatewayLine) {
        r.connectionKind = kConnectionLan;
        r.host = codec.truncateToBytes(codec.decode(unquote(hostField.substr(1))), kMaxHostBytes);
    }
    in.integer(2, r.controlPort);
    if (gatewayLine) {
        r.secondPort = kDefaultSecondPort;
        const std::string_view nodeField = in.raw(3);
        const std::size_t colon = nodeField.find(':');
        r.node = ReadListInteger(nodeField.substr(0, colon));
        r.replyTimeout = colon == std::string_view::npos ? 10 : ReadListInteger(nodeField.substr(colon + 1));
    } else {
        in.integer(3, r.secondPort);
    }
    in.integer(kModelField, r.modelRow);
    in.integer(5, r.windowLeft);
    in.integer(6, r.windowTop);
    ApplyChannelDefaults(r, r.modelRow);
    readChannels(in, kHeadFields, r);
    r.logName = MakeLogName(r.name);
    return r;
}

} // namespace vantel
