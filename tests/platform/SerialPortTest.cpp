#include "platform/SerialPort.h"
#include "PtyDevice.h"
#include "platform/SystemError.h"
#include "platform/WakeEvent.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace vantel {
namespace {

std::span<const std::uint8_t> AsBytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Reads from the simulator's end until `count` bytes came or it stays quiet.
std::string ReadPeer(int fd, std::size_t count)
{
    std::string got;
    char buffer[256];
    while (got.size() < count) {
        pollfd in{fd, POLLIN, 0};
        if (::poll(&in, 1, 5000) <= 0)
            break;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

std::string ReadPort(SerialPort& port, const WakeEvent& wake, std::size_t count)
{
    std::string got;
    std::uint8_t buffer[256];
    while (got.size() < count && port.waitReadable(wake, 5000) == StreamWait::Readable) {
        const StreamRead read = port.readAvailable(buffer);
        if (read.lost)
            break;
        got.append(reinterpret_cast<const char*>(buffer), read.count);
    }
    return got;
}

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override { device_.open(link_); }

    test::TempFolder folder_;
    const std::string link_ = (folder_.path() / "ttyGW").string();
    sim::PtyDevice device_;
    WakeEvent wake_;
};

TEST(ComPath, TheEnvironmentNamesTheDeviceOfAComPort)
{
    ::setenv("VANTEL_COM37", "/tmp/some-gateway", 1);
    EXPECT_EQ(ResolveComPath(37), "/tmp/some-gateway");
    ::setenv("VANTEL_COM37", "", 1);
    EXPECT_EQ(ResolveComPath(37), ""); // no /dev/ttyACM36 or /dev/ttyUSB36 here
    ::unsetenv("VANTEL_COM37");
    EXPECT_EQ(ResolveComPath(0), "");
    SerialPort port;
    EXPECT_EQ(port.open(37), SystemError::FileNotFound);
}

TEST_F(SerialPortTest, BytesPassUnchangedBothWays)
{
    SerialPort port;
    ASSERT_EQ(port.openPath(link_), 0);
    // The terminator, line ends and control characters a terminal would act on.
    const std::string frame = std::string("04DK\x03\x11\x13\r\n\x7F ") + "\xC8";
    ASSERT_EQ(port.write(AsBytes(frame)), 0);
    EXPECT_EQ(ReadPeer(device_.fd(), frame.size()), frame);
    ASSERT_EQ(::write(device_.fd(), frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    EXPECT_EQ(ReadPort(port, wake_, frame.size()), frame);
}

TEST_F(SerialPortTest, APortIsOpenedExclusivelyAndOnlyOnASerialDevice)
{
    SerialPort first;
    ASSERT_EQ(first.openPath(link_), 0);
    SerialPort second;
    EXPECT_EQ(second.openPath(link_), SystemError::AccessDenied);
    first.close();
    EXPECT_EQ(second.openPath(link_), 0);
    SerialPort notSerial;
    EXPECT_EQ(notSerial.openPath("/dev/null"), SystemError::InvalidFunction);
}

TEST_F(SerialPortTest, ADeviceThatGoesAwayReadsAsRemovedAtOnce)
{
    SerialPort port;
    ASSERT_EQ(port.openPath(link_), 0);
    std::uint8_t buffer[16];
    EXPECT_EQ(port.readAvailable(buffer).count, 0u);
    EXPECT_FALSE(port.readAvailable(buffer).lost);
    wake_.signal();
    EXPECT_EQ(port.waitReadable(wake_, -1), StreamWait::Woken);
    wake_.clear();
    EXPECT_EQ(port.waitReadable(wake_, 0), StreamWait::TimedOut);

    device_.close();
    EXPECT_EQ(port.waitReadable(wake_, -1), StreamWait::Readable);
    const StreamRead read = port.readAvailable(buffer);
    EXPECT_TRUE(read.lost);
    EXPECT_EQ(read.error, SystemError::DeviceRemoved);
    EXPECT_EQ(port.write(AsBytes("04MD\xC8")), SystemError::DeviceRemoved);
    SerialPort again;
    EXPECT_EQ(again.openPath(link_), SystemError::FileNotFound);
}

} // namespace
} // namespace vantel
