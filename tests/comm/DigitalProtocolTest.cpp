#include "TestBytes.h"
#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/AsciiReplies.h"

#include <gtest/gtest.h>

namespace vantel::ascii {
namespace {

using test::T;

TEST(DigitalOutputs, AnalogChannelWritesExactlyTwoGroups)
{
    const Request request = DO(ChannelKind::Analog, 0x5A3, 4);
    EXPECT_EQ(request.bytes, "DO\x23\x2A" + T);
    EXPECT_EQ(request.reply, ReplyShape::Fixed(5));
}

TEST(DigitalOutputs, DigitalChannelWritesTheRowsGroupCount)
{
    EXPECT_EQ(DO(ChannelKind::Digital, 0xA5, 2).bytes, "DO\x25\x2A" + T);
    const Request sixteen = DO(ChannelKind::Digital, 0xF00F, 4);
    EXPECT_EQ(sixteen.bytes, "DO\x2F\x20\x20\x2F" + T);
    EXPECT_TRUE(sixteen.reply.isFramed());
    EXPECT_EQ(sixteen.reply.length, 256u);
}

TEST(DigitalOutputs, MaskedWriteSendsStateThenMaskPerGroup)
{
    // Output 5 switched on, as a gateway panel sends it.
    EXPECT_EQ(DK(1 << 5, 1 << 5, 2).bytes, "DK\x20\x20\x22\x22" + T);
    const Request request = DK(0x0F, 0x13, 2);
    EXPECT_EQ(request.bytes, "DK\x2F\x23\x20\x21" + T);
    EXPECT_TRUE(request.reply.isFramed());

    EXPECT_EQ(ParseDK("dk\x25\x21" + T), 0x15);
    EXPECT_FALSE(ParseDK("dy\x25\x21" + T));
}

TEST(DigitalOutputs, ReadShapeDependsOnTheChannel)
{
    EXPECT_EQ(DY(ChannelKind::Analog).bytes, "DY" + T);
    EXPECT_EQ(DY(ChannelKind::Analog).reply, ReplyShape::Fixed(5));
    EXPECT_TRUE(DY(ChannelKind::Digital).reply.isFramed());
    EXPECT_EQ(DI(ChannelKind::Digital).bytes, "DI" + T);
    EXPECT_EQ(DI(ChannelKind::Analog).reply, ReplyShape::Fixed(5));
}

TEST(DigitalOutputs, AnalogChannelPlacesTheSecondGroupAtBitEight)
{
    EXPECT_EQ(ParseDY("dy\x25\x23" + T, ChannelKind::Analog), 0x305);
    EXPECT_EQ(ParseDI("di\x27\x20" + T, ChannelKind::Analog), 7);
    EXPECT_FALSE(ParseDI("di\x27\x20\x20" + T, ChannelKind::Analog));
}

TEST(DigitalOutputs, DigitalChannelStacksGroupsFourBitsApart)
{
    EXPECT_EQ(ParseDY("dy\x25\x23" + T, ChannelKind::Digital), 0x35);
    EXPECT_EQ(ParseDI("di\x21\x22\x24\x28" + T, ChannelKind::Gateway), 0x8421);
    EXPECT_EQ(ParseDI("di" + T, ChannelKind::Digital), 0);
    // More groups than an int holds is not a reply of any unit.
    EXPECT_FALSE(ParseDI("di" + std::string(9, '\x2F') + T, ChannelKind::Digital));
    EXPECT_FALSE(ParseDI("dy\x21" + T, ChannelKind::Digital));
}

TEST(DigitalOutputs, SwitchOneOutputReadsAllBack)
{
    const Request request = DS(3, 1);
    EXPECT_EQ(request.bytes, "DS\x23\x21" + T + "DY" + T);
    EXPECT_EQ(request.bytes.size(), 8u);
    EXPECT_EQ(request.reply, ReplyShape::Fixed(10));

    const auto result = ParseDS("ds\x23\x21" + T + "dy\x28\x21" + T);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->channel, 3);
    EXPECT_EQ(result->state, 1);
    EXPECT_EQ(result->outputBits, 0x108);
    EXPECT_FALSE(ParseDS("ds\x23\x21" + T + "dk\x28\x21" + T));
    EXPECT_FALSE(ParseDS("ds\x23\x21\x21"
                         "dy\x28\x21" +
                         T));
}

TEST(OutputAlerts, ReadAndWrite)
{
    EXPECT_EQ(DJ(1).bytes, "DJ\x21" + T);
    EXPECT_EQ(DJ(1).reply, ReplyShape::Fixed(11));
    const auto alert = ParseDJ("dj\x21\x21\x26\x21"
                               "8001" +
                               T);
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->channel, 1);
    EXPECT_EQ(alert->firstSetting, 1);
    EXPECT_EQ(alert->secondSetting, 6);
    EXPECT_EQ(alert->statusBit, 1);
    EXPECT_EQ(alert->alertRaw, 0x8001);
    EXPECT_FALSE(ParseDJ("dj\x21\x21\x26\x21"
                         "80x1" +
                         T));

    const Request write = DL(2, 1, 5, 0xABCD);
    EXPECT_EQ(write.bytes, "DL\x22\x21\x25"
                           "ABCD" +
                               T);
    EXPECT_EQ(write.reply, ReplyShape::Fixed(10));
    const auto echo = ParseDL("dl\x22\x21\x25"
                              "ABCD" +
                              T);
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->secondSetting, 5);
    EXPECT_EQ(echo->alertRaw, 0xABCD);
}

TEST(OneShot, QueryPerOutput)
{
    EXPECT_EQ(NJ(4).bytes, "NJ\x24" + T);
    EXPECT_TRUE(NJ(4).reply.isFramed());
    const auto value = ParseNJ("nj\x24"
                               "1F" +
                               T);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->output, 4);
    EXPECT_EQ(value->value, 0x1F);
    EXPECT_FALSE(ParseNJ("nj\x24"
                         "1" +
                         T));
}

TEST(Echo, ComparesLowerCaseLetters)
{
    EXPECT_TRUE(EchoesCommand("di\x21", "DI" + T));
    EXPECT_FALSE(EchoesCommand("dy\x21", "DI" + T));
    EXPECT_FALSE(EchoesCommand("d", "DI"));
}

} // namespace
} // namespace vantel::ascii
