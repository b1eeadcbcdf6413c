// Repaint cost of the trend canvas: a full repaint of a 700 x 400 canvas with
// 20 series of 99,999 samples against the same with 1,000 samples, and the
// read-out strip a mouse move repaints. Prints figures; asserts nothing.
#include "graph/CanvasPainter.h"
#include "graph/LECanvas.h"
#include "graph/LECanvasWidget.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

using namespace vantel;

namespace {

constexpr int kSeries = 20;
constexpr double kT0 = 1'700'000'000;

// Both sizes get the same picture: three sine periods over the history, so the
// ratio measures history length, not a busier waveform. Noise adds a
// per-sample jitter, the worst case for the envelope drawing: every thinned
// group then spans the whole noise band.
std::unique_ptr<LECanvas> filledCanvas(int samples, bool wholeHistory, bool noisy)
{
    auto canvas = std::make_unique<LECanvas>(1, PixelRect{0, 0, 700, 400}, true);
    for (int s = 0; s < kSeries; ++s) {
        LECanvasSeries* series = canvas->AddSeries("AI", -10, 10);
        series->SetColour(static_cast<std::uint8_t>(80 + s * 8), 255, static_cast<std::uint8_t>(255 - s * 8));
        for (int i = 0; i < samples; ++i)
            series->AppendSample(kT0 + i, 8 * std::sin(6 * M_PI * i / samples + s) + (noisy ? std::sin(i * 7.3) : 0.0));
    }
    canvas->SetTimePerDiv(samples / 12.0);
    canvas->SetSpan(wholeHistory ? samples : 60);
    canvas->Refresh();
    canvas->EnableCursor(true);
    canvas->mouseMoved(300, 200);
    return canvas;
}

double medianMs(const std::function<void()>& work, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double repaintMs(const LECanvas& canvas, PaintKind kind)
{
    QImage image(700, 400, QImage::Format_RGB32);
    CanvasSceneRenderer renderer;
    return medianMs(
        [&] {
            QPainter painter(&image);
            renderer.render(painter, PaintCanvas(canvas, kind));
        },
        kind == PaintKind::Full ? 41 : 201);
}

// A reply thread appending one sample to every series, round after round,
// while the GUI thread repaints the whole canvas without pause (or does
// nothing). Returns the median time of one round in microseconds.
double appendRoundMedianUs(LECanvas& canvas, bool painting)
{
    constexpr int kRounds = 2000;
    std::atomic<bool> appending{true};
    std::vector<double> rounds;
    std::thread reply([&] {
        double t = kT0 + 200'000;
        for (int round = 0; round < kRounds; ++round) {
            const auto start = std::chrono::steady_clock::now();
            for (int s = 0; s < kSeries; ++s)
                canvas.GetSeries(s)->AppendSample(t, std::sin(t));
            rounds.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
            t += 1;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        appending = false;
    });
    QImage image(700, 400, QImage::Format_RGB32);
    CanvasSceneRenderer renderer;
    while (painting && appending.load()) {
        QPainter painter(&image);
        renderer.render(painter, PaintCanvas(canvas, PaintKind::Full));
    }
    reply.join();
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    struct Case {
        const char* title;
        bool whole;
        bool noisy;
    };
    for (const Case& c : {Case{"whole history in view, noisy data (worst case)", true, true},
                          Case{"whole history in view, smooth data", true, false},
                          Case{"following the newest 60 s, noisy data", false, true}}) {
        const auto big = filledCanvas(99'999, c.whole, c.noisy);
        const auto small = filledCanvas(1'000, c.whole, c.noisy);
        const double bigMs = repaintMs(*big, PaintKind::Full);
        const double smallMs = repaintMs(*small, PaintKind::Full);
        std::printf("%s:\n", c.title);
        std::printf("  full repaint, 20 x 99,999 samples: median %.2f ms (target <= 10 ms)\n", bigMs);
        std::printf("  full repaint, 20 x  1,000 samples: median %.2f ms\n", smallMs);
        std::printf("  ratio 99,999 / 1,000: %.2f (target <= 1.5)\n", bigMs / smallMs);
        if (c.whole && c.noisy) {
            const double readoutMs = repaintMs(*big, PaintKind::ReadoutOnly);
            std::printf("  mouse move (read-out strip only): median %.3f ms, %.1f%% of a full repaint\n", readoutMs,
                        100 * readoutMs / bigMs);
        }
    }
    const auto shared = filledCanvas(99'999, true, true);
    const double quietUs = appendRoundMedianUs(*shared, false);
    const double paintedUs = appendRoundMedianUs(*shared, true);
    std::printf("appending one sample to each of 20 series from a reply thread:\n");
    std::printf("  median round %.2f us alone, %.2f us while 20 x 99,999 samples are repainted without pause\n",
                quietUs, paintedUs);
    std::printf("  ratio painting / alone: %.2f (target <= 2)\n", paintedUs / quietUs);
    return 0;
}
