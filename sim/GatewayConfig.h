#pragma once

#include "SimGateway.h"

#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantel::sim {

// The gateway part of a simulator config:
//   `gateway [port=N] [pty=PATH] [no-tcp] [status=MS]`
//   `node <number> <row> [id=N] [model=N] [inputs=N] [silent]`
// Node lines belong to the gateway line above them.
// Throws ConfigError.
GatewayConfig ParseGatewayLine(std::string_view line);
GatewayNodeConfig ParseNodeLine(std::string_view line);

// Takes the gateway and node lines out of a config file into `gateways`
// and returns the other lines, as TakeLines() does. Throws ConfigError.
std::string TakeGatewayLines(std::istream& in, std::vector<GatewayConfig>& gateways);

std::vector<std::unique_ptr<SimGateway>> StartGateways(const std::vector<GatewayConfig>& configs);

} // namespace vantel::sim
