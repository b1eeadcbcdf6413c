#pragma once

namespace vantel {

// Sweep of one analog output row: from V1 up to V2 over T1, back down over
// T2, in the units of the row's output box. Times count 100 ms ticks.
struct SweepSettings {
    double v1 = 1.0;
    double v2 = 9.0;
    int t1 = 30;
    int t2 = 15;
};

} // namespace vantel
