#include "TestBytes.h"
#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/AsciiReplies.h"

#include <gtest/gtest.h>

namespace vantel::ascii {
namespace {

using test::T;

TEST(AnalogInputs, OneInputCommandAndReply)
{
    const Request request = AI(2);
    EXPECT_EQ(request.bytes, "AI\x22" + T);
    EXPECT_EQ(request.reply, ReplyShape::Fixed(10));

    const auto reading = ParseAI("ai\x22"
                                 "00FF10" +
                                 T);
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->channel, 2);
    EXPECT_EQ(reading->raw, 0xFF10);
}

TEST(AnalogInputs, ReadingsAreTwentyFourBitTwosComplement)
{
    EXPECT_EQ(ParseAI("ai FFFFFF" + T)->raw, -1);
    EXPECT_EQ(ParseAI("ai 800000" + T)->raw, -8388608);
    EXPECT_EQ(ParseAI("ai 7FFFFF" + T)->raw, 8388607);
    EXPECT_EQ(ParseAI("ai 7fffff" + T)->raw, 8388607);
}

TEST(AnalogInputs, MalformedReadingsAreRejected)
{
    EXPECT_FALSE(ParseAI("ai 00G000" + T)); // not a hex digit
    EXPECT_FALSE(ParseAI("ai -00001" + T)); // sign is not a digit
    EXPECT_FALSE(ParseAI("ai 00000" + T));  // one digit short
    EXPECT_FALSE(ParseAI("ai 000000X"));    // no terminator
    EXPECT_FALSE(ParseAI("aj 000000" + T)); // another command's echo
    EXPECT_FALSE(ParseAI("AI 000000" + T)); // command, not reply
    EXPECT_FALSE(ParseAI(""));
    EXPECT_FALSE(ParseAI(T));
}

TEST(AnalogInputs, AllInputsReplyLengthFollowsTheInputCount)
{
    const Request five = AIAll(5, ChannelKind::Analog);
    EXPECT_EQ(five.bytes, "AI\x27" + T);
    EXPECT_EQ(five.reply, ReplyShape::Fixed(34));
    EXPECT_TRUE(AIAll(3, ChannelKind::Gateway).reply.isFramed());

    const auto readings = ParseAIAll("ai\x27"
                                     "000001"
                                     "FFFFFF"
                                     "7FFFFF" +
                                     T);
    ASSERT_TRUE(readings);
    EXPECT_EQ(*readings, (std::vector<std::int32_t>{1, -1, 8388607}));
}

TEST(AnalogInputs, AllInputsRejectsPartialGroupsAndBadDigits)
{
    EXPECT_FALSE(ParseAIAll("ai\x27"
                            "00000" +
                            T));
    EXPECT_FALSE(ParseAIAll("ai\x27"
                            "000000"
                            "00000Z" +
                            T));
    EXPECT_FALSE(ParseAIAll("ai\x27" + T));
}

TEST(AnalogInputs, RangeReadAndWrite)
{
    EXPECT_EQ(AJ(1).bytes, "AJ\x21" + T);
    EXPECT_EQ(AJ(1).reply, ReplyShape::Fixed(6));
    const auto range = ParseAJ("aj\x21\x26\x2B" + T);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->channel, 1);
    EXPECT_EQ(range->range, 6);
    EXPECT_EQ(range->secondCode, 11);

    EXPECT_EQ(AR(2, 4).bytes, "AR\x22\x24" + T);
    EXPECT_EQ(AR(2, 4).reply, ReplyShape::Fixed(5));
    const auto echo = ParseAR("ar\x22\x24" + T);
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->channel, 2);
    EXPECT_EQ(echo->range, 4);
    EXPECT_FALSE(ParseAR("ar\x22" + T));
}

TEST(AnalogInputs, SampleRate)
{
    EXPECT_EQ(AP(3).bytes, "AP\x23" + T);
    EXPECT_EQ(AP(3).reply, ReplyShape::Fixed(4));
}

TEST(Thresholds, ReadOneChannel)
{
    EXPECT_EQ(AK(0).bytes, "AK\x20" + T);
    EXPECT_EQ(AK(0).reply, ReplyShape::Fixed(13));
    const auto thresholds = ParseAK("ak\x21\x2B"
                                    "C000"
                                    "4000" +
                                    T);
    ASSERT_TRUE(thresholds);
    EXPECT_EQ(thresholds->channel, 1);
    EXPECT_TRUE(thresholds->block.ledWhenOutside);
    EXPECT_EQ(thresholds->block.mode, 3);
    EXPECT_EQ(thresholds->block.lowRaw, 0xC000);
    EXPECT_EQ(thresholds->block.highRaw, 0x4000);
}

TEST(Thresholds, ReadAllChannelsGivesThreeBlocks)
{
    EXPECT_EQ(AKAll(3, ChannelKind::Analog).bytes, "AK\x27" + T);
    EXPECT_EQ(AKAll(3, ChannelKind::Analog).reply, ReplyShape::Fixed(31));
    const auto blocks = ParseAKAll("ak\x27"
                                   "\x20"
                                   "0001"
                                   "0002"
                                   "\x28"
                                   "0003"
                                   "0004"
                                   "\x21"
                                   "FFFF"
                                   "0000" +
                                   T);
    ASSERT_TRUE(blocks);
    ASSERT_EQ(blocks->size(), 3u);
    EXPECT_FALSE((*blocks)[0].ledWhenOutside);
    EXPECT_EQ((*blocks)[0].highRaw, 2);
    EXPECT_TRUE((*blocks)[1].ledWhenOutside);
    EXPECT_EQ((*blocks)[1].lowRaw, 3);
    EXPECT_EQ((*blocks)[2].mode, 1);
    EXPECT_EQ((*blocks)[2].lowRaw, 0xFFFF);
    EXPECT_FALSE(ParseAKAll("ak\x27"
                            "\x20"
                            "0001"
                            "000" +
                            T));
}

TEST(Thresholds, WritePutsTheLowThresholdFirst)
{
    const Request request = AL(2, true, 1, 0xC000, 0x4000);
    EXPECT_EQ(request.bytes, "AL\x22\x29"
                             "C000"
                             "4000" +
                                 T);
    EXPECT_EQ(request.bytes.size(), 13u);
    EXPECT_EQ(request.reply, ReplyShape::Fixed(13));
    // Negative counts travel as their low 16 bits.
    EXPECT_EQ(AL(0, false, 0, -16384, -1).bytes, "AL\x20\x20"
                                                 "C000"
                                                 "FFFF" +
                                                     T);

    const auto echo = ParseAL("al\x22\x29"
                              "C000"
                              "4000" +
                              T);
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->channel, 2);
    EXPECT_TRUE(echo->block.ledWhenOutside);
    EXPECT_EQ(echo->block.lowRaw, 0xC000);
    EXPECT_FALSE(ParseAL("ak\x22\x29"
                         "C000"
                         "4000" +
                         T));
}

TEST(Thermocouple, ReadOneAndAllChannels)
{
    EXPECT_EQ(TJ(1).bytes, "TJ\x21" + T);
    EXPECT_EQ(TJ(1).reply, ReplyShape::Fixed(15));
    const auto one = ParseTJ("tj\x21\x23\x25"
                             "ABCDEFGHI" +
                             T);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->channel, 1);
    EXPECT_EQ(one->type, 3);
    EXPECT_EQ(one->setting, 5);

    EXPECT_EQ(TJAll(3, ChannelKind::Analog).reply, ReplyShape::Fixed(37));
    const std::string all = "tj\x27"
                            "\x21\x24"
                            "123456789"
                            "\x22\x25"
                            "abcdefghi"
                            "\x2F\x27"
                            "ZZZZZZZZZ" +
                            T;
    const auto blocks = ParseTJAll(all);
    ASSERT_TRUE(blocks);
    ASSERT_EQ(blocks->size(), 3u);
    EXPECT_EQ((*blocks)[1].type, 2);
    EXPECT_EQ((*blocks)[1].setting, 5);
    EXPECT_EQ((*blocks)[1].extra, "abcdefghi");
    EXPECT_EQ((*blocks)[2].type, 15);
    EXPECT_EQ((*blocks)[2].setting, 7);
    EXPECT_FALSE(ParseTJAll(all.substr(0, all.size() - 2) + T));
}

TEST(Thermocouple, Write)
{
    EXPECT_EQ(TC(2, 3, 6).bytes, "TC\x22\x23\x26" + T);
    EXPECT_EQ(TC(2, 3, 6).reply, ReplyShape::Fixed(6));
    const auto echo = ParseTC("tc\x22\x23\x26" + T);
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->channel, 2);
    EXPECT_EQ(echo->type, 3);
    EXPECT_EQ(echo->setting, 6);
}

TEST(SmallArguments, NeverProduceTheTerminatorInsideACommand)
{
    for (int value : {-1, 168, 255, 1000})
        EXPECT_EQ(AR(value, value).bytes.find('\xC8'), 4u) << value;
}

} // namespace
} // namespace vantel::ascii
