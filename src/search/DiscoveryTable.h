#pragma once

#include "platform/UdpSocket.h"
#include "registry/UnitRecord.h"
#include "search/DiscoveryDatagrams.h"

#include <array>
#include <cstdint>
#include <string>

namespace vantel {

class UnitList;

// One unit found by the search.
struct DiscoveryEntry {
    DatagramAddress replyAddress; // where the probe reply came from; detail queries go here
    MacAddress mac{};
    std::string ipText; // dotted form of the reply address
    int controlPort = kDefaultControlPort;
    int secondPort = kDefaultSecondPort;
    char family = 0;
    char subLetter = 0;
    std::int32_t modelCode = kUnknownModel;
    int kind = DiscoveryKind::Plain;
    int connectTimeoutMs = 3000;
    bool registered = false;
};

// The units of the last search, in the order their replies arrived.
class DiscoveryTable {
public:
    static constexpr int kCapacity = 256;

    // Forgets every unit; new entries start with this connect time-out.
    void reset(int connectTimeoutMs);
    bool full() const { return count_ == kCapacity; }
    // Appends a unit from its probe reply; false when the table is full.
    bool append(const ProbeReply& reply, const DatagramAddress& from);
    // Whether a unit with this reply address and MAC address is already listed.
    bool contains(const DatagramAddress& from, const MacAddress& mac) const;
    // Drops entry `index`; the later ones move up.
    void remove(int index);

    int count() const { return count_; }
    const DiscoveryEntry& at(int index) const { return entries_.at(static_cast<std::size_t>(index)); }
    DiscoveryEntry& at(int index) { return entries_.at(static_cast<std::size_t>(index)); }

    // Marks the entries whose IP text is the host of a listed unit.
    void markRegistered(const UnitList& list);

private:
    std::array<DiscoveryEntry, kCapacity> entries_{};
    int count_ = 0;
    int connectTimeoutMs_ = 3000;
};

} // namespace vantel
