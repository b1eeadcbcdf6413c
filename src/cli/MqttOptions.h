#pragma once

#include "cli/CtlArgs.h"
#include "logging/MqttClient.h"
#include "logging/MqttTopics.h"

#include <iosfwd>
#include <optional>
#include <set>
#include <string>

namespace vantel::ctl {

// The --mqtt* options of `log`.
inline const std::set<std::string> kMqttOptions = {"--mqtt",    "--mqtt-topic", "--mqtt-queue", "--mqtt-user",
                                                   "--mqtt-ca", "--mqtt-cert",  "--mqtt-key",   "--mqtt-password-file"};
inline constexpr const char* kMqttCommandsFlag = "--mqtt-commands";
// The password comes from here or from --mqtt-password-file, never from the
// command line, where any user's `ps` shows it.
inline constexpr const char* kMqttPasswordVariable = "VANTEL_MQTT_PASSWORD";

struct MqttOptions {
    MqttSettings connection;
    MqttTopics topics;
    bool commands = false;
};

// What the --mqtt* options ask for: nullopt when --mqtt is absent; sets
// `bad` (having said why on `err`) when they cannot be used.
std::optional<MqttOptions> ReadMqttOptions(const CtlArgs& args, std::ostream& err, bool& bad);

} // namespace vantel::ctl
