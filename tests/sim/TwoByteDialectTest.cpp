#include "RawClient.h"
#include "SimUnit.h"

#include <gtest/gtest.h>

namespace vantel::sim::test {
namespace {

Bytes Exchange(std::uint16_t port, const Bytes& command, std::size_t replyLength)
{
    RawClient client(port);
    client.send(command);
    return client.read(replyLength);
}

const Bytes kStatus{0x55, 0x55};
const Bytes kReadOutputs{0xE0, 0x00};
const Bytes kNineByteRead{0x13, 0, 0, 0, 0, 0, 0, 0, 0};

Bytes NineByteWrite(std::uint8_t bits)
{
    return Bytes{0x1B, 0x07, 0, 0, 0, bits, 0, 0, 0};
}

TEST(TwoByteDialect, StatusWordCarriesModelIdAndInputs)
{
    SimUnit unit(UnitConfig{.row = 8, .unitId = 10, .inputBits = 0b101});
    unit.start();
    // Model 6 in bits 4-6, ID as 15 - id, input 0 in bit 7, inputs 1-4 in the second byte.
    EXPECT_EQ(Exchange(unit.port(), kStatus, 2), (Bytes{0xE5, 0x02}));
}

TEST(TwoByteDialect, UnitOfTheWrongModelReportsItsOwnCode)
{
    SimUnit unit(UnitConfig{.row = 0, .unitId = 15, .modelCode = 5});
    unit.start();
    EXPECT_EQ(Exchange(unit.port(), kStatus, 2), (Bytes{0x50, 0x00}));
}

TEST(TwoByteDialect, SerialInterfaceRowsMarkTheSecondByte)
{
    SimUnit unit(UnitConfig{.row = 27, .unitId = 5, .inputBits = 0b11});
    unit.start();
    EXPECT_EQ(Exchange(unit.port(), kStatus, 2), (Bytes{0x4A, 0x73}));
}

TEST(TwoByteDialect, OutputsAreWrittenWholeAndReadBack)
{
    SimUnit unit(UnitConfig{.row = 5}); // five outputs
    unit.start();
    RawClient client(unit.port());
    client.send(Bytes{0xF0, 0x3F});
    EXPECT_EQ(client.read(2), (Bytes{0xF0, 0x1F}));
    client.send(kReadOutputs);
    EXPECT_EQ(client.read(2), (Bytes{0xE0, 0x1F}));
    EXPECT_EQ(unit.outputBits(), 0x1Fu);
}

TEST(NineByteDialect, SecondPortWritesAndReadsOutputsOnePerConnection)
{
    SimUnit unit(UnitConfig{.row = 1});
    unit.start();
    ASSERT_NE(unit.secondPort(), 0);
    EXPECT_EQ(Exchange(unit.secondPort(), NineByteWrite(0x05), 5), (Bytes{0x1B, 0x05, 0, 0, 0}));
    EXPECT_EQ(Exchange(unit.secondPort(), kNineByteRead, 5), (Bytes{0x13, 0x05, 0, 0, 0}));
    // Both ports see the same unit.
    EXPECT_EQ(Exchange(unit.port(), kReadOutputs, 2), (Bytes{0xE0, 0x05}));
    EXPECT_EQ(unit.acceptedConnections(), 3u);
    EXPECT_EQ(unit.receivedCommands()[0].port, PortKind::Second);
}

TEST(NineByteDialect, InputUnitsReportTheirUpperInputsOnTheSecondPort)
{
    SimUnit unit(UnitConfig{.row = 3, .inputBits = 0x65});
    unit.start();
    EXPECT_EQ(Exchange(unit.secondPort(), kNineByteRead, 5), (Bytes{0x13, 0x03, 0, 0, 0}));
    EXPECT_EQ(Exchange(unit.port(), kStatus, 2)[1], 0x02);
}

TEST(NineByteDialect, OnePortRowsHaveNoSecondPort)
{
    SimUnit unit(UnitConfig{.row = 0});
    unit.start();
    EXPECT_EQ(unit.secondPort(), 0);
}

} // namespace
} // namespace vantel::sim::test
