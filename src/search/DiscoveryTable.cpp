#include "search/DiscoveryTable.h"

#include "platform/Adapters.h"
#include "registry/UnitList.h"

#include <algorithm>

namespace vantel {

void DiscoveryTable::reset(int connectTimeoutMs)
{
    connectTimeoutMs_ = connectTimeoutMs;
    entries_.fill(DiscoveryEntry{});
    for (DiscoveryEntry& entry : entries_)
        entry.connectTimeoutMs = connectTimeoutMs;
    count_ = 0;
}

bool DiscoveryTable::append(const ProbeReply& reply, const DatagramAddress& from)
{
    if (full())
        return false;
    DiscoveryEntry& entry = entries_[static_cast<std::size_t>(count_++)];
    entry = DiscoveryEntry{};
    entry.connectTimeoutMs = connectTimeoutMs_;
    entry.replyAddress = from;
    entry.ipText = FormatIPv4(from.address);
    entry.mac = reply.mac;
    entry.family = reply.family;
    entry.subLetter = reply.subLetter;
    entry.kind = reply.kind;
    entry.modelCode = reply.modelCode;
    if (reply.controlPort != 0)
        entry.controlPort = reply.controlPort;
    return true;
}

bool DiscoveryTable::contains(const DatagramAddress& from, const MacAddress& mac) const
{
    const auto end = entries_.begin() + count_;
    return std::any_of(entries_.begin(), end,
                       [&](const DiscoveryEntry& entry) { return entry.replyAddress == from && entry.mac == mac; });
}

void DiscoveryTable::remove(int index)
{
    if (index < 0 || index >= count_)
        return;
    std::move(entries_.begin() + index + 1, entries_.begin() + count_, entries_.begin() + index);
    --count_;
    entries_[static_cast<std::size_t>(count_)] = DiscoveryEntry{};
    entries_[static_cast<std::size_t>(count_)].connectTimeoutMs = connectTimeoutMs_;
}

void DiscoveryTable::markRegistered(const UnitList& list)
{
    for (int i = 0; i < count_; ++i) {
        DiscoveryEntry& entry = entries_[static_cast<std::size_t>(i)];
        for (int u = 0; u < list.count() && !entry.registered; ++u)
            entry.registered = list.at(u).host == entry.ipText;
    }
}

} // namespace vantel
