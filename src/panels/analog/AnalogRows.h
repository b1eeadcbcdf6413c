#pragma once

#include "comm/protocol/AnalogRanges.h"
#include "comm/worker/AnalogRequests.h"
#include "registry/UnitRecord.h"

#include <array>
#include <cstddef>
#include <mutex>

namespace vantel {

// What an analog row holds whichever way its signal goes: the code that
// scales it (an input's range, an output's V/I mode), its last raw value,
// its LED thresholds, its formula and the span its trace is drawn in.
struct AnalogRow {
    int rangeCode = 0;
    int raw = 0; // sign-extended
    int ledWhenOutside = 0;
    int thresholdMode = 0;
    int high = 0x7FFF;
    int low = -0x8000;
    ChannelFormula formula;
    GraphRange display;
};

// A 16-bit word of the unit as a signed number.
constexpr int SignExtend16(int raw)
{
    raw &= 0xFFFF;
    return raw >= 0x8000 ? raw - 0x10000 : raw;
}

// Stores the LED thresholds the unit reported into a row.
inline void TakeThresholds(AnalogRow& row, const analog::Thresholds& thresholds)
{
    row.ledWhenOutside = thresholds.ledWhenOutside;
    row.thresholdMode = thresholds.mode;
    row.low = SignExtend16(thresholds.lowRaw);
    row.high = SignExtend16(thresholds.highRaw);
}

// The rows of a panel, shared by the GUI thread, the tick and the worker:
// every access checks the row index (std::out_of_range past the last) and
// holds the one lock of the rows while it runs.
template <typename Row, std::size_t Count> class LockedRows {
public:
    // Runs `use` on `row` under the lock and hands back what it returns.
    template <typename Use> decltype(auto) with(int row, Use&& use)
    {
        const std::lock_guard guard(mutex_);
        return use(at(row));
    }
    // A copy of `row`, taken under the lock.
    Row read(int row) const
    {
        const std::lock_guard guard(mutex_);
        return at(row);
    }
    // Runs `use(row, state)` on the first `count` rows, all under one hold
    // of the lock, so that they are seen together.
    template <typename Use> void forEach(int count, Use&& use) const
    {
        const std::lock_guard guard(mutex_);
        for (int row = 0; row < count; ++row)
            use(row, at(row));
    }
    // The lock and the parts of `row` the formula dialog reads and changes
    // under it, as the panel's `State` (lock, range code, formula, display).
    template <typename State> State formulaState(int row)
    {
        Row& slot = rows_.at(static_cast<std::size_t>(row));
        return State{mutex_, slot.rangeCode, slot.formula, slot.display};
    }

private:
    Row& at(int row) { return rows_.at(static_cast<std::size_t>(row)); }
    const Row& at(int row) const { return rows_.at(static_cast<std::size_t>(row)); }

    mutable std::mutex mutex_;
    std::array<Row, Count> rows_{};
};

} // namespace vantel
