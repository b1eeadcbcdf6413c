#include "DiscoveryConfig.h"

#include "SimConfig.h"

#include <charconv>

namespace vantel::sim {
namespace {

std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while ((at = line.find_first_not_of(" \t\r", at)) != std::string_view::npos) {
        const std::size_t end = std::min(line.find_first_of(" \t\r", at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

int Number(std::string_view text, int low, int high, std::string_view what)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        throw ConfigError(std::string(what) + " needs a number from " + std::to_string(low) + " to " +
                          std::to_string(high));
    return value;
}

std::array<std::uint8_t, 6> Mac(std::string_view text)
{
    std::array<std::uint8_t, 6> mac{};
    if (text.size() != 17)
        throw ConfigError("mac needs AA-BB-CC-DD-EE-FF");
    for (std::size_t i = 0; i < mac.size(); ++i) {
        const std::string_view pair = text.substr(i * 3, 2);
        if (std::from_chars(pair.data(), pair.data() + 2, mac[i], 16).ptr != pair.data() + 2 ||
            (i < 5 && text[i * 3 + 2] != '-'))
            throw ConfigError("mac needs AA-BB-CC-DD-EE-FF");
    }
    return mac;
}

} // namespace

DiscoveryUnitConfig ParseFoundLine(std::string_view line)
{
    const auto words = Words(line);
    if (words.size() < 2 || words[0] != "found" || words[1].size() != 2)
        throw ConfigError("found needs the two reply letters, as in `found X1`");
    DiscoveryUnitConfig unit;
    unit.family = words[1][0];
    unit.subLetter = words[1][1];
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::string_view word = words[i];
        const auto eq = word.find('=');
        const std::string_view key = word.substr(0, eq);
        const std::string_view value = eq == std::string_view::npos ? std::string_view() : word.substr(eq + 1);
        if (key == "mac")
            unit.mac = Mac(value);
        else if (key == "control")
            unit.controlPort = static_cast<std::uint16_t>(Number(value, 0, 65535, "control"));
        else if (key == "model")
            unit.modelByte = static_cast<std::uint8_t>(Number(value, 0, 255, "model"));
        else if (word == "gc")
            unit.gc = true;
        else if (word == "silent")
            unit.answersDetail = false;
        else if (word == "both")
            unit.answers = ProbeAnswer::Both;
        else
            throw ConfigError("unknown found option: " + std::string(word));
    }
    return unit;
}

std::string TakeDiscoveryLines(std::istream& in, DiscoveryConfig& config)
{
    return TakeLines(in, {"discovery", "found"}, [&](std::string_view keyword, std::string_view line) {
        config.enabled = true;
        const auto words = Words(line);
        if (keyword == "found") {
            config.units.push_back(ParseFoundLine(line));
        } else if (words.size() == 2 && words[1].starts_with("port=")) {
            config.probePort = static_cast<std::uint16_t>(Number(words[1].substr(5), 0, 65535, "port"));
        } else if (words.size() != 1) {
            throw ConfigError("discovery takes only port=N");
        }
    });
}

std::unique_ptr<DiscoveryResponder> StartResponder(const DiscoveryConfig& config)
{
    if (!config.enabled)
        return nullptr;
    auto responder = std::make_unique<DiscoveryResponder>(config.probePort);
    for (const DiscoveryUnitConfig& unit : config.units)
        responder->addUnit(unit);
    responder->start();
    return responder;
}

} // namespace vantel::sim
