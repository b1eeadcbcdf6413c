#pragma once

#include <string>
#include <string_view>

// What the main window and the program say to the user.
namespace vantel {

inline constexpr const char* kNoAdapter =
    "ネットワークデバイスが見つかりません。\r\nLANケーブルやパソコンのWi-Fi設定などを確認してください";
inline constexpr const char* kCannotChange = "変更できません。";
inline constexpr const char* kCannotDelete = "削除できません。";
// Changing, deleting or moving a unit whose panel is open.
inline constexpr const char* kInUse = "使用中のデバイスには実行できません。";
inline constexpr const char* kUnknownModelCannotConnect =
    "このユニットの機種が不明なため接続できません。\r\n「変更」で機種を選択してください。";
inline constexpr const char* kChooseLogFolder = "ログフォルダを選択してください";
// Asked before a unit leaves the list.
inline std::string DeleteQuestion(std::string_view unitName)
{
    return "[ " + std::string(unitName) + " ]を削除します。";
}
// The lines-per-file choices of the automatic file switching, in order.
inline constexpr const char* kLinesPerFileItems[] = {"1000行", "1万行", "10万行", "100万行"};

// A second gateway product while one is connected.
inline constexpr const char* kOtherGateway = "すでに別のGW製品と接続中の場合、この接続はできません。"
                                             "すべての接続を一度切断する必要があります。";
inline constexpr const char* kGatewayConnecting = "ORVEX-GW接続中 . . .";

// Another program holds the unit list's lock; the list's path and the
// holder follow.
inline constexpr const char* kListInUse = "ユニットリストは他のプログラムが使用中です。\n";

// The main window's captions.
inline constexpr const char* kAdapterCaption = "ネットワークデバイス選択(&N)";
inline constexpr const char* kDeviceListCaption = "デバイスリスト(&D)";
inline constexpr const char* kSearchAddCaption = "検索・追加(&S)";
inline constexpr const char* kChangeCaption = "変更(&H)";
inline constexpr const char* kDeleteCaption = "削除(&L)";
inline constexpr const char* kMoveUpCaption = "上へ";
inline constexpr const char* kMoveDownCaption = "下へ";
inline constexpr const char* kConnectCaption = "接続(&C)";
inline constexpr const char* kOpenLogButtonCaption = "ログを開く(&O)...";
inline constexpr const char* kLogGroupCaption = "ログ";
inline constexpr const char* kLoggingCaption = "ロギング有効(&E)";
inline constexpr const char* kFileSwitchingCaption = "ファイル自動切換(&F)";
inline constexpr const char* kBrowseCaption = "参照(&R)...";
inline constexpr const char* kFolderCaption = "フォルダ :";
inline constexpr const char* kExitCaption = "終了(&X)";

// The communication trace window.
inline constexpr const char* kTraceButtonCaption = "通信トレース(&T)...";
inline constexpr const char* kTraceWindowTitle = "通信トレース";
inline constexpr const char* kTraceTimeColumn = "時刻";
inline constexpr const char* kTraceUnitColumn = "ユニット";
inline constexpr const char* kTraceDirectionColumn = "方向";
inline constexpr const char* kTraceHexColumn = "16進";
inline constexpr const char* kTraceTextColumn = "テキスト";
inline constexpr const char* kTraceMeaningColumn = "意味";
inline constexpr const char* kTraceAllUnits = "すべてのユニット";
inline constexpr const char* kTraceAllDirections = "すべての方向";
inline constexpr const char* kTraceSentOnly = "→ 送信";
inline constexpr const char* kTraceReceivedOnly = "← 受信";
inline constexpr const char* kTraceEventsOnly = "· その他";
inline constexpr const char* kTracePauseCaption = "一時停止(&P)";
inline constexpr const char* kTraceClearCaption = "クリア(&L)";
inline constexpr const char* kTraceSaveCaption = "保存...";
inline constexpr const char* kTraceCloseCaption = "閉じる";
inline constexpr const char* kTraceRowCount = "%1 件";
inline constexpr const char* kTraceDroppedCount = "（古い %1 件は削除）";
inline constexpr const char* kTraceSaveFailed = "保存できませんでした。";
inline constexpr const char* kTraceFileFilter = "トレース (*.tsv *.txt);;すべてのファイル (*)";

} // namespace vantel
