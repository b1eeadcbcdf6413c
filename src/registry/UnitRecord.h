#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vantel {

inline constexpr int kChannelsPerSide = 8;
inline constexpr int kDefaultControlPort = 10003;
inline constexpr int kDefaultSecondPort = 30704;

// Byte limits in the file code page.
inline constexpr std::size_t kMaxNameBytes = 128;
inline constexpr std::size_t kMaxHostBytes = 128;
inline constexpr std::size_t kMaxSignalNameBytes = 20;
inline constexpr std::size_t kMaxUnitTextBytes = 31;

// Connection kinds of gateway units.
inline constexpr int kConnectionUsb = 0;
inline constexpr int kConnectionLan = 1;

// Identity of a record that survives deletes and moves of other records, so a
// panel can always find its own unit again.
using UnitId = std::uint64_t;

// Linear formula of one analog channel: gain x engineering value + offset.
struct ChannelFormula {
    double gain = 1.0;
    double offset = 0.0;
    std::string unit; // user unit text, at most 31 bytes
};

// How a unit is reached and what it is: the values the unit dialog edits.
struct UnitConnection {
    std::string name;
    std::string host;
    int controlPort = kDefaultControlPort;
    int secondPort = kDefaultSecondPort;
    int connectionKind = kConnectionUsb;
    int comPort = 1;
    int node = 0;
    int replyTimeout = 10; // seconds
    int modelRow = 0;
};

// Something open for a unit (a panel) that the main window can reach.
class UnitPanel {
public:
    virtual ~UnitPanel() = default;
    virtual void requestClose() = 0;
    virtual void setLoggingEnabled(bool enabled) = 0;
};

struct UnitRecord : UnitConnection {
    UnitId id = 0;
    std::string logName; // derived from the name

    std::array<std::string, kChannelsPerSide> outputNames;
    std::array<std::string, kChannelsPerSide> inputNames;
    std::array<ChannelFormula, kChannelsPerSide> outputFormulas;
    std::array<ChannelFormula, kChannelsPerSide> inputFormulas;

    int windowLeft = -1; // negative: no position stored
    int windowTop = -1;

    // Graph display range per analog row; not saved. max <= min means "default range".
    std::array<double, kChannelsPerSide> graphMin{1, 1, 1, 1, 1, 1, 1, 1};
    std::array<double, kChannelsPerSide> graphMax{};

    // Runtime only.
    bool panelOpen = false;
    UnitPanel* panel = nullptr;
};

} // namespace vantel
