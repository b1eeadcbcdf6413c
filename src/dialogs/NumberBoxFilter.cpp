#include "dialogs/NumberBoxFilter.h"

#include <charconv>
#include <cmath>

namespace vantel {

std::string_view NumberBoxRun(std::string_view text)
{
    const std::size_t end = text.find_first_not_of("0123456789-.");
    return end == std::string_view::npos ? text : text.substr(0, end);
}

bool FilterNumberBox(ControlView& view, int controlId)
{
    const std::string text = view.text(controlId);
    const std::string_view run = NumberBoxRun(text);
    if (run.size() == text.size())
        return false;
    const std::string kept(run);
    view.showMessage(kNotANumberMessage);
    view.setText(controlId, kept);
    return true;
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

} // namespace vantel
