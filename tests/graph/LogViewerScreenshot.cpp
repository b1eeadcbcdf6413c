// Writes a week of demo logs of an analog-input unit with the panels' own
// logger (file switching on, an outage mid-week that starts a second series),
// opens them in the log viewer and saves the window as a PNG
// (docs/log-viewer.png by default).
// Usage: log_viewer_screenshot [output.png]
#include "graph/LogSeriesFiles.h"
#include "graph/LogViewerWindow.h"
#include "support/PanelLogWriter.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QSignalSpy>

#include <cmath>
#include <cstdio>
#include <numbers>

using namespace vantel;
using test::PanelLogWriter;

namespace {

constexpr int kLinePeriod = 10; // seconds between lines
constexpr int kDays = 7;
constexpr int kDay = 86'400;
constexpr int kOutageStart = 3 * kDay + 10 * 3600;
constexpr int kOutageLength = 5 * 3600;

const char* const kHeader = "日付,時刻,槽温度,単位1,圧力,単位2,流量,単位3,ヒーター,ポンプ\n";

// A week of a heated tank: a daily cycle, a pressure following it and a flow
// with a single spike that thinning must keep.
std::string valuesAt(int second)
{
    const double day = 2 * std::numbers::pi * second / kDay;
    const double temperature = 42 + 6 * std::sin(day - 1.2) + 0.8 * std::sin(second / 1300.0);
    const double pressure = 1.8 + 0.35 * std::sin(day - 0.7) + 0.05 * std::sin(second / 700.0);
    double flow = 12 + 3 * std::sin(second / 20'000.0);
    if (second == 5 * kDay + 6 * 3600)
        flow = 27.5;
    const bool heater = std::fmod(second / 5400.0, 2.0) < 0.7 + 0.3 * std::sin(day);
    const bool pump = (second / 7200) % 3 != 0;
    return test::AnalogField(temperature, "℃") + test::AnalogField(pressure, "MPa") + test::AnalogField(flow, "L/min") +
           (heater ? ",1" : ",0") + (pump ? ",1" : ",0");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/log-viewer.png");

    test::TempFolder folder;
    const TextCodec codec("CP932");
    const std::time_t t0 = test::LocalMoment({2026, 11, 30, 0, 0, 0});
    std::string anyFile;
    {
        PanelLogWriter first(folder.folder(), "反応槽A", kHeader, 10'000, t0, codec);
        for (int s = 0; s < kOutageStart; s += kLinePeriod)
            first.write(t0 + s, valuesAt(s));
        anyFile = first.base() + "_001.csv";
    }
    {
        PanelLogWriter second(folder.folder(), "反応槽A", kHeader, 10'000, t0 + kOutageStart + kOutageLength, codec);
        for (int s = kOutageStart + kOutageLength; s < kDays * kDay; s += kLinePeriod)
            second.write(t0 + s, valuesAt(s));
    }
    QStringList files;
    for (const std::string& file : SeriesFilesOfUnit(anyFile))
        files << QString::fromStdString(file);

    LogViewerWindow window(files);
    window.show();
    QSignalSpy finished(&window, &LogViewerWindow::loadFinished);
    while (window.loading() && finished.isEmpty())
        finished.wait(200);
    if (window.viewer() == nullptr) {
        std::fprintf(stderr, "%s\n", window.statusText().toUtf8().constData());
        return 1;
    }
    // The pump shown too, and the mouse over Thursday noon for the read-out.
    window.findChildren<QCheckBox*>().at(4)->click();
    LECanvasWidget* canvas = window.canvasWidget();
    const QPointF at(canvas->width() * 0.55, canvas->height() * 0.4);
    QMouseEvent move(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &move);
    QCoreApplication::processEvents();
    if (!window.grab().save(output))
        return 1;
    std::printf("%s: %s\n", output.toUtf8().constData(), window.statusText().toUtf8().constData());
    return 0;
}
