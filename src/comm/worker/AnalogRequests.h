#pragma once

#include "comm/protocol/AsciiReplies.h"

#include <array>
#include <functional>
#include <optional>
#include <variant>

// Requests served by the worker of an analog unit channel. Each request holds
// its own arguments and its callback; the callback's closure carries the
// context (the posting panel). Callbacks run on the worker thread while the
// channel is locked. A callback gets its reply, or std::nullopt when the
// exchange failed; requests for one channel hand that channel back either way.
namespace vantel::analog {

// Readings of one all-inputs read; those beyond the input count are 0.
inline constexpr std::size_t kReadingsPerRead = 5;
using InputReadings = std::array<int, kReadingsPerRead>;

struct OutputSetting {
    int mode = 0; // 1 = current
    int raw = 0;  // 16-bit set value as the unit sent it
    bool operator==(const OutputSetting&) const = default;
};

struct RangeSetting {
    int range = 0;
    int secondCode = 0;
    bool operator==(const RangeSetting&) const = default;
};

struct Thresholds {
    int ledWhenOutside = 0;
    int mode = 0;
    int lowRaw = 0;
    int highRaw = 0;
    bool operator==(const Thresholds&) const = default;
};

// The thresholds of one block of an "ak" or "al" reply.
inline Thresholds ThresholdsOf(const ascii::ThresholdBlock& block)
{
    return {block.ledWhenOutside ? 1 : 0, block.mode, block.lowRaw, block.highRaw};
}

struct Thermocouple {
    int type = 0;
    int setting = 0;
    bool operator==(const Thermocouple&) const = default;
};

struct OutputAlertSettings {
    int firstSetting = 0;
    int secondSetting = 0;
    int alertRaw = 0;
    bool operator==(const OutputAlertSettings&) const = default;
};

struct OutputAlertState {
    OutputAlertSettings settings;
    int statusBit = 0;
    bool operator==(const OutputAlertState&) const = default;
};

struct SwitchedOutput {
    int state = 0;
    int outputs = 0;
    bool operator==(const SwitchedOutput&) const = default;
};

struct ReadDigitalInputs {
    static constexpr int kId = 0x8001;
    int extra = 0; // handed back untouched
    std::function<void(std::optional<int> inputs, int extra)> done;
};

struct WriteDigitalOutputs {
    static constexpr int kId = 0x8002;
    int outputs = 0;
    std::function<void(std::optional<int> outputs)> done;
};

struct ReadDigitalOutputs {
    static constexpr int kId = 0x8003;
    std::function<void(std::optional<int> outputs)> done;
};

struct ReadInput {
    static constexpr int kId = 0x8004;
    int channel = 0;
    std::function<void(int channel, std::optional<int> reading)> done; // 24-bit, sign-extended
};

struct ReadAllInputs {
    static constexpr int kId = 0x8005;
    int inputCount = 0;
    std::function<void(std::optional<InputReadings> readings)> done; // 24-bit, sign-extended
};

struct SetOutput {
    static constexpr int kId = 0x8006;
    int channel = 0;
    int mode = 0; // 1 = current
    int raw = 0;
    std::function<void(int channel, std::optional<int> raw)> done;
};

struct ReadOutput {
    static constexpr int kId = 0x8007;
    int channel = 0;
    std::function<void(int channel, std::optional<OutputSetting> setting)> done;
};

struct ReadRange {
    static constexpr int kId = 0x8008;
    int channel = 0;
    std::function<void(int channel, std::optional<RangeSetting> setting)> done;
};

struct ReadConfigByte {
    static constexpr int kId = 0x8009;
    std::function<void(std::optional<int> value)> done; // 0-255
};

struct SetRange {
    static constexpr int kId = 0x800A;
    int channel = 0;
    int range = 0;
    std::function<void(int channel, std::optional<int> range)> done;
};

struct SetSampleRate {
    static constexpr int kId = 0x800B;
    int rateIndex = 0;
    std::function<void(std::optional<int> rateIndex)> done;
};

struct ReadThresholds {
    static constexpr int kId = 0x800C;
    int channel = 0;
    std::function<void(int channel, std::optional<Thresholds> thresholds)> done;
};

struct SetThresholds {
    static constexpr int kId = 0x800D;
    int channel = 0;
    int ledWhenOutside = 0;
    int mode = 0;
    int highRaw = 0;
    int lowRaw = 0;
    // The thresholds now in force, with the mode that was sent.
    std::function<void(int channel, std::optional<Thresholds> thresholds)> done;
};

struct ReadModel {
    static constexpr int kId = 0x800E;
    std::function<void(std::optional<ascii::UnitIdentity> identity)> done;
};

struct SetThermocouple {
    static constexpr int kId = 0x800F;
    int channel = 0;
    int type = 0;
    int setting = 0;
    std::function<void(int channel, std::optional<Thermocouple> settings)> done;
};

struct ReadThermocouple {
    static constexpr int kId = 0x8010;
    int channel = 0;
    std::function<void(int channel, std::optional<Thermocouple> settings)> done;
};

struct ReadOutputAlert {
    static constexpr int kId = 0x8011;
    int channel = 0;
    std::function<void(int channel, std::optional<OutputAlertState> alert)> done;
};

struct SetOutputAlert {
    static constexpr int kId = 0x8012;
    int channel = 0;
    int firstSetting = 0;
    int alertRaw = 0;
    int secondSetting = 0;
    std::function<void(int channel, std::optional<OutputAlertSettings> settings)> done;
};

struct SwitchOutput {
    static constexpr int kId = 0x8013;
    int channel = 0;
    int state = 0;
    std::function<void(int channel, std::optional<SwitchedOutput> switched)> done;
};

using Request =
    std::variant<ReadDigitalInputs, WriteDigitalOutputs, ReadDigitalOutputs, ReadInput, ReadAllInputs, SetOutput,
                 ReadOutput, ReadRange, ReadConfigByte, SetRange, SetSampleRate, ReadThresholds, SetThresholds,
                 ReadModel, SetThermocouple, ReadThermocouple, ReadOutputAlert, SetOutputAlert, SwitchOutput>;

inline int MessageId(const Request& request)
{
    return std::visit([](const auto& r) { return r.kId; }, request);
}

} // namespace vantel::analog
