#include "SimConfig.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace vantel::sim {

long long ConfigNumber(std::string_view text, long long low, long long high, std::string_view what)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        throw ConfigError(std::string(what) + " must be a number from " + std::to_string(low) + " to " +
                          std::to_string(high));
    }
    return value;
}

std::string TakeLines(std::istream& in, std::initializer_list<std::string_view> keywords,
                      const std::function<void(std::string_view keyword, std::string_view line)>& take)
{
    std::ostringstream rest;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        const auto keyword = std::find(keywords.begin(), keywords.end(), first);
        if (keyword == keywords.end()) {
            rest << line << '\n';
            continue;
        }
        rest << '\n';
        try {
            take(*keyword, line);
        } catch (const ConfigError& error) {
            throw ConfigError("line " + std::to_string(number) + ": " + error.what());
        }
    }
    return rest.str();
}

namespace {

std::uint16_t ParsePort(std::string_view text, std::string_view what)
{
    return static_cast<std::uint16_t>(ConfigNumber(text, 0, 65535, what));
}

std::chrono::milliseconds ParseMs(std::string_view text, std::string_view what)
{
    return std::chrono::milliseconds(ConfigNumber(text, 0, 3600000, what));
}

void ApplyOption(UnitConfig& config, std::string_view word)
{
    if (word == "refuse") {
        config.refuseConnections = true;
        return;
    }
    const auto equals = word.find('=');
    if (equals == std::string_view::npos)
        throw ConfigError("unknown option '" + std::string(word) + "'");
    const std::string_view key = word.substr(0, equals);
    const std::string_view value = word.substr(equals + 1);
    if (key == "port") {
        config.port = ParsePort(value, key);
    } else if (key == "second-port") {
        config.secondPort = ParsePort(value, key);
    } else if (key == "id") {
        config.unitId = static_cast<int>(ConfigNumber(value, 0, 15, key));
    } else if (key == "model") {
        config.modelCode = static_cast<int>(ConfigNumber(value, 0, 255, key));
    } else if (key == "inputs") {
        config.inputBits = static_cast<std::uint32_t>(ConfigNumber(value, 0, 0xFF, key));
    } else if (key == "delay") {
        config.replyDelay = ParseMs(value, key);
    } else if (key == "slow-connect") {
        config.slowConnect = ParseMs(value, key);
    } else if (key == "stream") {
        const auto stream = ParseStream(value);
        if (!stream)
            throw ConfigError("unknown stream '" + std::string(value) + "'");
        config.stream = *stream;
    } else if (key == "every") {
        config.streamEvery = ParseMs(value, key);
    } else if (key == "fault") {
        const auto fault = ParseFault(value);
        if (!fault)
            throw ConfigError("unknown fault '" + std::string(value) + "'");
        config.fault = *fault;
    } else {
        throw ConfigError("unknown option '" + std::string(key) + "'");
    }
}

} // namespace

UnitConfig ParseUnitLine(std::string_view line)
{
    std::istringstream words{std::string(line)};
    std::string word;
    if (!(words >> word) || word != "unit")
        throw ConfigError("line must start with 'unit'");
    if (!(words >> word))
        throw ConfigError("missing catalogue row");
    UnitConfig config;
    config.row = static_cast<int>(ConfigNumber(word, 0, 49, "row"));
    while (words >> word)
        ApplyOption(config, word);
    return config;
}

std::vector<UnitConfig> ParseConfig(std::istream& in)
{
    std::vector<UnitConfig> configs;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const auto first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#')
            continue;
        try {
            configs.push_back(ParseUnitLine(line));
        } catch (const ConfigError& error) {
            throw ConfigError("line " + std::to_string(number) + ": " + error.what());
        }
    }
    return configs;
}

std::vector<std::unique_ptr<SimUnit>> StartUnits(const std::vector<UnitConfig>& configs)
{
    std::vector<std::unique_ptr<SimUnit>> units;
    for (const UnitConfig& config : configs) {
        units.push_back(std::make_unique<SimUnit>(config));
        units.back()->start();
    }
    return units;
}

} // namespace vantel::sim
