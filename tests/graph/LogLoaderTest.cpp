#include "graph/LogLoader.h"
#include "graph/CanvasPainter.h"
#include "graph/LogSeriesFiles.h"
#include "graph/LogTimestamp.h"
#include "support/PanelLogWriter.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vantel;
using test::AnalogField;
using test::PanelLogWriter;

namespace {

// 2026/12/06 23:15:00 in the machine's zone, where the tests read it back.
std::time_t Opened()
{
    return test::LocalMoment({2026, 12, 6, 23, 15, 0});
}

double Seconds(std::time_t at)
{
    return static_cast<double>(at);
}

std::vector<LECanvasSample> SamplesOf(const LECanvas& canvas, int series)
{
    const auto guard = canvas.lock();
    const SampleRing& ring = canvas.seriesLocked().at(static_cast<std::size_t>(series))->samplesLocked();
    std::vector<LECanvasSample> out;
    for (std::size_t i = 0; i < ring.size(); ++i)
        out.push_back(ring[i]);
    return out;
}

std::string UnitOf(const LECanvas& canvas, int series)
{
    return canvas.GetSeries(series)->GetUnit();
}

bool IsDigital(const LECanvas& canvas, int series)
{
    const auto guard = canvas.lock();
    return canvas.seriesLocked().at(static_cast<std::size_t>(series))->digitalLocked();
}

LogLoadOutcome Load(std::vector<std::string> files, const TextCodec& preferred = TextCodec("CP932"))
{
    LogLoadRequest request;
    request.files = std::move(files);
    const std::atomic<bool> cancel{false};
    return LoadLogs(request, cancel, {}, preferred);
}

bool NoteContains(const LogLoadOutcome& outcome, const std::string& part)
{
    for (const std::string& note : outcome.notes)
        if (note.find(part) != std::string::npos)
            return true;
    return false;
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
}

class LogLoader : public ::testing::Test {
protected:
    test::TempFolder logs;
    const std::time_t t0 = Opened();
};

TEST_F(LogLoader, ReadsEveryPanelClassInBothCodePagesToTheLoggedValues)
{
    for (const char* codePage : {"CP932", "UTF-8"}) {
        SCOPED_TRACE(codePage);
        const TextCodec codec(codePage);
        const std::string folder = logs.folder() + codePage + "/";
        std::filesystem::create_directory(folder);
        PanelLogWriter digital(folder, "デジタル", test::kDigitalHeader, CsvLogger::kSwitchingOff, t0, codec);
        PanelLogWriter inputs(folder, "入力", test::kAnalogInputHeader, CsvLogger::kSwitchingOff, t0, codec);
        PanelLogWriter outputs(folder, "出力", test::kAnalogOutputHeader, CsvLogger::kSwitchingOff, t0, codec);
        PanelLogWriter five(folder, "五入力", test::kFiveInputHeader, CsvLogger::kSwitchingOff, t0, codec);
        for (int i = 0; i < 10; ++i) {
            const std::time_t at = t0 + i;
            digital.write(at, i % 2 ? ",1,0,0,1,0,1,1,0" : ",0,1,0,0,1,0,0,1");
            inputs.write(at, AnalogField(-1.25 + i, "mV") + AnalogField(3.5, "V") + AnalogField(i * 100.0, "℃") +
                                 (i % 3 ? ",1,0" : ",0,1"));
            outputs.write(at, ",1,0,1" + AnalogField(9.875, "V") + AnalogField(0.004 * i, "mA"));
            five.write(at, AnalogField(20.5 + i, "℃") + AnalogField(1, "V") + AnalogField(2, "V") +
                               AnalogField(3, "V") + AnalogField(-4.5, "mA"));
        }

        // The other code page is preferred: the header still decides.
        const TextCodec preferred(codec.isUtf8() ? "CP932" : "UTF-8");
        const LogLoadOutcome d = Load({digital.currentFile()}, preferred);
        ASSERT_TRUE(d.canvas) << d.error;
        ASSERT_EQ(d.columns.size(), 8u);
        EXPECT_EQ(d.lines, 10);
        for (int s = 0; s < 8; ++s)
            EXPECT_TRUE(IsDigital(*d.canvas, s));
        EXPECT_EQ(SamplesOf(*d.canvas, 0)[1].value, 1.0);
        EXPECT_EQ(SamplesOf(*d.canvas, 7)[0].value, 1.0);
        EXPECT_EQ(SamplesOf(*d.canvas, 7)[1].value, 0.0);
        EXPECT_EQ(SamplesOf(*d.canvas, 3)[9].time, static_cast<double>(t0 + 9));

        const LogLoadOutcome in = Load({inputs.currentFile()}, preferred);
        ASSERT_TRUE(in.canvas) << in.error;
        ASSERT_EQ(in.columns.size(), 5u);
        EXPECT_EQ(in.columns[0].name, "AI1");
        EXPECT_TRUE(in.columns[2].analog());
        EXPECT_FALSE(in.columns[3].analog());
        EXPECT_EQ(UnitOf(*in.canvas, 0), "mV");
        EXPECT_EQ(UnitOf(*in.canvas, 2), "℃");
        EXPECT_DOUBLE_EQ(SamplesOf(*in.canvas, 0)[4].value, 2.75);
        EXPECT_DOUBLE_EQ(SamplesOf(*in.canvas, 2)[9].value, 900);
        EXPECT_EQ(SamplesOf(*in.canvas, 4)[3].value, 1.0);
        EXPECT_TRUE(IsDigital(*in.canvas, 3));

        const LogLoadOutcome out = Load({outputs.currentFile()}, preferred);
        ASSERT_TRUE(out.canvas) << out.error;
        ASSERT_EQ(out.columns.size(), 5u);
        EXPECT_FALSE(out.columns[0].analog());
        EXPECT_EQ(out.columns[3].name, "AO1");
        EXPECT_DOUBLE_EQ(SamplesOf(*out.canvas, 3)[0].value, 9.875);
        EXPECT_DOUBLE_EQ(SamplesOf(*out.canvas, 4)[5].value, 0.02);
        EXPECT_EQ(UnitOf(*out.canvas, 4), "mA");

        const LogLoadOutcome f = Load({five.currentFile()}, preferred);
        ASSERT_TRUE(f.canvas) << f.error;
        ASSERT_EQ(f.columns.size(), 5u);
        EXPECT_EQ(f.columns[0].name, "温度");
        EXPECT_DOUBLE_EQ(SamplesOf(*f.canvas, 0)[9].value, 29.5);
        EXPECT_DOUBLE_EQ(SamplesOf(*f.canvas, 4)[0].value, -4.5);
    }
}

TEST_F(LogLoader, ASwitchedSeriesAndOneAfterAnOutageLoadAsOneTimeLineWithTheOutageAsAGap)
{
    const TextCodec codec("CP932");
    PanelLogWriter first(logs.folder(), "Tank", test::kAnalogInputHeader, 1000, t0, codec);
    for (int i = 0; i < 2500; ++i)
        first.write(t0 + i, AnalogField(i, "V") + AnalogField(-i, "V") + AnalogField(0, "V") + ",0,1");
    // The unit is back an hour later: a new panel, a new series.
    const std::time_t back = t0 + 2500 + 3600;
    PanelLogWriter second(logs.folder(), "Tank", test::kAnalogInputHeader, 1000, back, codec);
    for (int i = 0; i < 1200; ++i)
        second.write(back + i, AnalogField(5000 + i, "V") + AnalogField(0, "V") + AnalogField(0, "V") + ",1,1");
    // Another unit's series in the same folder stays out.
    PanelLogWriter other(logs.folder(), "Tank2", test::kAnalogInputHeader, 1000, t0, codec);
    other.write(t0, AnalogField(1, "V") + AnalogField(1, "V") + AnalogField(1, "V") + ",1,1");

    // Choosing any one file finds both series of the unit, oldest first.
    const std::vector<std::string> files = SeriesFilesOfUnit(first.base() + "_002.csv");
    ASSERT_EQ(files.size(), 5u);
    EXPECT_EQ(files[0], first.base() + "_001.csv");
    EXPECT_EQ(files[2], first.base() + "_003.csv");
    EXPECT_EQ(files[3], second.base() + "_001.csv");
    EXPECT_EQ(files[4], second.base() + "_002.csv");

    // Given in any order, the files are read in time order.
    const LogLoadOutcome loaded = Load({files[4], files[1], files[3], files[0], files[2]});
    ASSERT_TRUE(loaded.canvas) << loaded.error;
    EXPECT_EQ(loaded.files, files);
    EXPECT_EQ(loaded.lines, 3700);
    EXPECT_DOUBLE_EQ(loaded.samplePeriod, 1);
    const std::vector<LECanvasSample> ai1 = SamplesOf(*loaded.canvas, 0);
    ASSERT_EQ(ai1.size(), 3700u);
    for (std::size_t i = 0; i < 2500; ++i)
        ASSERT_EQ(ai1[i].value, static_cast<double>(i));
    EXPECT_EQ(ai1[2500].value, 5000);
    EXPECT_EQ(ai1[2500].time, static_cast<double>(back));

    const auto guard = loaded.canvas->lock();
    const LECanvasSeries& series = *loaded.canvas->seriesLocked()[0];
    EXPECT_TRUE(series.gapBetweenLocked(Seconds(t0 + 2499), Seconds(back)));
    EXPECT_FALSE(series.gapBetweenLocked(Seconds(t0), Seconds(t0 + 2499)));
    EXPECT_FALSE(series.gapBetweenLocked(Seconds(back), Seconds(back + 1199)));
}

TEST_F(LogLoader, TheOutageIsDrawnAsAGapNotALineAcrossIt)
{
    const TextCodec codec("UTF-8");
    PanelLogWriter log(logs.folder(), "Gap", test::kAnalogOutputHeader, CsvLogger::kSwitchingOff, t0, codec);
    for (int i = 0; i < 100; ++i)
        log.write(t0 + i, ",0,0,0" + AnalogField(1, "V") + AnalogField(2, "V"));
    for (int i = 0; i < 100; ++i)
        log.write(t0 + 1000 + i, ",0,0,0" + AnalogField(3, "V") + AnalogField(4, "V"));
    const LogLoadOutcome loaded = Load({log.currentFile()}, codec);
    ASSERT_TRUE(loaded.canvas) << loaded.error;
    LECanvas& canvas = *loaded.canvas;
    for (int s = 0; s < 5; ++s)
        canvas.GetSeries(s)->SetVisible(s == 3);
    canvas.SetRange(Seconds(t0), Seconds(t0 + 1100));
    const CanvasScene scene = PaintCanvas(canvas, PaintKind::Full);
    std::vector<ScenePolyline> strokes;
    for (const SceneItem& item : scene.items)
        if (const auto* line = std::get_if<ScenePolyline>(&item))
            strokes.push_back(*line);
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_LT(strokes[0].points.back().x, strokes[1].points.front().x - 100);
}

TEST_F(LogLoader, RefusesFilesThatAreNotOursOrWrittenInAnotherDateFormatWithAMessageSayingWhy)
{
    const auto strange = logs.path() / "strange.csv";
    WriteBytes(strange, "time,value\r\n1,2\r\n");
    LogLoadOutcome loaded = Load({strange.string()});
    EXPECT_FALSE(loaded.canvas);
    EXPECT_NE(loaded.error.find("このプログラムのCSVログではありません"), std::string::npos) << loaded.error;
    EXPECT_NE(loaded.error.find("日付,時刻"), std::string::npos) << loaded.error;
    EXPECT_NE(loaded.error.find("time,value"), std::string::npos) << loaded.error;

    const auto american = logs.path() / "american.csv";
    WriteBytes(american, "日付,時刻,DI1\r\n12/6/2026,11:15:00 PM,1\r\n");
    loaded = Load({american.string()}, TextCodec("UTF-8"));
    EXPECT_FALSE(loaded.canvas);
    EXPECT_NE(loaded.error.find("yyyy/MM/dd,HH:mm:ss"), std::string::npos) << loaded.error;
    EXPECT_NE(loaded.error.find("12/6/2026"), std::string::npos) << loaded.error;

    loaded = Load({(logs.path() / "missing.csv").string()});
    EXPECT_FALSE(loaded.canvas);
    EXPECT_NE(loaded.error.find("開けません"), std::string::npos) << loaded.error;
}

TEST_F(LogLoader, SkipsAndCountsATruncatedLastLineAndLinesWithFieldsThatAreNotNumbers)
{
    const auto file = logs.path() / "Bad.csv";
    WriteBytes(file, "日付,時刻,AI1,単位1,DO1\r\n"
                     "2026/12/06,23:15:00,1.5,V,1\r\n"
                     "2026/12/06,23:15:01,abc,V,1\r\n"
                     "2026/12/06,23:15:02,2.5,V\r\n"
                     "2026/12/06,23:15:03,3.5,V,0\r\n"
                     "2026/12/06,23:15:04,,V,0\r\n"
                     "2026/12/06,23:15:05,4.");
    const LogLoadOutcome loaded = Load({file.string()}, TextCodec("UTF-8"));
    ASSERT_TRUE(loaded.canvas) << loaded.error;
    EXPECT_EQ(loaded.lines, 2);
    EXPECT_EQ(loaded.badLines, 3);
    EXPECT_EQ(loaded.truncatedLines, 1);
    EXPECT_TRUE(NoteContains(loaded, "3 行の数値でない値")) << ::testing::PrintToString(loaded.notes);
    EXPECT_TRUE(NoteContains(loaded, "1 行の途中で切れた最後の行")) << ::testing::PrintToString(loaded.notes);
    const std::vector<LECanvasSample> ai1 = SamplesOf(*loaded.canvas, 0);
    ASSERT_EQ(ai1.size(), 2u);
    EXPECT_EQ(ai1[0].value, 1.5);
    EXPECT_EQ(ai1[1].value, 3.5);
}

TEST_F(LogLoader, NamesAndLeavesOutTheFilesOfASeriesWhoseHeaderDiffers)
{
    const TextCodec codec("CP932");
    PanelLogWriter log(logs.folder(), "Mixed", test::kAnalogOutputHeader, 10, t0, codec);
    for (int i = 0; i < 30; ++i)
        log.write(t0 + i, ",0,0,0" + AnalogField(i, "V") + AnalogField(0, "V"));
    const std::string renamed = log.base() + "_004.csv";
    WriteBytes(renamed, *codec.encode("日付,時刻,DI1,DI2,DI3,ポンプ,単位1,AO2,単位2\r\n"
                                      "2026/12/06,23:16:00,0,0,0,1,V,0,V\r\n"));
    const LogLoadOutcome loaded = Load(SeriesFilesOfUnit(renamed));
    ASSERT_TRUE(loaded.canvas) << loaded.error;
    EXPECT_EQ(loaded.files.size(), 3u);
    EXPECT_EQ(loaded.lines, 30);
    EXPECT_TRUE(NoteContains(loaded, renamed + ": 見出し行がほかのファイルと違う"))
        << ::testing::PrintToString(loaded.notes);
}

TEST_F(LogLoader, KeepsOnlyTheAskedColumnsAndTimesAndNamesAColumnThatIsNotThere)
{
    const TextCodec codec("UTF-8");
    PanelLogWriter log(logs.folder(), "Some", test::kAnalogInputHeader, CsvLogger::kSwitchingOff, t0, codec);
    for (int i = 0; i < 20; ++i)
        log.write(t0 + i, AnalogField(i, "V") + AnalogField(2 * i, "V") + AnalogField(0, "V") + ",0,1");
    LogLoadRequest request;
    request.files = {log.currentFile()};
    request.columns = {"DO2", "AI2"};
    request.from = static_cast<double>(t0 + 5);
    request.to = static_cast<double>(t0 + 9);
    const std::atomic<bool> cancel{false};
    LogLoadOutcome loaded = LoadLogs(request, cancel, {}, codec);
    ASSERT_TRUE(loaded.canvas) << loaded.error;
    ASSERT_EQ(loaded.columns.size(), 2u);
    EXPECT_EQ(loaded.columns[0].name, "DO2");
    const std::vector<LECanvasSample> ai2 = SamplesOf(*loaded.canvas, 1);
    ASSERT_EQ(ai2.size(), 5u);
    EXPECT_EQ(ai2.front().value, 10);
    EXPECT_EQ(ai2.back().value, 18);

    request.columns = {"AI9"};
    loaded = LoadLogs(request, cancel, {}, codec);
    EXPECT_FALSE(loaded.canvas);
    EXPECT_NE(loaded.error.find("列「AI9」はありません。ある列: AI1 AI2 AI3 DO1 DO2"), std::string::npos)
        << loaded.error;
}

TEST_F(LogLoader, ACancelledLoadEndsWithoutACanvasAndReportsProgressOnTheWay)
{
    const TextCodec codec("UTF-8");
    PanelLogWriter log(logs.folder(), "Stop", test::kDigitalHeader, CsvLogger::kSwitchingOff, t0, codec);
    log.write(t0, ",0,0,0,0,0,0,0,0");
    LogLoadRequest request;
    request.files = {log.currentFile()};
    std::atomic<bool> cancel{false};
    std::uint64_t lastDone = 0;
    std::uint64_t lastTotal = 0;
    EXPECT_TRUE(LoadLogs(
                    request, cancel,
                    [&](std::uint64_t done, std::uint64_t total) {
                        lastDone = done;
                        lastTotal = total;
                    },
                    codec)
                    .canvas);
    EXPECT_GT(lastTotal, 0u);
    EXPECT_EQ(lastDone, lastTotal);
    cancel = true;
    const LogLoadOutcome cancelled = LoadLogs(request, cancel, {}, codec);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.canvas);
}

TEST(LogHeader, PairsEachUnitColumnWithTheValueBeforeIt)
{
    const auto layout = ParseLogHeader("日付,時刻,単位1,AI1,単位1,,単位2,DO1,単位9");
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->fieldCount, 9u);
    ASSERT_EQ(layout->columns.size(), 5u);
    // A "単位1" with no value column before it is a signal that happens to be named so.
    EXPECT_EQ(layout->columns[0].name, "単位1");
    EXPECT_FALSE(layout->columns[0].analog());
    EXPECT_EQ(layout->columns[1].unitField, 4u);
    EXPECT_EQ(ColumnDisplayName(layout->columns[2]), "列6");
    EXPECT_EQ(layout->columns[2].unitField, 6u);
    EXPECT_EQ(layout->columns[3].name, "DO1");
    EXPECT_FALSE(layout->columns[3].analog());
    EXPECT_EQ(layout->columns[4].name, "単位9"); // not the next unit number
    EXPECT_FALSE(ParseLogHeader("日付,時刻"));
    EXPECT_FALSE(ParseLogHeader("Date,Time,AI1"));
}

TEST(LogSeriesFiles, ParsesOnlyNamesOfASwitchedSeries)
{
    const auto name = ParseSeriesFileName("Tank_A_20261206_231500_1000.csv");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->unit, "Tank_A");
    EXPECT_EQ(name->stamp, "20261206_231500");
    EXPECT_EQ(name->number, 1000);
    EXPECT_FALSE(ParseSeriesFileName("Tank.csv"));
    EXPECT_FALSE(ParseSeriesFileName("_20261206_231500_001.csv"));
    EXPECT_FALSE(ParseSeriesFileName("Tank_20261206_231500_01.csv"));
    EXPECT_FALSE(ParseSeriesFileName("Tank_2026120_231500_001.csv"));
    EXPECT_FALSE(ParseSeriesFileName("Tank_20261206-231500_001.csv"));
    EXPECT_FALSE(ParseSeriesFileName("Tank_20261206_231500_000.csv"));
    EXPECT_FALSE(ParseSeriesFileName("Tank_20261206_231500_001.txt"));

    // A run restarted within the same second as the last one.
    const auto second = ParseSeriesFileName("Tank_20261206_231500-2_001.csv");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->unit, "Tank");
    EXPECT_EQ(second->stamp, "20261206_231500");
    EXPECT_EQ(second->run, 2);
    EXPECT_EQ(name->run, 1);
    EXPECT_FALSE(ParseSeriesFileName("Tank_20261206_231500-1_001.csv"));
    EXPECT_FALSE(ParseSeriesFileName("Tank_20261206_231500-_001.csv"));
}

TEST(LogSeriesFiles, ARunRestartedWithinTheSecondFollowsTheRunBeforeIt)
{
    test::TempFolder logs;
    const TextCodec codec("UTF-8");
    const std::time_t t0 = Opened();
    const std::string values = AnalogField(1, "V") + AnalogField(2, "V") + AnalogField(3, "V") + ",0,1";
    PanelLogWriter first(logs.folder(), "Tank", test::kAnalogInputHeader, 1000, t0, codec);
    first.write(t0, values);
    PanelLogWriter restarted(logs.folder(), "Tank", test::kAnalogInputHeader, 1000, t0, codec);
    restarted.write(t0 + 1, values);
    ASSERT_EQ(restarted.currentFile(), first.base() + "-2_001.csv") << "the logger never continues a series";

    const std::vector<std::string> files = SeriesFilesOfUnit(restarted.currentFile());
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], first.currentFile());
    EXPECT_EQ(files[1], restarted.currentFile());
    const LogLoadOutcome loaded = Load(files, codec);
    ASSERT_TRUE(loaded.canvas) << loaded.error;
    EXPECT_EQ(loaded.lines, 2);
}

TEST(LogTimestamp, ReadsOnlyTheProgramsFormatAndRealDates)
{
    LogTimestampReader reader;
    const std::time_t at = test::LocalMoment({2026, 12, 6, 23, 15, 9});
    EXPECT_EQ(reader.read("2026/12/06", "23:15:09"), Seconds(at));
    EXPECT_EQ(reader.read("2026/12/06", "23:59:59"), Seconds(at + 44 * 60 + 50));
    EXPECT_FALSE(reader.read("2026/02/30", "00:00:00"));
    EXPECT_FALSE(reader.read("2026/12/6", "23:15:09"));
    EXPECT_FALSE(reader.read("2026-12-06", "23:15:09"));
    EXPECT_FALSE(reader.read("2026/12/06", "24:00:00"));
    EXPECT_FALSE(reader.read("2026/12/06", "23:15"));
    EXPECT_FALSE(reader.read("２０２６/12/06", "23:15:09"));
}

} // namespace
