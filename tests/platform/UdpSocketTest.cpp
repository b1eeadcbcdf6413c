#include "platform/UdpSocket.h"
#include "platform/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vantel;

TEST(DatagramAddress, ParsesDottedAddressAndPort)
{
    DatagramAddress address;
    ASSERT_TRUE(ParseDatagramAddress("127.0.0.1:30718", address));
    EXPECT_EQ(address, (DatagramAddress{LoopbackAddress(), 30718}));
    ASSERT_TRUE(ParseDatagramAddress("255.255.255.255:1", address));
    EXPECT_EQ(address.address, kLimitedBroadcast);
    for (const char* bad : {"127.0.0.1", "127.0.0.1:", "127.0.0.1:0", ":80", "unit:80", "1.2.3.4:65536", "1.2.3.4:8x",
                            "1.2.3:80", "1.2.3.4:-1"})
        EXPECT_FALSE(ParseDatagramAddress(bad, address)) << bad;
    Ipv4Address ip = 0;
    ASSERT_TRUE(ParseDottedAddress("127.44.0.9", ip));
    EXPECT_TRUE(IsLoopbackAddress(ip)) << "all of 127.0.0.0/8 is loopback";
    ASSERT_TRUE(ParseDottedAddress("128.0.0.1", ip));
    EXPECT_FALSE(IsLoopbackAddress(ip));
    EXPECT_FALSE(IsLoopbackAddress(kLimitedBroadcast));
    EXPECT_EQ(ParseCommandLine({"--search-target", "127.0.0.1:4000"}).searchTarget, "127.0.0.1:4000");
    EXPECT_FALSE(ParseCommandLine({"--search-target"}).error.empty());
}

TEST(UdpSocket, OversizedDatagramIsCutToTheBuffer)
{
    UdpSocket receiver;
    UdpSocket sender;
    ASSERT_EQ(receiver.open(LoopbackAddress(), 0, false), 0);
    ASSERT_EQ(sender.open(LoopbackAddress(), 0, false), 0);
    const std::vector<std::uint8_t> big(1000, 0x5A);
    ASSERT_EQ(sender.sendTo({LoopbackAddress(), receiver.localPort()}, big), 0);
    ASSERT_EQ(receiver.waitReadable(2000), WaitResult::Ready);
    std::vector<std::uint8_t> small(30, 0);
    std::size_t received = 99;
    DatagramAddress from;
    ASSERT_EQ(receiver.receiveFrom(small, received, from), 0);
    EXPECT_EQ(received, 30u);
    EXPECT_EQ(from, (DatagramAddress{LoopbackAddress(), sender.localPort()}));
    EXPECT_EQ(receiver.waitReadable(0), WaitResult::TimedOut) << "the rest of the datagram is gone";
}
