#include "cli/CtlArgs.h"

#include <charconv>
#include <cmath>

namespace vantel::ctl {

std::optional<int> ParseWholeNumber(const std::string& text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

std::optional<double> ParseDecimalNumber(const std::string& text)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

CtlArgs::CtlArgs(const std::vector<std::string>& args, const std::set<std::string>& flags)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0 || arg.size() == 2) {
            positional_.push_back(arg);
        } else if (flags.count(arg)) {
            flags_.insert(arg);
        } else if (i + 1 < args.size()) {
            options_[arg] = args[++i];
            given_.emplace_back(arg, args[i]);
        } else {
            error_ = arg + " needs a value";
        }
    }
}

std::optional<std::string> CtlArgs::option(const std::string& name) const
{
    const auto it = options_.find(name);
    if (it == options_.end())
        return std::nullopt;
    return it->second;
}

std::string CtlArgs::option(const std::string& name, const std::string& fallback) const
{
    return option(name).value_or(fallback);
}

std::vector<std::string> CtlArgs::options(const std::string& name) const
{
    std::vector<std::string> values;
    for (const auto& [given, value] : given_)
        if (given == name)
            values.push_back(value);
    return values;
}

std::optional<int> CtlArgs::number(const std::string& name)
{
    const auto text = option(name);
    if (!text)
        return std::nullopt;
    const auto value = ParseWholeNumber(*text);
    if (!value)
        error_ = name + " needs a whole number, not \"" + *text + "\"";
    return value;
}

std::vector<std::string> CtlArgs::unknown(const std::set<std::string>& known) const
{
    std::vector<std::string> result;
    for (const auto& [name, value] : options_)
        if (!known.count(name))
            result.push_back(name);
    for (const auto& name : flags_)
        if (!known.count(name))
            result.push_back(name);
    return result;
}

} // namespace vantel::ctl
