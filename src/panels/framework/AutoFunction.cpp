#include "panels/framework/AutoFunction.h"

namespace vantel {

std::optional<int> ParsePeriod(std::string_view text, const PeriodRule& rule)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > rule.maximum)
            return std::nullopt;
    }
    if (value < rule.minimum)
        return std::nullopt;
    return static_cast<int>(value);
}

void AutoFunction::switchOn(int periodTicks)
{
    on_ = false;
    counter_ = 0;
    period_ = periodTicks;
    on_ = true;
}

bool AutoFunction::advance()
{
    if (!on_.load())
        return false;
    if (counter_.fetch_add(1) + 1 < period_.load())
        return false;
    counter_ = 0;
    return true;
}

} // namespace vantel
