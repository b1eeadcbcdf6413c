#include "graph/DisplayPeriod.h"

#include <array>

namespace vantel {
namespace {

struct DisplayPeriod {
    double span;
    double timePerDiv;
};

constexpr std::array<DisplayPeriod, kDisplayPeriodCount> kPeriods{{
    {60, 5},
    {120, 10},
    {300, 30},
    {600, 60},
    {1800, 300},
    {3600, 300},
    {7200, 600},
    {21'600, 1800},
    {43'200, 3600},
    {86'400, 7200},
}};

} // namespace

bool ApplyDisplayPeriod(LECanvas& canvas, int index)
{
    if (index < 0 || index >= kDisplayPeriodCount)
        return false;
    const DisplayPeriod& period = kPeriods[static_cast<std::size_t>(index)];
    canvas.SetSpan(period.span);
    canvas.SetTimePerDiv(period.timePerDiv);
    return true;
}

} // namespace vantel
