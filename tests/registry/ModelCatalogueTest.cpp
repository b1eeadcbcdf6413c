#include "registry/ModelCatalogue.h"

#include <gtest/gtest.h>

using namespace vantel;

TEST(ModelCatalogue, FindModelRowHonoursWantedFlags)
{
    EXPECT_EQ(FindModelRow(9, 0), 21);
    EXPECT_EQ(FindModelRow(9, ModelFlag::SerialInterface), 28);
    EXPECT_EQ(FindModelRow(10, ModelFlag::ThirdWireless), 48);
    EXPECT_EQ(FindModelRow(10, ModelFlag::FirstWireless), kNoModel);
    EXPECT_EQ(FindModelRow(1, 0), 1);
    EXPECT_EQ(FindModelRow(1, ModelFlag::FirstWireless), 10);
    EXPECT_EQ(FindModelRow(1, ModelFlag::ThirdWireless), 40);
    EXPECT_EQ(FindModelRow(-1, 0), kNoModel) << "the terminating row is never matched";
    for (std::uint32_t flags : {0u, 0x1u, 0x100u, 0x400u, 0x401u})
        EXPECT_EQ(FindModelRow(99, flags), kNoModel);
}

TEST(ModelCatalogue, RowsAreTheirOwnIndexAndOutOfRangeIsEmpty)
{
    for (int i = 0; i <= kNoModel; ++i)
        EXPECT_EQ(ModelAt(i).index, i);
    for (int bad : {-1, 50, 51, 1000, -2147483647 - 1}) {
        EXPECT_EQ(ModelAt(bad).index, kNoModel);
        EXPECT_TRUE(ModelAt(bad).shortName.empty());
        EXPECT_EQ(ModelAt(bad).outputCount + ModelAt(bad).inputCount, 0);
    }
}

TEST(ModelCatalogue, FamilyBitsAreTestedOneByOne)
{
    // Rows 37 and 38 are both gateway and analog.
    EXPECT_TRUE(ModelAt(37).isGateway() && ModelAt(37).isAnalog());
    EXPECT_TRUE(ModelAt(38).isGateway() && ModelAt(38).isAnalog());
    int analog = 0, gateway = 0, twoPort = 0;
    for (int i = 0; i < kModelCount; ++i) {
        analog += ModelAt(i).isAnalog();
        gateway += ModelAt(i).isGateway();
        twoPort += ModelAt(i).has(ModelFlag::TwoPort);
    }
    EXPECT_EQ(analog, 9);
    EXPECT_EQ(gateway, 6);
    EXPECT_EQ(twoPort, 3);
    EXPECT_EQ(ModelAt(30).displayName, "QZ-K28");
    EXPECT_EQ(ModelAt(2).displayName, "QZ-K12-A / QZ-K12-A(G)");
}
