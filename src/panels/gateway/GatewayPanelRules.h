#pragma once

#include "panels/framework/AutoFunction.h"
#include "panels/framework/PanelTexts.h"

#include <string>
#include <string_view>

namespace vantel {

// What every panel of a unit behind the gateway shares.

// The unit's "md" reply to the connect check did not come in time.
inline constexpr const char* kGatewayConnectTimedOut = kConnectErrorHead;

inline constexpr const char* kWirelessTimeout =
    "通信タイムアウトが発生しました。\n無線通信データは消失することがございます。";

// The radio is slow: automatic periods are entered in seconds, and short
// ones must be confirmed.
inline constexpr PeriodRule kSecondsRule{1,
                                         9999,
                                         10,
                                         4,
                                         "時間設定が不正です。1-9999secの範囲で指定してください。",
                                         10,
                                         "設定した周期では制御できない場合があります。\r\n設定しますか。"};
inline constexpr const char* kSecondsUnit = kSecondsPeriodUnit;

// DK through the gateway always carries two groups of four outputs.
inline constexpr int kGatewayOutputGroups = 2;

// "model ( node : n / ID : n )"; "model ( node : n )" while the ID is not
// known (-1).
std::string GatewayInfoText(std::string_view displayName, int node, int unitId);

} // namespace vantel
