#pragma once

#include <string>
#include <string_view>

namespace vantel {

// A unit's name as one level of an MQTT topic. UTF-8 is kept as it is, so
// Japanese names stay readable; what MQTT gives a meaning to is replaced by
// "_": the level separator "/", the wildcards "+" and "#", the control
// characters (below U+0020 and U+007F), and a "$" at the start (topics of
// the broker's own). An empty name becomes "_".
std::string TopicSafeName(std::string_view unitName);

// The topics of one run under its prefix ("vantel/<host name>" by default).
struct MqttTopics {
    std::string prefix;

    std::string status() const { return prefix + "/status"; }
    std::string reading(std::string_view unit) const { return unitLevel(unit) + "/reading"; }
    std::string state(std::string_view unit) const { return unitLevel(unit) + "/state"; }
    std::string availability(std::string_view unit) const { return unitLevel(unit) + "/availability"; }
    std::string event(std::string_view unit) const { return unitLevel(unit) + "/event"; }
    // Every command of the run: PREFIX/UNIT/set/CHANNEL.
    std::string commandFilter() const { return prefix + "/+/set/+"; }

private:
    std::string unitLevel(std::string_view unit) const { return prefix + "/" + TopicSafeName(unit); }
};

} // namespace vantel
