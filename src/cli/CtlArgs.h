#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vantel::ctl {

// Arguments of one vantelctl command: positional words, "--name value"
// options and bare "--flag" switches.
class CtlArgs {
public:
    // `flags` names the switches that take no value.
    CtlArgs(const std::vector<std::string>& args, const std::set<std::string>& flags);

    const std::vector<std::string>& positional() const { return positional_; }
    std::optional<std::string> option(const std::string& name) const;
    std::string option(const std::string& name, const std::string& fallback) const;
    // Every value of an option that may be given several times, in order.
    std::vector<std::string> options(const std::string& name) const;
    // The option as a whole decimal number; nullopt when absent; error() is set when malformed.
    std::optional<int> number(const std::string& name);
    bool flag(const std::string& name) const { return flags_.count(name) != 0; }
    // Options given that the command does not know.
    std::vector<std::string> unknown(const std::set<std::string>& known) const;
    const std::string& error() const { return error_; }

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> options_; // the last value of each
    std::vector<std::pair<std::string, std::string>> given_;
    std::set<std::string> flags_;
    std::string error_;
};

// Decimal integer filling the whole text, or nullopt.
std::optional<int> ParseWholeNumber(const std::string& text);

// Finite decimal number filling the whole text ("2.5", "-1e-3"), read the same
// under every locale, or nullopt.
std::optional<double> ParseDecimalNumber(const std::string& text);

} // namespace vantel::ctl
