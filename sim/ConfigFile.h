#pragma once

#include "DiscoveryConfig.h"
#include "GatewayConfig.h"
#include "SimConfig.h"

#include <istream>
#include <vector>

namespace vantel::sim {

// Everything an `orvex-sim --config` file asks for: unit, discovery and
// gateway lines in any order. Throws ConfigError naming the line.
struct ConfigFile {
    std::vector<UnitConfig> units;
    DiscoveryConfig discovery;
    std::vector<GatewayConfig> gateways;
};

ConfigFile ReadConfigFile(std::istream& in);

} // namespace vantel::sim
