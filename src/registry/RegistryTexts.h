#pragma once

#include <string_view>

// What the unit list and its add/change dialog say to the user. The refusals
// of adding a unit or saving the list are shared with the main window, the
// network search and vantelctl, which all add to the same list.
namespace vantel {

inline constexpr std::string_view kCannotAdd = "追加できません。";
inline constexpr std::string_view kCannotSave = "変更が保存できませんでした。";
// The head of the message about a list file that exists but cannot be read;
// the program and vantelctl add the path and the reason each in their way.
inline constexpr const char* kListUnreadable = "ユニットリストを読み込めません";

// The captions of the unit list's columns (UnitListColumns); the search's
// list has a model column too.
inline constexpr const char* kNameColumnCaption = "ユニット名称";
inline constexpr const char* kHostColumnCaption = "接続先";
inline constexpr const char* kPortColumnCaption = "ポート/ノード";
inline constexpr const char* kModelColumnCaption = "機種";

// The add/change dialog's refusals, in the order it checks its fields.
inline constexpr std::string_view kNameMissing = "ユニット名称が未入力です。";
inline constexpr std::string_view kNameBadChar = "ユニット名称に登録できない文字があります。";
inline constexpr std::string_view kNameTooLong = "ユニット名称が長すぎます。128バイト以内で入力してください。";
// Two names whose log files would be the same file.
inline constexpr std::string_view kLogNameTaken =
    "すでに登録済のユニット名称と同じログファイル名になるため設定できません。";
inline constexpr std::string_view kHostMissing = "ホスト名が未入力です。";
inline constexpr std::string_view kHostBadChar = "ホスト名に登録できない文字があります。";
inline constexpr std::string_view kHostTooLong = "ホスト名が長すぎます。128バイト以内で入力してください。";
inline constexpr std::string_view kPortMissing = "ポート番号が未入力です。";
inline constexpr std::string_view kPortInvalid = "そのポート番号は設定できません。";
inline constexpr std::string_view kFieldMissing = "未入力の項目があります。";
inline constexpr std::string_view kNodeMissing = "ノード番号が未入力です。";
inline constexpr std::string_view kNodeRange = "ノード番号は0-254の範囲で指定してください。";
inline constexpr std::string_view kTimeoutMissing = "タイムアウト時間が未入力です。";
inline constexpr std::string_view kTimeoutRange = "タイムアウト時間は1-120秒の範囲で指定してください。";
// Asked before a gateway unit keeps a time-out under 10 s.
inline constexpr std::string_view kShortTimeoutQuestion =
    "通信タイムアウトになり、処理を終了する可能性があります。\r\n設定しますか。";

// The add/change dialog's captions.
inline constexpr const char* kAddUnitCaption = "ユニットの追加";
inline constexpr const char* kChangeUnitCaption = "ユニットの変更";
inline constexpr const char* kUnitNameCaption = "ユニット名称 :";
inline constexpr const char* kModelGroupCaption = "ORVEXモデル";
inline constexpr const char* kOrvexCategoryCaption = "ORVEX";
inline constexpr const char* kWirelessCategoryCaption = "ORVEX (無線)";
inline constexpr const char* kAnalogCategoryCaption = "ORVEX (アナログ対応モデル)";
inline constexpr const char* kGatewayCategoryCaption = "ORVEX-GW";
inline constexpr const char* kHostCaption = "ホスト名 :";
inline constexpr const char* kGatewayHostCaption = "QZ-GW10のホスト名 :";
inline constexpr const char* kPortCheckCaption = "ポート設定をデフォルトから変更する";
inline constexpr const char* kControlPortCaption = "制御ポート :";
inline constexpr const char* kGatewayPortCaption = "ポート番号 :";
inline constexpr const char* kSecondPortCaption = "QZ-K11, QZ-K12 シリーズ用 追加ポート :";
inline constexpr const char* kNodeCaption = "ノード番号(0-254) :";
inline constexpr const char* kLanCaption = "LAN接続";
inline constexpr const char* kUsbCaption = "USB接続";
inline constexpr const char* kComPortCaption = "COMポート番号 :";
inline constexpr const char* kTimeoutCaption = "通信タイムアウト(10-120秒) :";

} // namespace vantel
