#include "platform/Adapters.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <set>

namespace vantel {
namespace {

constexpr std::size_t kMaxAdapters = 256;

// Names of interfaces that are up, running and have a hardware address.
std::set<std::string> usableInterfaces(const ifaddrs* list)
{
    std::set<std::string> names;
    for (const ifaddrs* it = list; it; it = it->ifa_next) {
        if (!it->ifa_addr || it->ifa_addr->sa_family != AF_PACKET)
            continue;
        const auto* link = reinterpret_cast<const sockaddr_ll*>(it->ifa_addr);
        const bool upAndRunning = (it->ifa_flags & IFF_UP) && (it->ifa_flags & IFF_RUNNING);
        if (upAndRunning && link->sll_halen > 0)
            names.insert(it->ifa_name);
    }
    return names;
}

} // namespace

std::vector<Adapter> ListAdapters()
{
    std::vector<Adapter> adapters;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return adapters;
    const std::set<std::string> usable = usableInterfaces(list);
    for (const ifaddrs* it = list; it && adapters.size() < kMaxAdapters; it = it->ifa_next) {
        if (!it->ifa_addr || it->ifa_addr->sa_family != AF_INET || !usable.count(it->ifa_name))
            continue;
        const auto address = reinterpret_cast<const sockaddr_in*>(it->ifa_addr)->sin_addr.s_addr;
        if (address == htonl(INADDR_LOOPBACK))
            continue;
        Adapter adapter;
        adapter.interfaceIndex = ::if_nametoindex(it->ifa_name);
        adapter.description = it->ifa_name;
        adapter.friendlyName = it->ifa_name;
        adapter.address = address;
        adapter.mask = it->ifa_netmask ? reinterpret_cast<const sockaddr_in*>(it->ifa_netmask)->sin_addr.s_addr : 0;
        adapters.push_back(adapter);
    }
    ::freeifaddrs(list);
    return adapters;
}

Adapter LoopbackAdapter()
{
    Adapter adapter;
    adapter.interfaceIndex = ::if_nametoindex("lo");
    adapter.description = "lo";
    adapter.friendlyName = "lo";
    adapter.address = htonl(INADDR_LOOPBACK);
    adapter.mask = htonl(0xFF000000u);
    return adapter;
}

std::string FormatIPv4(std::uint32_t networkOrder)
{
    char text[INET_ADDRSTRLEN] = {};
    in_addr addr{};
    addr.s_addr = networkOrder;
    ::inet_ntop(AF_INET, &addr, text, sizeof text);
    return text;
}

} // namespace vantel
