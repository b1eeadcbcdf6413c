#include "ConfigFile.h"

#include <sstream>

namespace vantel::sim {

ConfigFile ReadConfigFile(std::istream& in)
{
    ConfigFile file;
    std::istringstream withoutDiscovery(TakeDiscoveryLines(in, file.discovery));
    std::istringstream unitLines(TakeGatewayLines(withoutDiscovery, file.gateways));
    file.units = ParseConfig(unitLines);
    return file;
}

} // namespace vantel::sim
