#include "DiscoveryResponder.h"
#include "comm/link/TraceHub.h"
#include "comm/link/TraceRing.h"
#include "search/TracingDatagramEndpoint.h"
#include "search/UnitDiscovery.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace vantel {
namespace {

TEST(TracedSearch, ProbesRepliesAndDetailQueriesAreRecordedWithWhatTheSearchMadeOfThem)
{
    sim::DiscoveryResponder responder;
    sim::DiscoveryUnitConfig unit;
    unit.family = 'X';
    unit.subLetter = '1';
    unit.mac = {0x00, 0x80, 0x4C, 0x10, 0x20, 0x01};
    unit.controlPort = 11001;
    responder.addUnit(unit);
    responder.start();
    auto ring = std::make_shared<TraceRing>();
    const int id = TraceHub::process().attach(ring);

    DiscoverySettings settings;
    settings.adapter = LoopbackAddress();
    settings.target = {LoopbackAddress(), responder.probePort()};
    settings.timeoutMs = 1000;
    DiscoveryTable table;
    EXPECT_TRUE(UnitDiscovery().search(table, settings));
    TraceHub::process().detach(id);
    const auto trace = ring->since(0).records;
    std::string seen;
    for (const TraceRecord& record : trace)
        seen += record.unit + " " + std::string(DirectionArrow(record.direction)) + " " + record.meaning + "\n";
    ASSERT_EQ(table.count(), 1) << seen;

    const std::string probed = DatagramUnit(settings.target);
    ASSERT_GE(trace.size(), 3u);
    EXPECT_EQ(trace[0].unit, probed);
    EXPECT_EQ(trace[0].direction, TraceDirection::Sent);
    EXPECT_EQ(trace[1].unit, probed);
    EXPECT_EQ(trace[1].direction, TraceDirection::Sent);
    int listed = 0;
    for (const TraceRecord& record : trace) {
        if (record.direction != TraceDirection::Received)
            continue;
        EXPECT_FALSE(record.meaning.empty()) << HexOf(record.bytes);
        listed += record.meaning == "probe reply: family X, listed" ? 1 : 0;
    }
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(trace.back().direction, TraceDirection::Received);
    EXPECT_EQ(trace.back().meaning, "detail reply");
}

} // namespace
} // namespace vantel
