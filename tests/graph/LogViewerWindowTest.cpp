#include "graph/LogViewerWindow.h"
#include "cli/PlotCommand.h"
#include "graph/CanvasGeometry.h"
#include "graph/LECanvasWidget.h"
#include "support/PanelLogWriter.h"
#include "support/TempFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace vantel;
using test::AnalogField;
using test::PanelLogWriter;

namespace {

constexpr std::time_t kT0 = 1'796'000'000; // late 2026

double Seconds(std::time_t at)
{
    return static_cast<double>(at);
}

// Waits for the load to finish: no assertion on how long it took.
void waitForLoad(LogViewerWindow& window)
{
    QSignalSpy finished(&window, &LogViewerWindow::loadFinished);
    while (window.loading() && finished.isEmpty())
        finished.wait(200);
}

QStringList qFiles(const std::vector<std::string>& files)
{
    QStringList out;
    for (const std::string& file : files)
        out << QString::fromStdString(file);
    return out;
}

class LogViewerWindowTest : public ::testing::Test {
protected:
    // Three files of a switched series of an analog-input unit, AI1 counting
    // up, and one line that is not a number.
    std::vector<std::string> writeSeries()
    {
        PanelLogWriter log(logs.folder(), "Line", test::kAnalogInputHeader, 100, kT0, codec);
        for (int i = 0; i < 250; ++i)
            log.write(kT0 + i, AnalogField(i, "V") + AnalogField(1, "V") + AnalogField(2, "V") + ",1,0");
        return {log.base() + "_001.csv", log.base() + "_002.csv", log.base() + "_003.csv"};
    }

    TextCodec codec{"CP932"};
    test::TempFolder logs;
};

TEST_F(LogViewerWindowTest, ShowsTheSeriesAsOneTraceSetWithTheGraphPagesControls)
{
    LogViewerWindow window(qFiles(writeSeries()));
    window.show();
    waitForLoad(window);
    ASSERT_NE(window.viewer(), nullptr) << window.statusText().toStdString();
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("Line_")));
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("(3 ファイル)")));
    EXPECT_TRUE(window.statusText().startsWith(QStringLiteral("250 行 / 3 ファイル")));
    ASSERT_NE(window.canvasWidget(), nullptr);
    EXPECT_EQ(window.canvasWidget()->canvas().GetSeries(0)->sampleCount(), 250u);

    // Analog rows shown, digital rows hidden, as on the panels' graph page.
    const QList<QCheckBox*> boxes = window.findChildren<QCheckBox*>();
    ASSERT_EQ(boxes.size(), 5);
    EXPECT_TRUE(boxes[0]->isChecked());
    EXPECT_FALSE(boxes[3]->isChecked());
    boxes[3]->click();
    EXPECT_TRUE(window.canvasWidget()->canvas().GetSeries(3)->isVisible());
    int scaleButtons = 0;
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        scaleButtons += button->text() == QStringLiteral("Scale") ? 1 : 0;
    EXPECT_EQ(scaleButtons, 3);

    // The whole log at first; the wheel zooms in around the mouse.
    LECanvas& canvas = window.canvasWidget()->canvas();
    EXPECT_DOUBLE_EQ(canvas.span(), 249);
    const QPointF at(400, 200);
    QWheelEvent wheel(at, window.canvasWidget()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(window.canvasWidget(), &wheel);
    EXPECT_DOUBLE_EQ(canvas.span(), 124.5);
    const CanvasView view = canvas.view();
    EXPECT_GT(view.start, static_cast<double>(kT0));
    EXPECT_LT(view.end, static_cast<double>(kT0 + 249));

    auto* period = window.findChildren<QComboBox*>().at(0);
    period->setCurrentIndex(0);
    emit period->activated(0);
    EXPECT_DOUBLE_EQ(canvas.span(), 60);
}

TEST_F(LogViewerWindowTest, SaysWhyAFileCannotBeShownInsteadOfAGraph)
{
    const auto file = logs.path() / "other.csv";
    std::ofstream(file, std::ios::binary) << "a,b,c\r\n1,2,3\r\n";
    LogViewerWindow window({QString::fromStdString(file.string())});
    waitForLoad(window);
    EXPECT_EQ(window.viewer(), nullptr);
    EXPECT_EQ(window.canvasWidget(), nullptr);
    EXPECT_TRUE(window.statusText().contains(QStringLiteral("このプログラムのCSVログではありません")));
}

TEST(LogViewerFiles, TakesOnlyLocalCsvFilesFromADrop)
{
    const QStringList files =
        LogViewerWindow::csvFilesOf({QUrl::fromLocalFile("/tmp/a.csv"), QUrl::fromLocalFile("/tmp/b.CSV"),
                                     QUrl::fromLocalFile("/tmp/c.txt"), QUrl("https://example.invalid/d.csv")});
    EXPECT_EQ(files, (QStringList{"/tmp/a.csv", "/tmp/b.CSV"}));
}

TEST_F(LogViewerWindowTest, PlotDrawsTheTracesWhereTheDataIs)
{
    PanelLogWriter log(logs.folder(), "Plot", test::kAnalogInputHeader, CsvLogger::kSwitchingOff, kT0, codec);
    for (int i = 0; i < 200; ++i)
        log.write(kT0 + i, AnalogField(i < 100 ? 0 : 10, "V") + AnalogField(5, "V") + AnalogField(5, "V") + ",0,1");
    const std::string png = (logs.path() / "plot.png").string();
    ctl::SetScenePngWriter(SaveScenePng);
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(ctl::RunPlot({log.currentFile(), "--png", png, "--columns", "AI1", "--size", "700x400"}, out, err),
              ctl::kExitOk)
        << err.str();
    QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(700, 400));

    // The view runs from the first to the last line; AI1's scale is its
    // data with 5 % room above and below.
    const CanvasGeometry geometry(700, 400);
    const CanvasView view{static_cast<double>(kT0), static_cast<double>(kT0 + 199), 0, 0};
    const QColor yellow(255, 255, 80);
    const auto traceAt = [&](double time, double value) {
        const int x = geometry.timeToX(time, view);
        const int y = geometry.valueToY(value, -0.5, 10.5);
        for (int dy = -1; dy <= 1; ++dy)
            if (image.pixelColor(x, y + dy) == yellow)
                return true;
        return false;
    };
    EXPECT_TRUE(traceAt(Seconds(kT0 + 50), 0));
    EXPECT_TRUE(traceAt(Seconds(kT0 + 150), 10));
    EXPECT_FALSE(traceAt(Seconds(kT0 + 50), 10));
    EXPECT_FALSE(traceAt(Seconds(kT0 + 150), 0));

    // Only the lines asked for; a window of the first minute draws AI1 at 0 across it.
    ASSERT_EQ(ctl::RunPlot({log.currentFile(), "--png", png, "--columns", "AI1", "--size", "700x400", "--from",
                            test::DefaultDateTimeText(kT0 + 100), "--to", test::DefaultDateTimeText(kT0 + 160)},
                           out, err),
              ctl::kExitOk)
        << err.str();
    image.load(QString::fromStdString(png));
    const CanvasView later{static_cast<double>(kT0 + 100), static_cast<double>(kT0 + 160), 0, 0};
    const int y10 = geometry.valueToY(10, 9, 11); // a flat trace gets 1 above and below
    EXPECT_EQ(image.pixelColor(geometry.timeToX(Seconds(kT0 + 130), later), y10), yellow);

    EXPECT_EQ(ctl::RunPlot({log.currentFile(), "--png", png, "--size", "7x4"}, out, err), ctl::kExitUsage);
    EXPECT_EQ(ctl::RunPlot({log.currentFile(), "--png", png, "--from", "yesterday"}, out, err), ctl::kExitUsage);
    std::ostringstream refused;
    EXPECT_EQ(ctl::RunPlot({(logs.path() / "none.csv").string(), "--png", png}, out, refused), ctl::kExitRefused);
    EXPECT_NE(refused.str().find("開けません"), std::string::npos) << refused.str();
}

} // namespace
