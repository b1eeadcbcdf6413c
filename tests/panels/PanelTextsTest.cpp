#include "panels/framework/PanelTexts.h"

#include <gtest/gtest.h>

using namespace vantel;

// The coded failures are put together from shared heads: each must still read
// exactly as the user has always seen it, separator and code included.
TEST(PanelTexts, CodedFailuresReadAsBefore)
{
    EXPECT_EQ(ConnectErrorText(10061), "接続エラー : 10061");
    EXPECT_EQ(CommunicationErrorText(-1), "通信エラー : -1");
    EXPECT_EQ(CodedFailureText(kConnectErrorHead, 10060), "接続エラー\ncode : 10060");
    EXPECT_EQ(CodedFailureText(kCommunicationErrorHead, 3) + std::string(kModeHint),
              "通信エラー\ncode : 3\n動作モードが「通常」以外の可能性があります");
}

TEST(PanelTexts, ConnectedDeviceNamesModelHostPortAndId)
{
    EXPECT_EQ(ConnectedDeviceText("QZ-K17", "192.168.0.9", 10001, 4),
              "接続デバイス : QZ-K17 ( 192.168.0.9 : 10001 ) : ID 4");
}
