#pragma once

#include <string>
#include <string_view>

namespace vantel {

// Controls that every panel window has.
namespace PanelId {
inline constexpr int Disconnect = 1004; // "切断"
inline constexpr int Status = 1007;     // status line at the bottom
} // namespace PanelId

inline constexpr const char* kInvalidPeriod = "時間設定が不正です。";
inline constexpr const char* kCommunicationError = "ORVEX通信エラー";
// A unit that answered with another model's code.
inline constexpr const char* kWrongModel = "モデルが違います。";

// The heads of the coded failure boxes; the search and vantelctl's search
// say the plain communication error on its own.
inline constexpr const char* kConnectErrorHead = "接続エラー";
inline constexpr const char* kCommunicationErrorHead = "通信エラー";
// Appended to a coded failure of a unit with operating modes that refused.
inline constexpr std::string_view kPortOrModeHint =
    "\n接続先ポートが使用中もしくは、動作モードが「通常」以外の可能性があります";
inline constexpr std::string_view kModeHint = "\n動作モードが「通常」以外の可能性があります";

// "接続エラー : <code>": a connection that could not be made, with the
// channel's error code.
inline std::string ConnectErrorText(int code)
{
    return std::string(kConnectErrorHead) + " : " + std::to_string(code);
}
// "通信エラー : <code>": a request to a unit behind the gateway that could
// not be sent, with the link's error code.
inline std::string CommunicationErrorText(int code)
{
    return std::string(kCommunicationErrorHead) + " : " + std::to_string(code);
}
// "<head>\ncode : <code>": the box of a failed connect or identity check.
inline std::string CodedFailureText(std::string_view head, int code)
{
    return std::string(head) + "\ncode : " + std::to_string(code);
}

// Appended to the title of a panel that is logging its periodic reads.
inline constexpr const char* kLoggingMark = " (ロギング中)";
inline constexpr const char* kPeriodBoxStart = "10";

// Captions of the panel windows and pages.
inline constexpr const char* kDisconnectCaption = "切断";
inline constexpr const char* kReadInputsCaption = "入力";
inline constexpr const char* kAutoCaption = "自動";
inline constexpr const char* kControlTabCaption = "制御";
inline constexpr const char* kGraphTabCaption = "グラフ";
inline constexpr const char* kOnOffButtonCaption = "ON/OFF";
// The status line until the panel's first status.
inline constexpr const char* kStatusPlaceholder = "INFORMATION";
// Beside the period boxes: ticks of 100 ms, or of 1 s behind the gateway.
inline constexpr const char* kTenthsPeriodUnit = "x100ms";
inline constexpr const char* kSecondsPeriodUnit = "x1sec";

// The analog pages' captions.
inline constexpr const char* kMeasuredCaption = "測定値";
inline constexpr const char* kShownValueCaption = "表示値";
inline constexpr const char* kConvertedOutputCaption = "換算出力値";
inline constexpr const char* kOutputSettingCaption = "出力設定値";
inline constexpr const char* kOutputCaption = "出力";
inline constexpr const char* kSweepHeading = "スイープ";
inline constexpr const char* kSweepButtonCaption = "SWEEP";
inline constexpr const char* kFormulaButtonCaption = "換算式";
inline constexpr const char* kThresholdButtonCaption = "閾値";
inline constexpr const char* kSettingsButtonCaption = "設定";
inline constexpr const char* kThermocoupleButtonCaption = "熱電対設定";
inline constexpr const char* kOutputAlertCaption = "DOアラート";

// The status line of an analog unit on the LAN:
// "接続デバイス : <model> ( <host> : <port> ) : ID <unit id>".
inline std::string ConnectedDeviceText(std::string_view model, std::string_view host, int port, int unitId)
{
    return "接続デバイス : " + std::string(model) + " ( " + std::string(host) + " : " + std::to_string(port) +
           " ) : ID " + std::to_string(unitId);
}

} // namespace vantel
