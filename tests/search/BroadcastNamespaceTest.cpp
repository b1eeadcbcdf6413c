// The real broadcast path, inside a network namespace of this test's own: the
// probes go to 255.255.255.255 over a veth pair that exists nowhere else, so
// nothing leaves the test. Skipped where namespaces cannot be made.
#include "DiscoveryResponder.h"
#include "search/DiscoveryTexts.h"
#include "search/UnitDiscovery.h"

#include <gtest/gtest.h>

#include <sched.h>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace vantel {
namespace {

constexpr const char* kSearchSide = "10.77.0.1";
constexpr const char* kUnitSide = "10.77.0.2";

// One unit on the far end of the veth pair: hears probes on the discovery
// port of every address and answers from its own address.
class FarUnit {
public:
    explicit FarUnit(const sim::DiscoveryUnitConfig& config) : config_(config)
    {
        Ipv4Address unitAddress = 0;
        ParseDottedAddress(kUnitSide, unitAddress);
        ok_ = probes_.open(kAnyAddress, kDiscoveryPort, false) == 0 && own_.open(unitAddress, 0, false) == 0;
        if (ok_)
            thread_ = std::thread([this] { serve(); });
    }
    ~FarUnit()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    bool ok() const { return ok_; }

private:
    void serve()
    {
        while (!stop_) {
            answer(probes_, [&](const std::vector<std::uint8_t>& in) {
                return in == std::vector<std::uint8_t>(kProbe1.begin(), kProbe1.end()) ? sim::ProbeReplyBytes(config_)
                                                                                       : sim::Bytes();
            });
            answer(own_, [&](const std::vector<std::uint8_t>& in) {
                return in == std::vector<std::uint8_t>(kDetailQuery.begin(), kDetailQuery.end())
                           ? sim::DetailReplyBytes(config_)
                           : sim::Bytes();
            });
        }
    }
    template <typename Reply> void answer(UdpSocket& socket, Reply reply)
    {
        if (socket.waitReadable(10) != WaitResult::Ready)
            return;
        std::vector<std::uint8_t> in(64);
        std::size_t received = 0;
        DatagramAddress from;
        if (socket.receiveFrom(in, received, from) != 0)
            return;
        in.resize(received);
        if (const sim::Bytes out = reply(in); !out.empty())
            own_.sendTo(from, out);
    }

    sim::DiscoveryUnitConfig config_;
    UdpSocket probes_;
    UdpSocket own_;
    bool ok_ = false;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST(BroadcastNamespaceTest, SearchBroadcastsOverItsAdapterAndFindsTheUnitByItsAddress)
{
    if (::unshare(CLONE_NEWNET) != 0)
        GTEST_SKIP() << "no network namespace here; the loopback tests cover the search";
    const std::string setup = std::string("ip link set lo up && ip link add vsearch type veth peer name vunit && ") +
                              "ip addr add " + kSearchSide + "/24 brd + dev vsearch && ip addr add " + kUnitSide +
                              "/24 brd + dev vunit && ip link set vsearch up && ip link set vunit up";
    if (std::system(setup.c_str()) != 0)
        GTEST_SKIP() << "cannot make a veth pair in the namespace";

    sim::DiscoveryUnitConfig config;
    config.family = 'X';
    config.subLetter = '2';
    config.mac = {0x00, 0x80, 0x4C, 0x12, 0x34, 0x56};
    config.controlPort = 10020;
    FarUnit unit(config);
    ASSERT_TRUE(unit.ok());

    DiscoverySettings settings; // the real default: 255.255.255.255:30718
    ASSERT_TRUE(ParseDottedAddress(kSearchSide, settings.adapter));
    DiscoveryTable table;
    ASSERT_TRUE(UnitDiscovery().search(table, settings));
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.at(0).ipText, kUnitSide);
    EXPECT_EQ(table.at(0).controlPort, 10020);
    EXPECT_EQ(MacText(table.at(0).mac), "00-80-4C-12-34-56");
}

} // namespace
} // namespace vantel
