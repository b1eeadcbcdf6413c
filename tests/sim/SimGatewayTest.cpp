#include "SimGateway.h"
#include "GatewayConfig.h"
#include "RawClient.h"
#include "SimConfig.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace vantel::sim::test {
namespace {

using namespace std::chrono_literals;

TEST(GatewayConfig, GatewayLinesCarryTheirNodes)
{
    std::istringstream text("unit 0\n"
                            "gateway port=15020 pty=/tmp/com3 status=250\n"
                            "node 4 37 id=3\n"
                            "node 12 33 id=2 model=9 inputs=0x3 silent\n"
                            "gateway no-tcp pty=/tmp/com4\n");
    std::vector<GatewayConfig> gateways;
    const std::string rest = TakeGatewayLines(text, gateways);
    EXPECT_EQ(rest, "unit 0\n\n\n\n\n");
    ASSERT_EQ(gateways.size(), 2u);
    EXPECT_TRUE(gateways[0].tcp);
    EXPECT_EQ(gateways[0].port, 15020);
    EXPECT_EQ(gateways[0].ptyLink, "/tmp/com3");
    EXPECT_EQ(gateways[0].statusEvery, 250ms);
    ASSERT_EQ(gateways[0].nodes.size(), 2u);
    const GatewayNodeConfig& node = gateways[0].nodes[1];
    EXPECT_EQ(node.node, 12);
    EXPECT_EQ(node.row, 33);
    EXPECT_EQ(node.unitId, 2);
    EXPECT_EQ(node.modelCode, 9);
    EXPECT_EQ(node.inputBits, 3u);
    EXPECT_TRUE(node.silent);
    EXPECT_FALSE(gateways[1].tcp);
    EXPECT_TRUE(gateways[1].nodes.empty());
}

TEST(GatewayConfig, BadLinesNameTheirLineNumber)
{
    for (const char* bad : {"node 4 37\n", "gateway\nnode 255 37\n", "gateway\nnode 4 39\n", "gateway\nnode 4\n",
                            "gateway no-tcp\n", "gateway colour=red\n", "gateway\nnode 4 37 loud\n"}) {
        std::istringstream text(bad);
        std::vector<GatewayConfig> gateways;
        EXPECT_THROW(TakeGatewayLines(text, gateways), ConfigError) << bad;
    }
    std::istringstream twice("gateway\nnode 4 37\nnode 4 33\n");
    std::vector<GatewayConfig> gateways;
    TakeGatewayLines(twice, gateways);
    EXPECT_THROW(StartGateways(gateways), ConfigError);
    std::istringstream numbered("# one\ngateway\nnode 4 50\n");
    try {
        TakeGatewayLines(numbered, gateways);
        FAIL() << "row 50 accepted";
    } catch (const ConfigError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("line 3:", 0), 0u) << error.what();
    }
}

TEST(GatewayConfig, TheDemoGatewayIsWhereTheDemoListLooksForIt)
{
    std::ifstream file(SIM_DEMO_CONF);
    ASSERT_TRUE(file);
    std::vector<GatewayConfig> gateways;
    TakeGatewayLines(file, gateways);
    ASSERT_EQ(gateways.size(), 1u);
    EXPECT_EQ(gateways[0].port, 15020); // "GW 流量計 (LAN)" in scripts/demo
    // "GW 流量計 (LAN)", "GW バルブ (LAN)", "GW ポンプ室 (LAN)" and "GW 倉庫 (LAN)".
    ASSERT_EQ(gateways[0].nodes.size(), 4u);
    const std::vector<std::pair<int, int>> expected{{4, 37}, {6, 38}, {2, 35}, {9, 36}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(gateways[0].nodes[i].node, expected[i].first);
        EXPECT_EQ(gateways[0].nodes[i].row, expected[i].second);
    }
}

class SimGatewayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        config_.nodes = {{.node = 4, .row = 37, .unitId = 3}, {.node = 0xAB, .row = 35, .unitId = 5, .inputBits = 6}};
        config_.statusEvery = 20ms;
    }
    GatewayConfig config_;
};

TEST_F(SimGatewayTest, AnswersNodeFramesWithTheNodesPrefix)
{
    SimGateway gateway(config_);
    gateway.start();
    RawClient client(gateway.port());
    ASSERT_TRUE(client.connected());
    auto replyTo = [&](const std::string& frame) {
        client.send(B(frame));
        for (Bytes reply = client.readFrame(); !reply.empty(); reply = client.readFrame()) {
            if (reply[2] != 'g') // status frames come in between
                return reply;
        }
        return Bytes{};
    };
    EXPECT_EQ(replyTo("04MD\xC8"), B("04md,(\xC8"));
    EXPECT_EQ(replyTo("ABSN\xC8"), B("ABsn23*#\xC8"));
    EXPECT_EQ(replyTo("ABDI\xC8"), B("ABdi&\x20\xC8"));
    EXPECT_EQ(gateway.frameCount(), 3u);

    // Frames for nobody, or without a node, get no answer; the next one does.
    gateway.setNodeSilent(4, true);
    client.send(B("04MD\xC8"
                  "07MD\xC8"
                  "abMD\xC8"
                  "ZZMD\xC8"));
    EXPECT_EQ(replyTo("ABDY\xC8"), B("ABdy  \xC8"));
    EXPECT_EQ(gateway.frameCount(), 8u);
}

TEST_F(SimGatewayTest, SendsStatusFramesAndDropsConnectionsOnRequest)
{
    SimGateway gateway(config_);
    gateway.start();
    RawClient client(gateway.port());
    EXPECT_EQ(client.readFrame(), B("00gq02\xC8"));
    gateway.dropConnections();
    EXPECT_TRUE(client.peerClosed());
    RawClient again(gateway.port());
    EXPECT_TRUE(gateway.waitForConnections(2, 5s));
}

} // namespace
} // namespace vantel::sim::test
