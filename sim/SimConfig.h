#pragma once

#include "SimUnit.h"

#include <functional>
#include <initializer_list>
#include <istream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vantel::sim {

class ConfigError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A number in decimal or 0x.. hex from `low` to `high`; throws ConfigError
// naming `what` otherwise.
long long ConfigNumber(std::string_view text, long long low, long long high, std::string_view what);

// Hands every line whose first word is one of `keywords` to `take` (with
// that word) and returns the other lines, with blank lines in place of the
// taken ones so line numbers in later error messages still match the file.
// A ConfigError thrown by `take` gets the line number put in front.
std::string TakeLines(std::istream& in, std::initializer_list<std::string_view> keywords,
                      const std::function<void(std::string_view keyword, std::string_view line)>& take);

// One line: `unit <row> [port=N] [second-port=N] [id=N] [model=N] [inputs=N] [fault=NAME]
// [delay=MS] [slow-connect=MS] [refuse] [stream=NAME] [every=MS]`. Throws ConfigError.
UnitConfig ParseUnitLine(std::string_view line);

// Every unit line of a file; blank lines and lines starting with '#' are
// skipped. Errors name the line number.
std::vector<UnitConfig> ParseConfig(std::istream& in);

// Starts one unit per config, in order; on failure the ones already started
// are stopped and the error is rethrown.
std::vector<std::unique_ptr<SimUnit>> StartUnits(const std::vector<UnitConfig>& configs);

} // namespace vantel::sim
