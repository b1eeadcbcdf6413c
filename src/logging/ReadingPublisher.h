#pragma once

#include "logging/MqttClient.h"
#include "logging/MqttTopics.h"
#include "logging/Reading.h"

#include <string_view>

namespace vantel {

// The readings and the units' availability as MQTT messages: each reading
// as JSON on PREFIX/UNIT/reading and, retained, on PREFIX/UNIT/state (so a
// dashboard that subscribes gets the present values at once); "online" or
// "offline", retained, on PREFIX/UNIT/availability. Queues only: never
// waits for the broker.
class ReadingPublisher final : public ReadingSink {
public:
    ReadingPublisher(MqttClient& client, MqttTopics topics) : client_(client), topics_(std::move(topics)) {}

    void take(const Reading& reading) override;
    void availability(std::string_view unit, bool online);
    // A command's outcome on PREFIX/UNIT/event.
    void event(std::string_view unit, std::string json);

    const MqttTopics& topics() const { return topics_; }

private:
    MqttClient& client_;
    const MqttTopics topics_;
};

} // namespace vantel
