#pragma once

#include "platform/TcpSocket.h"
#include "search/DiscoveryTable.h"

namespace vantel {

// Asks a found unit for its model over TCP on its control port: first the
// two-byte query, then "MI" for units that did not answer it. Stores the
// model code in the entry (and the serial-line kind for an extended two-byte
// reply). False when the socket, the connect, a send or the reply fails.
bool QueryUnitModel(DiscoveryEntry& entry, Ipv4Address adapter);

} // namespace vantel
