#include "graph/GraphTexts.h"

#include <gtest/gtest.h>

using namespace vantel;

// The log viewer's notes with a number or a name in them that no loading
// test reaches: each placeholder lands where the sentence expects it.
TEST(GraphTexts, NotesPutTheirNumbersAndNamesInPlace)
{
    EXPECT_EQ(SeriesLimitText(16, "AI1"), "グラフは 16 本までのため、「AI1」からあとの列は描きません。");
    EXPECT_EQ(BackwardLinesText(2), "2 行の時刻が前の行より戻っている行を飛ばしました。");
    EXPECT_EQ(LinesLeftOutText(1200), "行数が多すぎるため、最初の 1200 行は描きません。");
    EXPECT_EQ(OtherFilesUnreadableText(3), "\n(ほか 3 ファイルも読めません)");
    EXPECT_EQ(TooManyFieldsText("a.csv"), "a.csv: 列が多すぎます。");
    EXPECT_EQ(NoSignalColumnsText("a.csv"), "a.csv: 見出し行に信号の列がありません。");
    EXPECT_EQ(DateTimeFormatText("a.csv", "yyyy/MM/dd,HH:mm:ss", "12.06.2026,x"),
              "a.csv: 日付と時刻が yyyy/MM/dd,HH:mm:ss の形式ではありません (「12.06.2026,x」)。"
              "ほかの地域設定で書かれたログは読めません。");
}
