#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vantel {

// The UDP datagrams of the unit search: two probes to everybody, then a
// detail query (and for one family a second one) to each unit that answered.

inline constexpr int kDiscoveryPort = 30718;

inline constexpr std::array<std::uint8_t, 4> kProbe1 = {0x00, 0x00, 0x00, 0xF6};
inline constexpr std::array<std::uint8_t, 2> kProbe2 = {0x4C, 0x4E}; // "LN"
inline constexpr std::array<std::uint8_t, 4> kDetailQuery = {0x00, 0x00, 0x00, 0xF8};
inline constexpr std::array<std::uint8_t, 4> kSecondDetailQuery = {0x00, 0x00, 0x00, 0xF4};

// How much of each answer is read; anything beyond is dropped.
inline constexpr std::size_t kProbeReplyLength = 30;
inline constexpr std::size_t kDetailReplyLength = 124;
inline constexpr std::size_t kSecondDetailReplyLength = 33;

// Kinds of found units. They decide the catalogue family a model code is
// looked up in and what the model column shows while the model is unknown.
namespace DiscoveryKind {
inline constexpr int Plain = 0;
inline constexpr int SerialLine = 1;    // "X6" without "GC", or an extended two-byte model reply
inline constexpr int GcCapable = 2;     // "X6" with "GC"
inline constexpr int GcLowModel = 3;    // GC unit whose model code is below 7
inline constexpr int GcHighModel = 4;   // GC unit whose model code is 16-23
inline constexpr int WiFi = 5;          // "_L"
inline constexpr int Lc = 6;            // "_W"
inline constexpr int FamilyB = 7;       // "_B", model code in the reply
inline constexpr int ThirdWireless = 8; // "_D", model code in the reply
} // namespace DiscoveryKind

inline constexpr int kUnknownModel = -1;

using MacAddress = std::array<std::uint8_t, 6>;

// What an accepted probe reply says about its unit.
struct ProbeReply {
    char family = 0;
    char subLetter = 0;
    int kind = DiscoveryKind::Plain;
    std::int32_t modelCode = kUnknownModel;
    // 0 when the detail reply has to tell it.
    int controlPort = 0;
    MacAddress mac{};
};

// The reply to a probe, or nothing when it is not one the search accepts
// (unknown family or sub-letter, model byte too small, too short to hold the
// MAC address). Reads only the bytes given.
std::optional<ProbeReply> ClassifyProbeReply(std::span<const std::uint8_t> reply);

// Whether a unit of this kind is asked for details; the "_W", "_B" and "_D"
// units are not, they use the default control port.
bool NeedsDetailQuery(int kind);

// Whether the unit gets the second detail query ("X6").
bool NeedsSecondDetailQuery(char family, char subLetter);

// Control port of a detail reply: bytes 72-73 for the serial line, 24-25
// otherwise, low byte first. Nothing when the reply is too short to hold it.
std::optional<int> DetailControlPort(std::span<const std::uint8_t> reply, int kind);

// Whether the zero-terminated text from byte 16 of the second detail reply
// contains "GC".
bool SecondDetailMentionsGc(std::span<const std::uint8_t> reply);

} // namespace vantel
