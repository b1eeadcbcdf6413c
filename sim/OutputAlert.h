#pragma once

#include "UnitState.h"

namespace vantel::sim {

// DO alerts drive their outputs from the monitored analog input: an output
// whose alert is on is lit while the input's LED would be lit (inside the
// threshold band, or outside it when the LED is lit outside). Once lit it
// stays lit until the reading leaves the band widened by the hysteresis
// width; once dark it lights only inside the band itself. Called before the
// unit answers any command, so reads see outputs of the current moment.
void ApplyOutputAlerts(UnitState& state, int outputCount, double seconds);

} // namespace vantel::sim
