#include "comm/CAnalogChannel.h"

namespace vantel {

int CAnalogChannel::connect(const std::string& host, int port, Ipv4Address bindAddress)
{
    return open(UnitAddress{host, port, bindAddress});
}

} // namespace vantel
