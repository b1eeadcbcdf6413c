#pragma once

#include "cli/MqttCommands.h"
#include "cli/MqttOptions.h"
#include "logging/MqttClient.h"
#include "logging/ReadingPublisher.h"

#include <chrono>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace vantel::ctl {

// A `log` run's connection to the broker: the readings, the units'
// availability and the run's status go there.
class MqttSession {
public:
    explicit MqttSession(const MqttOptions& options);

    static constexpr std::chrono::seconds kConnectTimeout{10};
    // How long the end of the run waits for the queue to be delivered.
    static constexpr std::chrono::seconds kDrainTimeout{5};

    // Before connect(), with --mqtt-commands: output commands from the
    // broker go to the panels of `service` (which must outlive the session's
    // connection, closed by finish()).
    void takeCommands(LogService& service);
    // Connects; false, having said why on `err`, when the broker cannot be
    // reached, refuses the login or its certificate does not verify.
    bool connect(std::ostream& err);
    ReadingPublisher& publisher() { return publisher_; }
    // "mqtt: N delivered, N waiting, N dropped (queue full)".
    std::string statusLine() const;
    // Once more dropped than last asked: the line that says so, else empty.
    std::string newDrops();
    // The units go "offline", the queue is delivered (for a while), then
    // the run's status goes "offline". Returns the line that tells what
    // could not be delivered, if anything.
    std::string finish(const std::vector<std::string>& unitNames);

private:
    const MqttOptions options_;
    MqttClient client_;
    ReadingPublisher publisher_;
    std::optional<MqttCommands> commands_; // set before connect(), read by the library's thread
    long dropsTold_ = 0;
};

} // namespace vantel::ctl
