#include "cli/MqttCommands.h"

#include "cli/CtlArgs.h"
#include "logging/MqttTopics.h"
#include "logging/ReadingJson.h"
#include "panels/analog/AnalogOutputPanel.h"
#include "panels/digital/DigitalPanelBase.h"

#include <optional>

namespace vantel::ctl {
namespace {

struct Command {
    std::string unitLevel; // the unit's topic-safe name
    std::string channel;   // "DO1", "AO2"
};

std::optional<Command> CommandOf(const std::string& topic, const std::string& prefix)
{
    const std::string head = prefix + "/";
    if (topic.rfind(head, 0) != 0)
        return std::nullopt;
    const std::string rest = topic.substr(head.size());
    const auto set = rest.find("/set/");
    if (set == std::string::npos || set == 0)
        return std::nullopt;
    return Command{rest.substr(0, set), rest.substr(set + 5)};
}

// The channel's 0-based index when it is `kind` followed by 1, 2, ...
std::optional<int> IndexOf(const std::string& channel, const std::string& kind)
{
    if (channel.rfind(kind, 0) != 0)
        return std::nullopt;
    const auto number = ParseWholeNumber(channel.substr(kind.size()));
    if (!number || *number < 1)
        return std::nullopt;
    return *number - 1;
}

// What a panel does with one command; the refusal's reason, empty when done.
std::string Perform(PanelBase& panel, const std::string& channel, const std::string& value)
{
    if (auto* digital = dynamic_cast<DigitalPanelBase*>(&panel)) {
        const auto index = IndexOf(channel, "DO");
        if (!index)
            return "unknown channel";
        if (value != "1" && value != "0")
            return "a digital output takes 1 or 0";
        return digital->switchOutput(*index, value == "1");
    }
    if (auto* analog = dynamic_cast<AnalogOutputPanel*>(&panel)) {
        const auto index = IndexOf(channel, "AO");
        if (!index)
            return "unknown channel";
        if (!ParseDecimalNumber(value))
            return "an analog output takes a number";
        return analog->enterOutput(*index, value);
    }
    return "unknown channel";
}

std::string EventJson(const std::string& channel, const std::string& value, const std::string& refusal)
{
    std::string json = "{\"channel\":" + JsonString(channel) + ",\"value\":" + JsonString(value) + ",\"result\":";
    if (refusal.empty())
        return json + "\"done\"}";
    return json + "\"refused\",\"reason\":" + JsonString(refusal) + "}";
}

} // namespace

void MqttCommands::onMessage(const std::string& topic, const std::string& payload)
{
    const auto command = CommandOf(topic, publisher_.topics().prefix);
    if (!command)
        return;
    std::string unit;
    for (const UnitLogStatus& status : service_.status())
        if (TopicSafeName(status.name) == command->unitLevel)
            unit = status.name;
    if (unit.empty()) {
        publisher_.event(command->unitLevel, EventJson(command->channel, payload, "unknown unit"));
        return;
    }
    auto perform = [this, unit, channel = command->channel, payload](PanelBase& panel) {
        publisher_.event(unit, EventJson(channel, payload, Perform(panel, channel, payload)));
    };
    if (!service_.post(unit, std::move(perform)))
        publisher_.event(unit, EventJson(command->channel, payload, "the unit is in an outage"));
}

} // namespace vantel::ctl
