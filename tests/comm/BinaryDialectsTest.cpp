#include "TestBytes.h"
#include "comm/protocol/NineByteCommands.h"
#include "comm/protocol/TwoByteCommands.h"

#include <gtest/gtest.h>

namespace vantel {
namespace {

using test::Bytes;

TEST(TwoByte, Commands)
{
    EXPECT_EQ(twobyte::WriteOutputs(0x05).bytes, Bytes({0xF0, 0x05}));
    EXPECT_EQ(twobyte::ReadOutputs().bytes, Bytes({0xE0, 0x00}));
    EXPECT_EQ(twobyte::ReadInputs().bytes, Bytes({0x55, 0x55}));
    EXPECT_EQ(twobyte::ModelQuery().bytes, Bytes({0x55, 0x55}));
    EXPECT_EQ(twobyte::ReadInputs().reply, ReplyShape::Fixed(2));
}

TEST(TwoByte, OutputAndWriteReplies)
{
    EXPECT_EQ(twobyte::ParseReadOutputs(Bytes({0x00, 0x83})), 0x83);
    EXPECT_FALSE(twobyte::ParseReadOutputs(Bytes({0x83})));
    EXPECT_TRUE(twobyte::ParseWriteOutputs(Bytes({0x00, 0x00})));
    EXPECT_FALSE(twobyte::ParseWriteOutputs(""));
}

TEST(TwoByte, InputsSitInBitsSevenToEleven)
{
    const ModelRow& row = ModelAt(7);
    EXPECT_EQ(twobyte::ParseReadInputs(Bytes({0x80, 0x00}), row), 0x01);
    EXPECT_EQ(twobyte::ParseReadInputs(Bytes({0x7F, 0x0F}), row), 0x1E);
    EXPECT_EQ(twobyte::ParseReadInputs(Bytes({0xFF, 0xFF}), row), 0x1F);
}

TEST(TwoByte, SerialInterfaceRowsReadTwoInputsFromTheSecondByte)
{
    EXPECT_EQ(twobyte::ParseReadInputs(Bytes({0xFF, 0xFE}), ModelAt(27)), 2);
    EXPECT_EQ(twobyte::ParseReadInputs(Bytes({0x00, 0x03}), ModelAt(29)), 3);
}

TEST(TwoByte, ModelQuery)
{
    const auto plain = twobyte::ParseModelQuery(Bytes({0x35, 0x12}));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->modelCode, 3);
    EXPECT_EQ(plain->unitId, 10);

    const auto extended = twobyte::ParseModelQuery(Bytes({0x45, 0x70}));
    ASSERT_TRUE(extended);
    EXPECT_EQ(extended->modelCode, 7);
    EXPECT_EQ(extended->unitId, 10);

    const auto unknown = twobyte::ParseModelQuery(Bytes({0x05, 0x70}));
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->modelCode, -1);
    EXPECT_EQ(unknown->unitId, 0);

    // Bit 6 clear means unit ID 0 even with a known code.
    EXPECT_EQ(twobyte::ParseModelQuery(Bytes({0x25, 0x7F}))->unitId, 0);
    EXPECT_EQ(twobyte::ParseModelQuery(Bytes({0x25, 0x7F}))->modelCode, 9);
    EXPECT_EQ(twobyte::ParseModelQuery(Bytes({0x30, 0x70}))->modelCode, 10);
    EXPECT_EQ(twobyte::ParseModelQuery(Bytes({0x5F, 0x70}))->modelCode, 8);
    EXPECT_EQ(twobyte::ParseModelQuery(Bytes({0x5F, 0x70}))->unitId, 0);
    EXPECT_FALSE(twobyte::ParseModelQuery(Bytes({0x35})));
}

TEST(NineByte, Commands)
{
    const Request write = ninebyte::WriteOutputs(0x06);
    EXPECT_EQ(write.bytes, Bytes({0x1B, 0x07, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00}));
    EXPECT_EQ(write.reply, ReplyShape::Fixed(5));
    EXPECT_EQ(ninebyte::Query().bytes, Bytes({0x13, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ninebyte::Query().reply, ReplyShape::Fixed(5));
}

TEST(NineByte, Replies)
{
    const std::string reply = Bytes({0x00, 0xFF, 0x00, 0x00, 0x00});
    EXPECT_EQ(ninebyte::ParseReadOutputs(reply), 0xFF);
    EXPECT_EQ(ninebyte::ParseExtraInputs(reply), 0x60);
    EXPECT_EQ(ninebyte::ParseExtraInputs(Bytes({0, 0x01, 0, 0, 0})), 0x20);
    EXPECT_TRUE(ninebyte::ParseWriteOutputs(reply));
    EXPECT_FALSE(ninebyte::ParseReadOutputs(reply.substr(0, 4)));
    EXPECT_FALSE(ninebyte::ParseExtraInputs(""));
}

} // namespace
} // namespace vantel
