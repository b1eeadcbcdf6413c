#include "TestBytes.h"
#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/AsciiReplies.h"

#include <gtest/gtest.h>

namespace vantel::ascii {
namespace {

using test::T;

TEST(AnalogOutputs, SetValueCarriesModeInTheChannelByte)
{
    const Request voltage = AO(1, 0, 0x4000);
    EXPECT_EQ(voltage.bytes, "AO\x21"
                             "4000" +
                                 T);
    EXPECT_EQ(voltage.reply, ReplyShape::Fixed(8));
    EXPECT_EQ(AO(1, 1, 0x5000).bytes, "AO\x29"
                                      "5000" +
                                          T);
    // Any mode other than 1 is voltage.
    EXPECT_EQ(AO(2, 2, 0).bytes, "AO\x22"
                                 "0000" +
                                     T);
}

TEST(AnalogOutputs, NegativeSetValuesTravelAsTheirLowSixteenBits)
{
    EXPECT_EQ(AO(0, 0, -1).bytes, "AO\x20"
                                  "FFFF" +
                                      T);
    EXPECT_EQ(AO(0, 0, -32768).bytes, "AO\x20"
                                      "8000" +
                                          T);
}

TEST(AnalogOutputs, ReadBackSplitsChannelAndMode)
{
    EXPECT_EQ(AY(2).bytes, "AY\x22" + T);
    EXPECT_EQ(AY(2).reply, ReplyShape::Fixed(8));

    const auto current = ParseAY("ay\x2A"
                                 "5000" +
                                 T);
    ASSERT_TRUE(current);
    EXPECT_EQ(current->channel, 2);
    EXPECT_EQ(current->mode, 1);
    EXPECT_EQ(current->raw, 0x5000);

    const auto voltage = ParseAY("ay\x21"
                                 "FFFF" +
                                 T);
    ASSERT_TRUE(voltage);
    EXPECT_EQ(voltage->channel, 1);
    EXPECT_EQ(voltage->mode, 0);
    EXPECT_EQ(voltage->raw, 0xFFFF);
}

TEST(AnalogOutputs, ReadBackRejectsMalformedReplies)
{
    EXPECT_FALSE(ParseAY("ay\x21"
                         "FFF" +
                         T));
    EXPECT_FALSE(ParseAY("ay\x21"
                         "FF FF"));
    EXPECT_FALSE(ParseAY("ay\x21"
                         "FFFFF" +
                         T));
    EXPECT_FALSE(ParseAY("ao\x21"
                         "FFFF" +
                         T));
}

} // namespace
} // namespace vantel::ascii
