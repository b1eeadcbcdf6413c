#include "dialogs/NumberBoxFilter.h"

#include "dialogs/DialogTexts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace vantel {

bool FilterBox(ControlView& view, int controlId, std::string_view allowed)
{
    const std::string text = view.text(controlId);
    const std::size_t end = text.find_first_not_of(allowed);
    if (end == std::string::npos)
        return false;
    view.showMessage(kNotANumberMessage);
    view.setText(controlId, text.substr(0, end));
    return true;
}

bool FilterNumberBox(ControlView& view, int controlId)
{
    return FilterBox(view, controlId, kNumberCharacters);
}

std::string FormatFixed6(double value)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    if (result.ec != std::errc())
        return "0.000000";
    return std::string(buffer, result.ptr);
}

double ParseLeadingDouble(std::string_view text)
{
    // Leading white space and a plus sign are part of what strtod accepts.
    const std::size_t first = text.find_first_not_of(" \t\n\v\f\r");
    if (first == std::string_view::npos)
        return 0;
    text.remove_prefix(first);
    if (!text.empty() && text.front() == '+' && (text.size() < 2 || text[1] != '-'))
        text.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return (!text.empty() && text.front() == '-') ? -HUGE_VAL : HUGE_VAL;
    return result.ec == std::errc() ? value : 0;
}

double ParseNumberBox(std::string_view text)
{
    const double value = ParseLeadingDouble(text);
    if (std::isnan(value))
        return 0;
    return std::clamp(value, -std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
}

int ParseLeadingCount(std::string_view text, int limit)
{
    const std::size_t end = text.find_first_not_of(kDigitCharacters);
    const std::string_view digits = text.substr(0, end);
    int value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return limit;
    return result.ec == std::errc() ? std::min(value, limit) : 0;
}

} // namespace vantel
