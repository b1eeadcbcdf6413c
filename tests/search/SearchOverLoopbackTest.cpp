#include "DiscoveryResponder.h"
#include "LoopbackPeer.h"
#include "SimUnit.h"
#include "platform/TcpSocket.h"
#include "search/DiscoveryTexts.h"
#include "search/ModelQuery.h"
#include "search/UnitDiscovery.h"

#include <gtest/gtest.h>

#include <map>

namespace vantel {
namespace {

using sim::DiscoveryResponder;
using sim::DiscoveryUnitConfig;

DiscoveryUnitConfig Unit(char family, char sub, std::uint8_t macLast, std::uint16_t port = 10003)
{
    DiscoveryUnitConfig unit;
    unit.family = family;
    unit.subLetter = sub;
    unit.mac = {0x00, 0x80, 0x4C, 0x10, 0x20, macLast};
    unit.controlPort = port;
    return unit;
}

DiscoverySettings LoopbackSettings(const DiscoveryResponder& responder, int timeoutMs)
{
    DiscoverySettings settings;
    settings.adapter = LoopbackAddress();
    settings.target = {LoopbackAddress(), responder.probePort()};
    settings.timeoutMs = timeoutMs;
    return settings;
}

// One search against units of every family, the faulty ones among them.
TEST(SearchOverLoopbackTest, ListsEveryFamilyAndSkipsWhatItMustNot)
{
    DiscoveryResponder responder;
    std::map<int, int> unitByMac; // MAC last byte -> responder index
    const auto add = [&](DiscoveryUnitConfig unit) { unitByMac[unit.mac[5]] = responder.addUnit(unit); };
    for (char sub : std::string("12459"))
        add(Unit('X', sub, static_cast<std::uint8_t>(sub), static_cast<std::uint16_t>(11000 + sub)));
    add(Unit('X', '6', 0x60, 12060));
    auto gc = Unit('X', '6', 0x61, 12061);
    gc.gc = true;
    add(gc);
    add(Unit('_', 'L', 0x70, 9999)); // the detail reply decides its port
    add(Unit('_', 'W', 0x71, 9999)); // no detail query: default port
    auto b = Unit('_', 'B', 0x72);
    b.modelByte = 9;
    add(b);
    auto d = Unit('_', 'D', 0x73);
    d.modelByte = 10;
    add(d);
    add(Unit('_', 'Q', 0x74, 12074));
    auto lowB = Unit('_', 'B', 0x80);
    lowB.modelByte = 7;
    add(lowB);
    auto silent = Unit('X', '1', 0x81);
    silent.answersDetail = false;
    add(silent);
    auto twice = Unit('X', '2', 0x82, 12082);
    twice.answers = sim::ProbeAnswer::Both;
    add(twice);
    auto zeroPort = Unit('X', '4', 0x83, 0);
    add(zeroPort);
    auto unknownFamily = Unit('Z', '1', 0x84);
    add(unknownFamily);
    auto shortReply = Unit('X', '1', 0x85);
    shortReply.rawReply = sim::ProbeReplyBytes(shortReply);
    shortReply.rawReply->resize(29);
    add(shortReply);
    auto oversized = Unit('X', '1', 0x86, 12086);
    oversized.rawReply = sim::ProbeReplyBytes(oversized);
    oversized.rawReply->resize(1400, 0x5A);
    add(oversized);
    responder.start();

    DiscoveryTable table;
    UnitDiscovery discovery;
    ASSERT_TRUE(discovery.search(table, LoopbackSettings(responder, 300)));
    EXPECT_EQ(responder.probeCount(), 2u);
    EXPECT_EQ(responder.lastProbeSource(), LoopbackAddress()) << "the socket is bound to the adapter";

    std::map<int, const DiscoveryEntry*> found;
    for (int i = 0; i < table.count(); ++i) {
        const DiscoveryEntry& entry = table.at(i);
        EXPECT_EQ(found.count(entry.mac[5]), 0u) << "listed twice: " << MacText(entry.mac);
        found[entry.mac[5]] = &entry;
        EXPECT_EQ(entry.ipText, "127.0.0.1");
        EXPECT_EQ(entry.replyAddress.port, responder.unitPort(unitByMac[entry.mac[5]]));
    }
    std::vector<int> expected = {'1', '2', '4', '5', '9', 0x60, 0x61, 0x70, 0x71, 0x72, 0x73, 0x74, 0x82, 0x83, 0x86};
    std::vector<int> listed;
    for (const auto& [mac, entry] : found)
        listed.push_back(mac);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);
    if (listed != expected)
        return;

    EXPECT_EQ(found['4']->controlPort, 11000 + '4');
    EXPECT_EQ(ModelColumnText(*found['9']), "X9");
    EXPECT_EQ(found[0x60]->kind, DiscoveryKind::SerialLine);
    EXPECT_EQ(found[0x60]->controlPort, 12060) << "serial line: port at bytes 72-73";
    EXPECT_EQ(found[0x61]->kind, DiscoveryKind::GcCapable);
    EXPECT_EQ(found[0x61]->controlPort, 12061);
    EXPECT_EQ(ModelColumnText(*found[0x70]), "WiFi");
    EXPECT_EQ(found[0x70]->controlPort, 9999);
    EXPECT_EQ(ModelColumnText(*found[0x71]), "LC");
    EXPECT_EQ(found[0x71]->controlPort, 10003);
    EXPECT_EQ(responder.detailQueryCount(unitByMac[0x71]), 0u);
    EXPECT_EQ(ModelColumnText(*found[0x72]), "QZ-K19-P");
    EXPECT_EQ(ModelColumnText(*found[0x73]), "QZ-K17-W");
    EXPECT_EQ(ModelColumnText(*found[0x74]), "_Q");
    EXPECT_EQ(found[0x74]->controlPort, 12074);
    EXPECT_EQ(found[0x83]->controlPort, 10003) << "port 0 falls back to the default";
    EXPECT_EQ(found[0x86]->controlPort, 12086);
    EXPECT_EQ(responder.detailQueryCount(unitByMac[0x81]), 1u) << "the silent unit was asked";
}

TEST(SearchOverLoopbackTest, NobodyAnswersEmptyResult)
{
    DiscoveryResponder responder;
    responder.start();
    DiscoveryTable table;
    UnitDiscovery discovery;
    EXPECT_TRUE(discovery.search(table, LoopbackSettings(responder, 3000)));
    EXPECT_EQ(table.count(), 0);
}

class ModelQueryTest : public ::testing::Test {
protected:
    DiscoveryEntry entryFor(const sim::SimUnit& unit)
    {
        DiscoveryEntry entry;
        entry.replyAddress = {LoopbackAddress(), 30718};
        entry.controlPort = unit.port();
        return entry;
    }
    std::unique_ptr<sim::SimUnit> startUnit(int row)
    {
        sim::UnitConfig config;
        config.row = row;
        config.unitId = 3;
        auto unit = std::make_unique<sim::SimUnit>(config);
        unit->start();
        return unit;
    }
};

TEST_F(ModelQueryTest, TwoByteUnitAnswersTheFirstQuery)
{
    auto unit = startUnit(5); // QZ-K14, code 4
    DiscoveryEntry entry = entryFor(*unit);
    ASSERT_TRUE(QueryUnitModel(entry, LoopbackAddress()));
    EXPECT_EQ(entry.modelCode, 4);
    EXPECT_EQ(entry.kind, DiscoveryKind::Plain);
}

// An ASCII unit does not answer the two-byte query; the query then asks with MI.
TEST_F(ModelQueryTest, SilentToTwoByteQueryThenMiWithExtendedCode)
{
    std::string seen;
    test::LoopbackPeer unit([&](const std::string& received) -> std::optional<std::string> {
        seen += received;
        if (seen.size() < 3 || seen.substr(seen.size() - 3) != "MI\xC8")
            return std::string();
        return std::string("mi\x2C\x2F\x21\xC8", 6); // code 15 extended by byte 4: 0x11
    });
    DiscoveryEntry entry;
    entry.replyAddress = {LoopbackAddress(), 30718};
    entry.controlPort = unit.port();
    ASSERT_TRUE(QueryUnitModel(entry, LoopbackAddress()));
    EXPECT_EQ(seen, std::string("UUMI\xC8"));
    EXPECT_EQ(entry.modelCode, 0x11);
    EXPECT_EQ(ModelColumnText(entry), "QZ-K20-P");
}

TEST_F(ModelQueryTest, ExtendedTwoByteReplyMakesTheUnitSerialLine)
{
    test::LoopbackPeer unit([](const std::string&) -> std::optional<std::string> { return std::string("\x45\x70"); });
    DiscoveryEntry entry;
    entry.replyAddress = {LoopbackAddress(), 30718};
    entry.controlPort = unit.port();
    ASSERT_TRUE(QueryUnitModel(entry, LoopbackAddress()));
    EXPECT_EQ(entry.modelCode, 7);
    EXPECT_EQ(entry.kind, DiscoveryKind::SerialLine);
    EXPECT_EQ(ModelColumnText(entry), "QZ-K25-P");
}

TEST_F(ModelQueryTest, MiReplyWithoutTerminatorFails)
{
    test::LoopbackPeer unit([](const std::string& received) -> std::optional<std::string> {
        return received.find('M') != std::string::npos ? std::string("mi\x2C\x23X") : std::string();
    });
    DiscoveryEntry entry;
    entry.replyAddress = {LoopbackAddress(), 30718};
    entry.controlPort = unit.port();
    EXPECT_FALSE(QueryUnitModel(entry, LoopbackAddress()));
    EXPECT_EQ(entry.modelCode, kUnknownModel);
}

TEST_F(ModelQueryTest, NobodyListeningFails)
{
    TcpListener closed;
    ASSERT_EQ(closed.listen(LoopbackAddress(), 0), 0);
    DiscoveryEntry entry;
    entry.replyAddress = {LoopbackAddress(), 30718};
    entry.controlPort = closed.port();
    closed.close();
    EXPECT_FALSE(QueryUnitModel(entry, LoopbackAddress()));
    EXPECT_EQ(entry.modelCode, kUnknownModel);
}

} // namespace
} // namespace vantel
