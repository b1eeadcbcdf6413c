#include "cli/MqttOptions.h"

#include "platform/HostName.h"

#include <cstdlib>
#include <fstream>
#include <ostream>

namespace vantel::ctl {
namespace {

// The first line of the file, without its line end.
std::optional<std::string> PasswordFrom(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        return std::nullopt;
    std::string line;
    std::getline(file, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

bool ValidPrefix(const std::string& prefix)
{
    return !prefix.empty() && prefix.find_first_of("+#") == std::string::npos && prefix.back() != '/';
}

} // namespace

std::optional<MqttOptions> ReadMqttOptions(const CtlArgs& args, std::ostream& err, bool& bad)
{
    const auto url = args.option("--mqtt");
    if (!url) {
        for (const std::string& option : kMqttOptions)
            if (args.option(option)) {
                err << option << " needs --mqtt\n";
                bad = true;
                return std::nullopt;
            }
        if (args.flag(kMqttCommandsFlag)) {
            err << kMqttCommandsFlag << " needs --mqtt\n";
            bad = true;
        }
        return std::nullopt;
    }
    std::string why;
    const auto broker = ParseBrokerUrl(*url, why);
    if (!broker) {
        err << why << "\n";
        bad = true;
        return std::nullopt;
    }
    MqttOptions options;
    options.connection.broker = *broker;
    options.topics.prefix = args.option("--mqtt-topic", "vantel/" + TopicSafeName(HostName()));
    if (!ValidPrefix(options.topics.prefix)) {
        err << "--mqtt-topic needs a topic without + or # and without a / at the end\n";
        bad = true;
        return std::nullopt;
    }
    options.connection.clientId = "vantelctl:" + options.topics.prefix;
    options.connection.statusTopic = options.topics.status();
    if (const auto queue = args.option("--mqtt-queue")) {
        const auto limit = ParseWholeNumber(*queue);
        if (!limit || *limit < 1) {
            err << "--mqtt-queue needs a number of messages above 0\n";
            bad = true;
            return std::nullopt;
        }
        options.connection.queueLimit = static_cast<std::size_t>(*limit);
    }
    options.connection.user = args.option("--mqtt-user", "");
    if (const auto file = args.option("--mqtt-password-file")) {
        options.connection.password = PasswordFrom(*file);
        if (!options.connection.password) {
            err << "cannot read the MQTT password file " << *file << "\n";
            bad = true;
            return std::nullopt;
        }
    } else if (const char* password = std::getenv(kMqttPasswordVariable)) {
        options.connection.password = password;
    }
    options.connection.caFile = args.option("--mqtt-ca", "");
    options.connection.certFile = args.option("--mqtt-cert", "");
    options.connection.keyFile = args.option("--mqtt-key", "");
    const bool tlsFiles = !options.connection.caFile.empty() || !options.connection.certFile.empty();
    if (tlsFiles && !broker->tls) {
        err << "--mqtt-ca and --mqtt-cert need an mqtts:// broker\n";
        bad = true;
        return std::nullopt;
    }
    options.commands = args.flag(kMqttCommandsFlag);
    return options;
}

} // namespace vantel::ctl
