// orvex-sim: runs the simulated units of a config file until SIGINT/SIGTERM.
#include "ConfigFile.h"
#include "registry/ModelCatalogue.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string_view>
#include <system_error>

namespace {

constexpr std::string_view kUsage = "usage: orvex-sim --config FILE\n";

void PrintUnit(const vantel::sim::SimUnit& unit)
{
    std::cout << "unit " << unit.model().index << ' ' << unit.model().shortName << " 127.0.0.1:" << unit.port();
    if (unit.secondPort() != 0)
        std::cout << " second-port 127.0.0.1:" << unit.secondPort();
    std::cout << '\n';
}

void PrintGateway(const vantel::sim::SimGateway& gateway, const vantel::sim::GatewayConfig& config)
{
    std::cout << "gateway";
    if (config.tcp)
        std::cout << " 127.0.0.1:" << gateway.port();
    if (!config.ptyLink.empty())
        std::cout << " pty " << gateway.ptyLink() << " -> " << gateway.ptyDevice();
    std::cout << " nodes";
    for (const auto& node : config.nodes)
        std::cout << ' ' << node.node << ':' << vantel::ModelAt(node.row).shortName;
    std::cout << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::string_view(argv[1]) != "--config") {
        std::cerr << kUsage;
        return 2;
    }
    std::ifstream file(argv[2]);
    if (!file) {
        std::cerr << "orvex-sim: cannot read " << argv[2] << '\n';
        return 1;
    }

    // Block the stop signals before any thread starts so only sigwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        const vantel::sim::ConfigFile config = vantel::sim::ReadConfigFile(file);
        auto units = vantel::sim::StartUnits(config.units);
        for (const auto& unit : units)
            PrintUnit(*unit);
        auto gateways = vantel::sim::StartGateways(config.gateways);
        for (std::size_t i = 0; i < gateways.size(); ++i)
            PrintGateway(*gateways[i], config.gateways[i]);
        const auto responder = vantel::sim::StartResponder(config.discovery);
        if (responder)
            std::cout << "discovery 127.0.0.1:" << responder->probePort() << " with " << config.discovery.units.size()
                      << " units\n";
        std::cout << std::flush;
        int signal = 0;
        sigwait(&stopSignals, &signal);
        for (auto& unit : units)
            unit->stop();
        for (auto& gateway : gateways)
            gateway->stop();
    } catch (const vantel::sim::ConfigError& error) {
        std::cerr << "orvex-sim: " << argv[2] << ": " << error.what() << '\n';
        return 1;
    } catch (const std::system_error& error) {
        std::cerr << "orvex-sim: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
