#pragma once

#include "comm/protocol/ReplyShape.h"

namespace vantel::ascii {

// Builders of the ASCII dialect. Each returns the command bytes, terminator
// included and without any node prefix (the gateway link adds that), and the
// reply shape a unit channel reads. Channel, selector, range and other small
// arguments travel as one byte (value + 0x20, four bits); 16-bit values as
// four upper-case hex digits of their low 16 bits.

// Selector standing in for a channel number to address every channel at once.
inline constexpr int kAllChannels = 7;

// Unit memory addresses the panels read with MR, and the byte count of each.
inline constexpr int kMemoryConfigByte = 0x0491;   // one configuration byte
inline constexpr int kMemoryInputRanges = 0x1004;  // a byte, then one range per analog input
inline constexpr int kMemoryOutputConfig = 0x0D08; // one byte per digital output
inline constexpr int kMemoryConfigByteCount = 1;
inline constexpr int kMemoryInputRangesCount = 4;
inline constexpr int kMemoryOutputConfigCount = 8;

// Analog inputs.
Request AI(int channel);
// Every input at once; the analog channel reads 6 bytes per input plus 4.
Request AIAll(int inputCount, ChannelKind kind);
Request AJ(int channel);
Request AR(int channel, int range);
Request AP(int rateIndex);
Request AK(int channel);
// Every input's thresholds at once: 9 bytes per input plus 4.
Request AKAll(int inputCount, ChannelKind kind);
// Thresholds are raw 16-bit counts; the low one goes first on the wire.
Request AL(int channel, bool ledWhenOutside, int mode, int lowRaw, int highRaw);
Request TJ(int channel);
// Every input's thermocouple settings: 11 bytes per input plus 4.
Request TJAll(int inputCount, ChannelKind kind);
Request TC(int channel, int type, int setting);

// Analog outputs; mode 1 is current (0-20 mA), anything else voltage.
Request AO(int channel, int mode, int rawValue);
Request AY(int channel);

// Digital outputs and inputs. On the analog channel DO always carries two
// groups; `groups` is used on the digital channel and the gateway.
Request DO(ChannelKind kind, int outputBits, int groups);
// Per group: the wanted states, then the mask of outputs to change.
Request DK(int states, int mask, int groups);
Request DY(ChannelKind kind);
Request DI(ChannelKind kind);
// Switch one output and read every output back in the same exchange.
Request DS(int channel, int state);
Request DJ(int channel);
Request DL(int channel, int firstSetting, int secondSetting, int alertRaw);
Request NJ(int output);

// Identity and memory.
Request MI(ChannelKind kind);
Request MD();
Request SN();
Request MR(int address, int byteCount);

} // namespace vantel::ascii
