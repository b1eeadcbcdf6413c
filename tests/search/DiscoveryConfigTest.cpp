#include "DiscoveryConfig.h"
#include "SimConfig.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vantel::sim {
namespace {

TEST(DiscoveryConfigTest, FoundLinesAndTheRestOfTheFile)
{
    std::istringstream file("unit 0 port=15001\n"
                            "discovery port=0\n"
                            "found X6 mac=00-80-4C-0A-0B-0C control=15001 gc both\n"
                            "# comment\n"
                            "found _B model=9 silent\n");
    DiscoveryConfig config;
    const std::string rest = TakeDiscoveryLines(file, config);
    EXPECT_EQ(rest, "unit 0 port=15001\n\n\n# comment\n\n");
    EXPECT_TRUE(config.enabled);
    EXPECT_EQ(config.probePort, 0);
    ASSERT_EQ(config.units.size(), 2u);
    EXPECT_EQ(config.units[0].subLetter, '6');
    EXPECT_EQ(config.units[0].mac[5], 0x0C);
    EXPECT_EQ(config.units[0].controlPort, 15001);
    EXPECT_TRUE(config.units[0].gc);
    EXPECT_EQ(config.units[0].answers, ProbeAnswer::Both);
    EXPECT_EQ(config.units[1].modelByte, 9);
    EXPECT_FALSE(config.units[1].answersDetail);
    auto responder = StartResponder(config);
    ASSERT_NE(responder, nullptr);
    EXPECT_NE(responder->probePort(), 0);
}

TEST(DiscoveryConfigTest, BadLinesNameTheirLine)
{
    for (const char* bad : {"found X", "found X1 mac=00-11", "found X1 control=70000", "found X1 loud",
                            "discovery port=x", "discovery now"}) {
        std::istringstream file(std::string("unit 0\n") + bad + "\n");
        DiscoveryConfig config;
        try {
            TakeDiscoveryLines(file, config);
            ADD_FAILURE() << bad;
        } catch (const ConfigError& error) {
            EXPECT_EQ(std::string(error.what()).rfind("line 2: ", 0), 0u) << error.what();
        }
    }
}

} // namespace
} // namespace vantel::sim
