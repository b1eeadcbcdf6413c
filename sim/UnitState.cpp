#include "UnitState.h"

#include "registry/ModelCatalogue.h"

namespace vantel::sim {

UnitState MakeInitialState(int row, int unitId)
{
    UnitState state;
    state.row = row;
    state.unitId = unitId;
    state.modelCode = ModelAt(row).modelCode;
    // Plausible power-on settings: inputs on the ±10 V range.
    state.rangeCodes.fill(2);
    return state;
}

std::uint8_t ReadMemoryByte(const UnitState& state, std::uint16_t address)
{
    if (address == kSampleRateAddress)
        return static_cast<std::uint8_t>(state.sampleRate);
    if (address == kRangeBlockAddress)
        return state.rangeConfigByte;
    if (address > kRangeBlockAddress && address <= kRangeBlockAddress + kMaxChannels)
        return static_cast<std::uint8_t>(state.rangeCodes[address - kRangeBlockAddress - 1]);
    if (address >= kOneShotBlockAddress && address < kOneShotBlockAddress + kMaxChannels)
        return state.oneShotValues[address - kOneShotBlockAddress];
    const auto it = state.memory.find(address);
    return it == state.memory.end() ? 0 : it->second;
}

int MemoryReadLength(std::uint16_t address)
{
    switch (address) {
    case kRangeBlockAddress:
        return 4;
    case kOneShotBlockAddress:
        return kMaxChannels;
    default:
        return 1;
    }
}

} // namespace vantel::sim
