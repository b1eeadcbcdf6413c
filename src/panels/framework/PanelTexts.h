#pragma once

#include <string>

namespace vantel {

// Controls that every panel window has.
namespace PanelId {
inline constexpr int Disconnect = 1004; // "切断"
inline constexpr int Status = 1007;     // status line at the bottom
} // namespace PanelId

inline constexpr const char* kInvalidPeriod = "時間設定が不正です。";
inline constexpr const char* kCommunicationError = "ORVEX通信エラー";
// A connection that could not be made, with the channel's error code.
inline std::string ConnectErrorText(int code)
{
    return "接続エラー : " + std::to_string(code);
}
// Appended to the title of a panel that is logging its periodic reads.
inline constexpr const char* kLoggingMark = " (ロギング中)";
inline constexpr const char* kPeriodBoxStart = "10";

} // namespace vantel
