#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantel {

// A network adapter through which connections can go; sockets bind to its address.
struct Adapter {
    unsigned interfaceIndex = 0;
    std::string description;
    std::string friendlyName;
    std::uint32_t address = 0; // IPv4, network byte order
    std::uint32_t mask = 0;    // network byte order
};

// Interfaces that are up and running with a hardware address, one entry per
// IPv4 address other than 127.0.0.1. At most 256 entries.
std::vector<Adapter> ListAdapters();

// The entry the demo adds so it runs on any machine: 127.0.0.1 on "lo".
Adapter LoopbackAdapter();

// Dotted text of an address in network byte order.
std::string FormatIPv4(std::uint32_t networkOrder);

} // namespace vantel
