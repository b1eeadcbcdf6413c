#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>

namespace vantel::sim {

inline constexpr int kMaxChannels = 8;

struct AnalogOutputState {
    int mode = 0; // 1 = current 0-20 mA, else voltage
    std::uint16_t raw = 0;
};

struct ThresholdState {
    int flag = 0; // LED lit while outside the window
    int mode = 0;
    std::uint16_t low = 0xC000;
    std::uint16_t high = 0x4000;
};

struct ThermocoupleState {
    int type = 0;
    int setting = 0;
};

struct DoAlertState {
    int firstSetting = 0;
    int secondSetting = 0;
    std::uint16_t level = 0;
    int enabled = 0;
};

// Everything a simulated unit remembers. Channel arrays are indexed from 0;
// AI/AO arrays hold the unit's analog channels, the bit sets its digital ones.
struct UnitState {
    int row = 0;
    int unitId = 0;
    // What the identity queries report; the catalogue's code unless a test
    // wants a unit of the wrong model.
    int modelCode = 0;
    std::uint32_t outputBits = 0;
    std::uint32_t inputBits = 0;
    std::array<int, kMaxChannels> rangeCodes{};
    std::array<int, kMaxChannels> secondCodes{};
    // A pinned raw 24-bit reading replaces the moving signal of that input.
    std::array<std::optional<std::int32_t>, kMaxChannels> pinnedReadings{};
    std::array<AnalogOutputState, kMaxChannels> analogOutputs{};
    std::array<ThresholdState, kMaxChannels> thresholds{};
    std::array<ThermocoupleState, kMaxChannels> thermocouples{};
    std::array<DoAlertState, kMaxChannels> doAlerts{};
    std::array<std::uint8_t, kMaxChannels> oneShotValues{};
    int sampleRate = 0;
    std::uint8_t rangeConfigByte = 0x01;
    // Any other unit memory, read by MR; absent bytes read as 0.
    std::map<std::uint16_t, std::uint8_t> memory;
};

UnitState MakeInitialState(int row, int unitId);

// One byte of unit memory as MR reports it. The sample rate, the input ranges
// and the one-shot values live at their fixed addresses.
std::uint8_t ReadMemoryByte(const UnitState& state, std::uint16_t address);

// Number of bytes MR returns for `address`.
int MemoryReadLength(std::uint16_t address);

inline constexpr std::uint16_t kSampleRateAddress = 0x0491;
inline constexpr std::uint16_t kRangeBlockAddress = 0x1004;
inline constexpr std::uint16_t kOneShotBlockAddress = 0x0D08;

} // namespace vantel::sim
