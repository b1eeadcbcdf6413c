#include "cli/MqttSession.h"

#include <ostream>

namespace vantel::ctl {

MqttSession::MqttSession(const MqttOptions& options)
    : options_(options), client_(options.connection), publisher_(client_, options.topics)
{
}

void MqttSession::takeCommands(LogService& service)
{
    if (!options_.commands)
        return;
    commands_.emplace(service, publisher_);
    client_.subscribe(options_.topics.commandFilter(), [this](const std::string& topic, const std::string& payload) {
        commands_->onMessage(topic, payload);
    });
}

bool MqttSession::connect(std::ostream& err)
{
    const std::string why = client_.connect(kConnectTimeout);
    if (why.empty())
        return true;
    const BrokerAddress& broker = options_.connection.broker;
    err << "MQTT: cannot connect to " << (broker.tls ? "mqtts://" : "mqtt://") << broker.host << ":" << broker.port
        << ": " << why << "\n";
    return false;
}

std::string MqttSession::statusLine() const
{
    return "mqtt: " + std::to_string(client_.acknowledged()) + " delivered, " + std::to_string(client_.waiting()) +
           " waiting, " + std::to_string(client_.dropped()) + " dropped (queue full)" +
           (client_.connected() ? "" : ", broker unreachable");
}

std::string MqttSession::newDrops()
{
    const long dropped = client_.dropped();
    if (dropped <= dropsTold_)
        return {};
    dropsTold_ = dropped;
    return "mqtt: queue full (" + std::to_string(options_.connection.queueLimit) +
           " messages): " + std::to_string(dropped) + " oldest dropped so far\n";
}

std::string MqttSession::finish(const std::vector<std::string>& unitNames)
{
    for (const std::string& unit : unitNames)
        publisher_.availability(unit, false);
    client_.close(kDrainTimeout);
    const std::size_t lost = client_.waiting();
    if (lost == 0)
        return {};
    return "mqtt: " + std::to_string(lost) + " messages not delivered: the broker did not take them in time\n";
}

} // namespace vantel::ctl
