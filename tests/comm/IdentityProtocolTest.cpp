#include "TestBytes.h"
#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/AsciiReplies.h"

#include <gtest/gtest.h>

namespace vantel::ascii {
namespace {

using test::T;

TEST(ModelQuery, CommandShapePerChannel)
{
    EXPECT_EQ(MI(ChannelKind::Analog).bytes, "MI" + T);
    EXPECT_EQ(MI(ChannelKind::Analog).reply, ReplyShape::Fixed(5));
    EXPECT_TRUE(MI(ChannelKind::Digital).reply.isFramed());
}

TEST(ModelQuery, UnitIdIsFifteenMinusTheLowNibble)
{
    const auto identity = ParseMI("mi\x25\x28" + T, false);
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->unitId, 10);
    EXPECT_EQ(identity->modelCode, 8);
}

TEST(ModelQuery, CodeFifteenIsExtendedOnlyWhenAsked)
{
    const std::string reply = "mi\x20\x2F\x23" + T;
    EXPECT_EQ(ParseMI(reply, true)->modelCode, 0x13);
    EXPECT_EQ(ParseMI(reply, false)->modelCode, 15);
    // No fourth field: nothing to extend with, the terminator is not data.
    EXPECT_EQ(ParseMI("mi\x20\x2F" + T, true)->modelCode, 15);
    // Other codes ignore the fourth field.
    EXPECT_EQ(ParseMI("mi\x20\x2C\x23" + T, true)->modelCode, 12);
}

TEST(ModelQuery, RejectsWrongLengthsAndEchoes)
{
    EXPECT_FALSE(ParseMI("mi\x20" + T, false));
    EXPECT_FALSE(ParseMI("mi\x20\x2F\x23\x23" + T, true));
    EXPECT_FALSE(ParseMI("md\x20\x2F" + T, true));
    EXPECT_FALSE(ParseMI("mi\x20\x2F\x23", true));
}

TEST(ModelQuery, ReplyLengthFromTheFirstBytes)
{
    EXPECT_EQ(MIReplyLength("mi\x20\x2F\x23"), 6u);
    EXPECT_EQ(MIReplyLength("mi\x20\x28" + T), 5u);
    EXPECT_EQ(MIReplyLength("mi"), 5u);
}

TEST(GatewayIdentity, ModelQueryOfFiveOrSixBytes)
{
    EXPECT_EQ(MD().bytes, "MD" + T);
    const auto identity = ParseMD("md\x24\x28" + T);
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->unitId, 11);
    EXPECT_EQ(identity->modelCode, 8);
    EXPECT_TRUE(ParseMD("md\x24\x28X" + T));
    EXPECT_FALSE(ParseMD("md\x24" + T));
    EXPECT_FALSE(ParseMD("md\x24\x28XY" + T));
}

TEST(GatewayIdentity, StatusQueryCarriesIdAndModelAfterTwoHexDigits)
{
    EXPECT_EQ(SN().bytes, "SN" + T);
    const auto identity = ParseSN("sn1A\x2E\x21" + T);
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->unitId, 1);
    EXPECT_EQ(identity->modelCode, 1);
    EXPECT_TRUE(ParseSN("sn1A\x2E\x21X" + T));
    EXPECT_FALSE(ParseSN("snZZ\x2E\x21" + T));
    EXPECT_FALSE(ParseSN("sn1A\x2E" + T));
}

TEST(MemoryRead, ReplyLengthFollowsTheByteCount)
{
    EXPECT_EQ(MR(kMemoryConfigByte, kMemoryConfigByteCount).bytes, "MR0491" + T);
    EXPECT_EQ(MR(kMemoryConfigByte, kMemoryConfigByteCount).reply, ReplyShape::Fixed(9));
    EXPECT_EQ(MR(kMemoryInputRanges, kMemoryInputRangesCount).reply, ReplyShape::Fixed(15));
    EXPECT_EQ(MR(kMemoryOutputConfig, kMemoryOutputConfigCount).bytes, "MR0D08" + T);
    EXPECT_EQ(MR(kMemoryOutputConfig, kMemoryOutputConfigCount).reply, ReplyShape::Fixed(23));
}

TEST(MemoryRead, ParsesAddressAndBytes)
{
    const auto one = ParseMR("mr0491A5" + T);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->address, 0x0491);
    EXPECT_EQ(one->bytes, (std::vector<std::uint8_t>{0xA5}));

    const auto ranges = ParseMR("mr1004FF020306" + T);
    ASSERT_TRUE(ranges);
    EXPECT_EQ(ranges->address, 0x1004);
    EXPECT_EQ(ranges->bytes, (std::vector<std::uint8_t>{0xFF, 0x02, 0x03, 0x06}));
}

TEST(MemoryRead, RejectsOddDigitsAndMissingData)
{
    EXPECT_FALSE(ParseMR("mr0491A" + T));
    EXPECT_FALSE(ParseMR("mr0491" + T));
    EXPECT_FALSE(ParseMR("mr04G1A5" + T));
    EXPECT_FALSE(ParseMR("mr0491A5"));
}

} // namespace
} // namespace vantel::ascii
