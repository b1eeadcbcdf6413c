#include "GatewayConfig.h"

#include "SimConfig.h"

#include <sstream>

namespace vantel::sim {
namespace {

std::vector<std::string> Words(std::string_view line)
{
    std::istringstream in{std::string(line)};
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

std::pair<std::string_view, std::string_view> KeyValue(std::string_view word)
{
    const auto equals = word.find('=');
    if (equals == std::string_view::npos)
        return {word, {}};
    return {word.substr(0, equals), word.substr(equals + 1)};
}

} // namespace

GatewayConfig ParseGatewayLine(std::string_view line)
{
    const auto words = Words(line);
    if (words.empty() || words[0] != "gateway")
        throw ConfigError("line must start with 'gateway'");
    GatewayConfig config;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const auto [key, value] = KeyValue(words[i]);
        if (key == "port" && !value.empty())
            config.port = static_cast<std::uint16_t>(ConfigNumber(value, 0, 65535, "port"));
        else if (key == "pty" && !value.empty())
            config.ptyLink = std::string(value);
        else if (key == "status" && !value.empty())
            config.statusEvery = std::chrono::milliseconds(ConfigNumber(value, 0, 3600000, "status"));
        else if (words[i] == "no-tcp")
            config.tcp = false;
        else
            throw ConfigError("unknown gateway option '" + words[i] + "'");
    }
    if (!config.tcp && config.ptyLink.empty())
        throw ConfigError("a gateway without TCP needs pty=PATH");
    return config;
}

GatewayNodeConfig ParseNodeLine(std::string_view line)
{
    const auto words = Words(line);
    if (words.size() < 3 || words[0] != "node")
        throw ConfigError("node needs its number and catalogue row, as in `node 4 37`");
    GatewayNodeConfig node;
    node.node = static_cast<int>(ConfigNumber(words[1], 0, 254, "node"));
    node.row = static_cast<int>(ConfigNumber(words[2], 33, 38, "row"));
    for (std::size_t i = 3; i < words.size(); ++i) {
        const auto [key, value] = KeyValue(words[i]);
        if (key == "id" && !value.empty())
            node.unitId = static_cast<int>(ConfigNumber(value, 0, 15, key));
        else if (key == "model" && !value.empty())
            node.modelCode = static_cast<int>(ConfigNumber(value, 0, 255, key));
        else if (key == "inputs" && !value.empty())
            node.inputBits = static_cast<std::uint32_t>(ConfigNumber(value, 0, 0xFF, key));
        else if (words[i] == "silent")
            node.silent = true;
        else
            throw ConfigError("unknown node option '" + words[i] + "'");
    }
    return node;
}

std::string TakeGatewayLines(std::istream& in, std::vector<GatewayConfig>& gateways)
{
    return TakeLines(in, {"gateway", "node"}, [&](std::string_view keyword, std::string_view line) {
        if (keyword == "gateway") {
            gateways.push_back(ParseGatewayLine(line));
            return;
        }
        if (gateways.empty())
            throw ConfigError("a node line needs a gateway line above it");
        gateways.back().nodes.push_back(ParseNodeLine(line));
    });
}

std::vector<std::unique_ptr<SimGateway>> StartGateways(const std::vector<GatewayConfig>& configs)
{
    std::vector<std::unique_ptr<SimGateway>> gateways;
    for (const GatewayConfig& config : configs) {
        try {
            gateways.push_back(std::make_unique<SimGateway>(config));
        } catch (const std::invalid_argument& error) {
            throw ConfigError(error.what());
        }
        gateways.back()->start();
    }
    return gateways;
}

} // namespace vantel::sim
