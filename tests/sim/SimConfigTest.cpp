#include "SimConfig.h"
#include "ConfigFile.h"
#include "DiscoveryConfig.h"
#include "RawClient.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace vantel::sim::test {
namespace {

TEST(SimConfig, UnitLineWithEveryOption)
{
    const UnitConfig config = ParseUnitLine("unit 1 port=15002 second-port=15003 id=7 model=9 inputs=0x1F "
                                            "fault=stale-echo delay=20 slow-connect=500 refuse");
    EXPECT_EQ(config.row, 1);
    EXPECT_EQ(config.port, 15002);
    EXPECT_EQ(config.secondPort, 15003);
    EXPECT_EQ(config.unitId, 7);
    EXPECT_EQ(config.modelCode, 9);
    EXPECT_EQ(config.inputBits, 0x1Fu);
    EXPECT_EQ(config.fault, Fault::StaleEcho);
    EXPECT_EQ(config.replyDelay.count(), 20);
    EXPECT_EQ(config.slowConnect.count(), 500);
    EXPECT_TRUE(config.refuseConnections);
}

TEST(SimConfig, HostileStreamsAndTheirPace)
{
    const UnitConfig config = ParseUnitLine("unit 22 stream=wrong-echo every=20");
    EXPECT_EQ(config.stream, Stream::WrongEcho);
    EXPECT_EQ(config.streamEvery, std::chrono::milliseconds(20));
    EXPECT_EQ(ParseUnitLine("unit 8 fault=echo").fault, Fault::Echo);
    for (const char* name : {"terminators", "trickle", "flood"})
        EXPECT_EQ(StreamName(ParseUnitLine(std::string("unit 0 stream=") + name).stream), name);
    EXPECT_FALSE(ParseUnitLine("unit 0 stream=trickle").streamEvery.has_value()) << "the stream's own pace";
    EXPECT_THROW(ParseUnitLine("unit 0 stream=shout"), ConfigError);
}

TEST(SimConfig, BadLinesNameTheirLineNumber)
{
    std::istringstream text("# units\n\nunit 0\nunit 50\n");
    try {
        ParseConfig(text);
        FAIL() << "row 50 accepted";
    } catch (const ConfigError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("line 4:", 0), 0u) << error.what();
    }
    for (const char* bad : {"unit", "units 0", "unit 0 id=16", "unit 0 port=70000", "unit 0 fault=melt",
                            "unit 0 colour=red", "unit 0 port=12x"}) {
        EXPECT_THROW(ParseUnitLine(bad), ConfigError) << bad;
    }
}

TEST(SimConfig, DemoFileCoversEveryDialect)
{
    std::ifstream file(SIM_DEMO_CONF);
    ASSERT_TRUE(file);
    // The units the network search finds and the gateway share the file.
    const ConfigFile demo = ReadConfigFile(file);
    const auto& configs = demo.units;
    EXPECT_FALSE(demo.discovery.units.empty());
    std::set<int> rows;
    std::set<std::uint16_t> ports;
    for (const UnitConfig& config : configs) {
        rows.insert(config.row);
        ports.insert(config.port);
    }
    EXPECT_EQ(ports.size(), configs.size());
    for (int row : {0, 1, 22, 19, 18, 48, 30, 21, 20, 49})
        EXPECT_TRUE(rows.count(row)) << row;
}

TEST(SimConfig, StartedUnitsGetTheirOwnPortsAndStopCleanly)
{
    std::istringstream text("unit 0\nunit 1\nunit 19\n");
    auto units = StartUnits(ParseConfig(text));
    ASSERT_EQ(units.size(), 3u);
    std::set<std::uint16_t> ports;
    for (const auto& unit : units)
        ports.insert(unit->port());
    ports.insert(units[1]->secondPort());
    EXPECT_EQ(ports.size(), 4u);
    // Stopping with a client still connected joins the loop all the same.
    RawClient client(units[2]->port());
    ASSERT_TRUE(client.connected());
    units[2]->stop();
    EXPECT_TRUE(client.peerClosed());
    units[2]->stop();
    // Started again, it comes back on the same port.
    const std::uint16_t port = units[0]->port();
    units[0]->stop();
    units[0]->start();
    EXPECT_EQ(units[0]->port(), port);
    EXPECT_TRUE(ConnectsEventually(port));
}

TEST(SimConfig, UnknownRowIsRejected)
{
    EXPECT_THROW(SimUnit(UnitConfig{.row = 50}), std::invalid_argument);
}

} // namespace
} // namespace vantel::sim::test
