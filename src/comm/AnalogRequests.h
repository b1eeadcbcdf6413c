#pragma once

#include <functional>
#include <variant>

// Requests served by the worker of an analog unit channel. Each request holds
// its own arguments and its callback; the callback's closure carries the
// context (the posting panel). Callbacks run on the worker thread while the
// channel is locked. When the exchange fails, a callback gets −1 in its value
// arguments (the channel-number argument keeps the request's channel where
// noted); the all-inputs read reports 0x12345678 followed by four −1.
namespace vantel::analog {

inline constexpr int kFailed = -1;
inline constexpr int kAllInputsFailed = 0x12345678;

struct ReadDigitalInputs {
    static constexpr int kId = 0x8001;
    int extra = 0;                                   // handed back untouched
    std::function<void(int inputs, int extra)> done; // failure: (−1, −1)
};

struct WriteDigitalOutputs {
    static constexpr int kId = 0x8002;
    int outputs = 0;
    std::function<void(int outputs)> done; // failure: (−1)
};

struct ReadDigitalOutputs {
    static constexpr int kId = 0x8003;
    std::function<void(int outputs)> done; // failure: (−1)
};

struct ReadInput {
    static constexpr int kId = 0x8004;
    int channel = 0;
    std::function<void(int channel, int reading)> done; // failure: (channel, −1)
};

struct ReadAllInputs {
    static constexpr int kId = 0x8005;
    int inputCount = 0;
    // Readings beyond the input count are 0. Failure: (0x12345678, −1, −1, −1, −1).
    std::function<void(int r0, int r1, int r2, int r3, int r4)> done;
};

struct SetOutput {
    static constexpr int kId = 0x8006;
    int channel = 0;
    int mode = 0; // 1 = current
    int raw = 0;
    std::function<void(int channel, int raw, int zero)> done; // failure: (channel, −1, −1)
};

struct ReadOutput {
    static constexpr int kId = 0x8007;
    int channel = 0;
    std::function<void(int channel, int mode, int raw)> done; // failure: (channel, −1, −1)
};

struct ReadRange {
    static constexpr int kId = 0x8008;
    int channel = 0;
    std::function<void(int channel, int range, int secondCode)> done; // failure: (channel, −1, −1)
};

struct ReadConfigByte {
    static constexpr int kId = 0x8009;
    std::function<void(int value)> done; // failure: (−1)
};

struct SetRange {
    static constexpr int kId = 0x800A;
    int channel = 0;
    int range = 0;
    std::function<void(int channel, int range)> done; // failure: (channel, −1)
};

struct SetSampleRate {
    static constexpr int kId = 0x800B;
    int rateIndex = 0;
    std::function<void(int rateIndex)> done; // failure: (−1)
};

struct ReadThresholds {
    static constexpr int kId = 0x800C;
    int channel = 0;
    // Failure: (−1, −1, −1, −1, −1).
    std::function<void(int channel, int ledWhenOutside, int mode, int lowRaw, int highRaw)> done;
};

struct SetThresholds {
    static constexpr int kId = 0x800D;
    int channel = 0;
    int ledWhenOutside = 0;
    int mode = 0;
    int highRaw = 0;
    int lowRaw = 0;
    std::function<void(int channel, int ledWhenOutside, int highRaw, int lowRaw)>
        done; // failure: (channel, −1, −1, −1)
};

struct ReadModel {
    static constexpr int kId = 0x800E;
    std::function<void(int unitId, int modelCode)> done; // failure: (−1, −1)
};

struct SetThermocouple {
    static constexpr int kId = 0x800F;
    int channel = 0;
    int type = 0;
    int setting = 0;
    std::function<void(int channel, int type, int setting)> done; // failure: (−1, −1, −1)
};

struct ReadThermocouple {
    static constexpr int kId = 0x8010;
    int channel = 0;
    std::function<void(int channel, int type, int setting)> done; // failure: (channel, −1, −1)
};

struct ReadOutputAlert {
    static constexpr int kId = 0x8011;
    int channel = 0;
    // Failure: (channel, −1, −1, −1, −1).
    std::function<void(int channel, int firstSetting, int secondSetting, int alertRaw, int statusBit)> done;
};

struct SetOutputAlert {
    static constexpr int kId = 0x8012;
    int channel = 0;
    int firstSetting = 0;
    int alertRaw = 0;
    int secondSetting = 0;
    // Failure: (channel, −1, −1, −1).
    std::function<void(int channel, int firstSetting, int alertRaw, int secondSetting)> done;
};

struct SwitchOutput {
    static constexpr int kId = 0x8013;
    int channel = 0;
    int state = 0;
    std::function<void(int channel, int state, int outputs)> done; // failure: (channel, −1, −1)
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
