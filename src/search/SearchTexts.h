#pragma once

#include <string_view>

// What the network search says to the user; vantelctl's search says the same.
namespace vantel {

inline constexpr const char* kSearchListCaption = "検索結果(&R):";
// The list caption while the search runs.
inline constexpr const char* kSearchingCaption = "検索中...";
// The progress box while a unit is asked for its model.
inline constexpr const char* kQueryingText = "情報取得中...";
inline constexpr std::string_view kModelUnknown = "通信エラー。モデルを取得できません。";
inline constexpr std::string_view kAdded = "指定のデバイスを追加しました。";

// The search window's captions.
inline constexpr const char* kSearchTitle = "ORVEXの検索";
inline constexpr const char* kMacColumnCaption = "MACアドレス";
inline constexpr const char* kIpColumnCaption = "IPアドレス";
// The progress box's text until the first query sets it.
inline constexpr const char* kProgressPlaceholder = "hogehoge";
inline constexpr const char* kSearchPortCaption = "ORVEXポート(&P):";
inline constexpr const char* kSearchAgainCaption = "再検索(&S)";
inline constexpr const char* kCloseCaption = "閉じる";

} // namespace vantel
