#pragma once

#include "comm/protocol/ReplyShape.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantel::ascii {

// Parsers of the ASCII dialect's replies. Each takes the bytes that arrived
// for one reply (terminator included, node prefix already removed) and
// returns nothing unless the reply has the right echo letters, the right
// length for its layout, valid hex digits and the terminator at its end.
// They never read outside the given bytes.

struct ChannelReading {
    int channel = 0;
    std::int32_t raw = 0; // 24-bit reading, sign-extended
};

struct OutputSetting {
    int channel = 0;
    int mode = 0; // 1 = current, 0 = voltage
    int raw = 0;  // 16-bit set value as sent (0-0xFFFF)
};

struct RangeSetting {
    int channel = 0;
    int range = 0;
    int secondCode = 0;
};

struct ThresholdBlock {
    bool ledWhenOutside = false;
    int mode = 0;
    int lowRaw = 0; // 0-0xFFFF
    int highRaw = 0;
};

struct ChannelThresholds {
    int channel = 0;
    ThresholdBlock block;
};

struct ThermocoupleBlock {
    int type = 0;
    int setting = 0;
    std::string extra; // the nine further bytes, kept as the unit sent them
};

struct ChannelThermocouple {
    int channel = 0;
    int type = 0;
    int setting = 0;
};

struct OutputAlert {
    int channel = 0;
    int firstSetting = 0;
    int secondSetting = 0;
    int statusBit = 0;
    int alertRaw = 0; // 0-0xFFFF
};

struct SwitchedOutput {
    int channel = 0;
    int state = 0;
    int outputBits = 0;
};

struct UnitIdentity {
    int unitId = 0;
    int modelCode = 0;
    bool operator==(const UnitIdentity&) const = default;
};

struct MemoryBytes {
    int address = 0;
    std::vector<std::uint8_t> bytes;
};

struct OneShotValue {
    int output = 0;
    int value = 0;
};

std::optional<ChannelReading> ParseAI(std::string_view reply);
// Readings of every input; the count follows from the reply's length.
std::optional<std::vector<std::int32_t>> ParseAIAll(std::string_view reply);
std::optional<OutputSetting> ParseAY(std::string_view reply);
std::optional<RangeSetting> ParseAJ(std::string_view reply);
// Echo of AR: the channel and its new range.
std::optional<RangeSetting> ParseAR(std::string_view reply);
std::optional<ChannelThresholds> ParseAK(std::string_view reply);
std::optional<std::vector<ThresholdBlock>> ParseAKAll(std::string_view reply);
// Echo of AL; same layout as a one-channel AK reply.
std::optional<ChannelThresholds> ParseAL(std::string_view reply);
std::optional<ChannelThermocouple> ParseTJ(std::string_view reply);
std::optional<std::vector<ThermocoupleBlock>> ParseTJAll(std::string_view reply);
std::optional<ChannelThermocouple> ParseTC(std::string_view reply);

// DY and DI: on the analog channel a 5-byte reply with two groups; on the
// digital channel and the gateway any number of groups, group k giving bits
// 4k..4k+3.
std::optional<int> ParseDY(std::string_view reply, ChannelKind kind);
std::optional<int> ParseDI(std::string_view reply, ChannelKind kind);
// Resulting output states after DK, one group per group sent.
std::optional<int> ParseDK(std::string_view reply);
// The "ds" acknowledgement followed by the DY reply.
std::optional<SwitchedOutput> ParseDS(std::string_view reply);
std::optional<OutputAlert> ParseDJ(std::string_view reply);
// Echo of DL; the status bit is not part of it and stays 0.
std::optional<OutputAlert> ParseDL(std::string_view reply);
std::optional<OneShotValue> ParseNJ(std::string_view reply);

// MI; with `extendModelCode` a model code of 15 is replaced by the code in the
// optional fourth field plus 0x10 (digital channel, rows outside the gateway line).
std::optional<UnitIdentity> ParseMI(std::string_view reply, bool extendModelCode);
// Length of a whole MI reply judged from its first five bytes: one byte more
// when the model code field announces the extended code.
std::size_t MIReplyLength(std::string_view firstBytes);
std::optional<UnitIdentity> ParseMD(std::string_view reply);
std::optional<UnitIdentity> ParseSN(std::string_view reply);
std::optional<MemoryBytes> ParseMR(std::string_view reply);

// Whether a reply starts with the lower-case echo of a command's letters.
bool EchoesCommand(std::string_view reply, std::string_view command);

} // namespace vantel::ascii
