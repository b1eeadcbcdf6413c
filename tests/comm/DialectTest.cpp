#include "comm/protocol/Dialect.h"

#include <gtest/gtest.h>

namespace vantel {
namespace {

TEST(Dialect, AnalogAndGatewayRowsAlwaysSpeakAscii)
{
    for (int row : {18, 19, 20, 21, 30, 33, 34, 35, 36, 37, 38, 48, 49})
        EXPECT_EQ(DialectOf(ModelAt(row)), Dialect::Ascii) << "row " << row;
}

TEST(Dialect, DigitalLinesChooseByFamilyBits)
{
    for (int row : {22, 26, 31, 32, 39, 47})
        EXPECT_EQ(DialectOf(ModelAt(row)), Dialect::Ascii) << "row " << row;
    for (int row : {0, 1, 2, 3, 8, 9, 17, 27, 29})
        EXPECT_EQ(DialectOf(ModelAt(row)), Dialect::TwoByte) << "row " << row;
}

TEST(Dialect, NineByteUseIsLimitedToTheTwoPortRows)
{
    EXPECT_TRUE(UsesNineByteOutputs(ModelAt(1)));
    EXPECT_FALSE(UsesNineByteExtraInputs(ModelAt(1)));
    for (int row : {2, 3}) {
        EXPECT_TRUE(UsesNineByteExtraInputs(ModelAt(row)));
        EXPECT_FALSE(UsesNineByteOutputs(ModelAt(row)));
    }
    // Rows sharing the model code of rows 1-3 but without a second port.
    for (int row : {0, 10, 11, 12, 40, 41, 42}) {
        EXPECT_FALSE(UsesNineByteOutputs(ModelAt(row)));
        EXPECT_FALSE(UsesNineByteExtraInputs(ModelAt(row)));
    }
}

TEST(Dialect, DigitalGroupCountIsQuarterOfOutputsButAtLeastTwo)
{
    EXPECT_EQ(DigitalGroupCount(ModelAt(23)), 2); // 8 outputs
    EXPECT_EQ(DigitalGroupCount(ModelAt(4)), 2);  // 5 outputs
    EXPECT_EQ(DigitalGroupCount(ModelAt(25)), 2); // no outputs
    ModelRow sixteen = ModelAt(23);
    sixteen.outputCount = 16;
    EXPECT_EQ(DigitalGroupCount(sixteen), 4);
}

TEST(Dialect, ModelCodeExtensionSkipsTheGatewayLine)
{
    EXPECT_TRUE(ExtendsModelCode(ModelAt(22)));
    EXPECT_FALSE(ExtendsModelCode(ModelAt(33)));
    EXPECT_FALSE(ExtendsModelCode(ModelAt(37)));
}

} // namespace
} // namespace vantel
