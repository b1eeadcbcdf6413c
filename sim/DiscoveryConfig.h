#pragma once

#include "DiscoveryResponder.h"

#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantel::sim {

// The discovery part of a simulator config:
//   `discovery [port=N]`   probe port on 127.0.0.1 (default 30718)
//   `found <family><sub-letter> [mac=AA-BB-CC-DD-EE-FF] [control=N] [model=N] [gc] [silent] [both]`
struct DiscoveryConfig {
    std::uint16_t probePort = 30718;
    std::vector<DiscoveryUnitConfig> units;
    bool enabled = false; // a `discovery` or `found` line was seen
};

// Parses one `found` line; throws ConfigError.
DiscoveryUnitConfig ParseFoundLine(std::string_view line);

// Takes the discovery lines out of a config file into `config` and returns the
// other lines, with blank lines in place of the taken ones so line numbers in
// later error messages still match the file. Throws ConfigError.
std::string TakeDiscoveryLines(std::istream& in, DiscoveryConfig& config);

// Starts a responder with the configured units; nullptr when none was asked for.
std::unique_ptr<DiscoveryResponder> StartResponder(const DiscoveryConfig& config);

} // namespace vantel::sim
