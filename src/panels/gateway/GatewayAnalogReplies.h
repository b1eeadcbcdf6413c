#pragma once

#include "comm/worker/AnalogRequests.h"

#include <string_view>
#include <vector>

namespace vantel {

// Replies of the analog units behind the gateway, which read every channel
// at once (selector 7) or one.

struct RowThresholds {
    int channel = 0;
    analog::Thresholds thresholds;
};
struct RowThermocouple {
    int channel = 0;
    analog::Thermocouple thermocouple;
};

// Whether the reply answers a command for every channel.
bool AnswersAllChannels(std::string_view payload);

// "ak" (every channel, or one) and "al": the thresholds per channel below
// `channels`; nothing for a reply of the wrong shape.
std::vector<RowThresholds> ThresholdsInReply(std::string_view payload, int channels);
// "tj" (every channel, or one) and "tc": the same for thermocouple settings.
std::vector<RowThermocouple> ThermocouplesInReply(std::string_view payload, int channels);

} // namespace vantel
