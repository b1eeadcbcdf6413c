#include "comm/protocol/Dialect.h"

#include <algorithm>

namespace vantel {

namespace {
constexpr std::uint32_t kAsciiDigitalLines = ModelFlag::EightChannel | ModelFlag::K29 | ModelFlag::ThirdWireless;
constexpr int kNineByteOutputRow = 1;
constexpr int kNineByteInputRows[] = {2, 3};
constexpr int kMinimumGroups = 2;
} // namespace

Dialect DialectOf(const ModelRow& row)
{
    if (row.isAnalog() || row.isGateway() || row.has(kAsciiDigitalLines))
        return Dialect::Ascii;
    return Dialect::TwoByte;
}

bool UsesNineByteOutputs(const ModelRow& row)
{
    return row.has(ModelFlag::TwoPort) && row.index == kNineByteOutputRow;
}

bool UsesNineByteExtraInputs(const ModelRow& row)
{
    return row.has(ModelFlag::TwoPort) &&
           std::ranges::find(kNineByteInputRows, row.index) != std::end(kNineByteInputRows);
}

int DigitalGroupCount(const ModelRow& row)
{
    return std::max(kMinimumGroups, row.outputCount / 4);
}

bool ExtendsModelCode(const ModelRow& row)
{
    return !row.isGateway();
}

} // namespace vantel
