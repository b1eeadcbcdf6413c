#pragma once

#include "SimUnit.h"

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

// One line: `unit <row> [port=N] [second-port=N] [id=N] [model=N] [inputs=N] [fault=NAME]
// [delay=MS] [slow-connect=MS] [refuse]`. Throws ConfigError.
UnitConfig ParseUnitLine(std::string_view line);

// Every unit line of a file; blank lines and lines starting with '#' are
// skipped. Errors name the line number.
std::vector<UnitConfig> ParseConfig(std::istream& in);

// Starts one unit per config, in order; on failure the ones already started
// are stopped and the error is rethrown.
std::vector<std::unique_ptr<SimUnit>> StartUnits(const std::vector<UnitConfig>& configs);

} // namespace vantel::sim
