#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What the graph page and the log viewer say to the user.
namespace vantel {

// The graph page's and the log viewer's controls.
inline constexpr const char* kPeriodCaption = "表示期間";
inline constexpr const char* kVisibleCaption = "表示ON/OFF";
inline constexpr const char* kFocusCaption = "注目グラフ";
// The period choice after the page's periods that shows the whole log.
inline constexpr const char* kWholeLogItem = "全体";
inline constexpr const char* kSavePngAction = "グラフをPNGで保存...";
inline constexpr const char* kCannotSavePng = "PNGファイルを保存できません";
inline constexpr const char* kScaleMaxCaption = "グラフ表示範囲 最大";
inline constexpr const char* kScaleMinCaption = "グラフ表示範囲 最小";
inline constexpr const char* kInvalidScaleRange = "グラフ表示範囲が不正です";

// The log viewer's windows.
inline constexpr const char* kLogTitlePrefix = "ログ - ";
inline constexpr const char* kOpenLogTitle = "ログを開く";
inline constexpr const char* kLogFileFilter = "CSV (*.csv);;すべてのファイル (*)";
inline constexpr const char* kLoadingCaption = "読み込み中...";
inline constexpr const char* kCancelLoadCaption = "中止";
// %1 the unit, %2 the number of its files (Qt's arg() placeholders).
inline constexpr const char* kOpenSeriesQuestion = "「%1」の記録は %2 ファイルあります。すべてを時刻順に開きますか？\n"
                                                   "(いいえ: 選んだファイルだけを開きます)";

// A column whose header names no signal: "列<n>", n counting the fields from 1.
inline std::string UnnamedColumnText(std::size_t field)
{
    return "列" + std::to_string(field);
}

// The log viewer's title and summary.
inline std::string LogSpanText(std::string_view first, std::string_view last, std::size_t files)
{
    return std::string(first) + " ～ " + std::string(last) + " (" + std::to_string(files) + " ファイル)";
}
inline std::string LogSizeText(long lines, std::size_t files)
{
    return std::to_string(lines) + " 行 / " + std::to_string(files) + " ファイル";
}

// Why a log could not be read, and what was left out of it.
inline constexpr const char* kNoFileGiven = "ファイルが指定されていません。";
inline constexpr const char* kLoadCancelled = "読み込みを中止しました。";
inline constexpr const char* kNoLinesToShow = "表示できる行がありません。";
inline std::string OtherFilesUnreadableText(std::size_t files)
{
    return "\n(ほか " + std::to_string(files) + " ファイルも読めません)";
}
inline std::string CannotOpenLogText(std::string_view path)
{
    return std::string(path) + ": ファイルを開けません。";
}
inline std::string NotOurLogText(std::string_view path, std::string_view headerStart, std::string_view header)
{
    return std::string(path) + ": このプログラムのCSVログではありません。1行目は「" + std::string(headerStart) +
           ",信号名...」のはずですが、「" + std::string(header) + "」です。";
}
inline std::string DateTimeFormatText(std::string_view path, std::string_view format, std::string_view line)
{
    return std::string(path) + ": 日付と時刻が " + std::string(format) + " の形式ではありません (「" +
           std::string(line) + "」)。ほかの地域設定で書かれたログは読めません。";
}
inline std::string MissingColumnText(std::string_view name)
{
    return "列「" + std::string(name) + "」はありません。ある列:";
}
inline std::string HeaderDiffersText(std::string_view path, std::string_view header)
{
    return std::string(path) + ": 見出し行がほかのファイルと違うため除きました (「" + std::string(header) + "」)。";
}
inline std::string TooManyFieldsText(std::string_view path)
{
    return std::string(path) + ": 列が多すぎます。";
}
inline std::string NoSignalColumnsText(std::string_view path)
{
    return std::string(path) + ": 見出し行に信号の列がありません。";
}
inline std::string SeriesLimitText(std::size_t maxSeries, std::string_view firstLeftOut)
{
    return "グラフは " + std::to_string(maxSeries) + " 本までのため、「" + std::string(firstLeftOut) +
           "」からあとの列は描きません。";
}
inline std::string TruncatedLinesText(long lines)
{
    return std::to_string(lines) + " 行の途中で切れた最後の行を飛ばしました。";
}
inline std::string BadLinesText(long lines)
{
    return std::to_string(lines) + " 行の数値でない値や欠けた列のある行を飛ばしました。";
}
inline std::string BackwardLinesText(long lines)
{
    return std::to_string(lines) + " 行の時刻が前の行より戻っている行を飛ばしました。";
}
inline std::string LinesLeftOutText(long lines)
{
    return "行数が多すぎるため、最初の " + std::to_string(lines) + " 行は描きません。";
}

} // namespace vantel
