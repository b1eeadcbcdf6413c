#pragma once

#include "UnitState.h"

#include <cstdint>

namespace vantel::sim {

// Raw 24-bit converter count of input `channel` at `seconds` since the unit
// started: a slow sine scaled to the input's range, or the pinned reading.
std::int32_t AnalogReading(const UnitState& state, int channel, double seconds);

} // namespace vantel::sim
