#pragma once

#include <cstdint>
#include <string_view>

namespace vantel {

// Family flag bits of a catalogue row.
namespace ModelFlag {
inline constexpr std::uint32_t FirstWireless = 0x1;
inline constexpr std::uint32_t Gateway = 0x2;
inline constexpr std::uint32_t FirstDigital = 0x10;
inline constexpr std::uint32_t AnalogOutputs = 0x20;
inline constexpr std::uint32_t AnalogInputs = 0x40;
inline constexpr std::uint32_t AnalogFamily = AnalogOutputs | AnalogInputs;
inline constexpr std::uint32_t EightChannel = 0x80;
inline constexpr std::uint32_t SerialInterface = 0x100;
inline constexpr std::uint32_t K29 = 0x200;
inline constexpr std::uint32_t ThirdWireless = 0x400;
inline constexpr std::uint32_t TwoPort = 0x10000000;
} // namespace ModelFlag

struct ModelRow {
    int index;
    std::string_view displayName;
    std::string_view shortName;
    int modelCode;
    std::uint32_t flags;
    int outputCount;
    int inputCount;

    bool has(std::uint32_t bit) const { return (flags & bit) != 0; }
    bool isAnalog() const { return has(ModelFlag::AnalogFamily); }
    bool isGateway() const { return has(ModelFlag::Gateway); }
};

inline constexpr int kModelCount = 50;
// Row 50 is the terminating row and doubles as "no model".
inline constexpr int kNoModel = 50;

// The row at `row`; any number outside 0-49 yields the empty terminating row,
// so a stored row read from a file can never index past the table.
const ModelRow& ModelAt(int row);

bool IsKnownModelRow(int row);

// Row of the first model with `modelCode` that satisfies `wantedFlags`, or kNoModel.
int FindModelRow(std::int32_t modelCode, std::uint32_t wantedFlags);

} // namespace vantel
