// Loading a long switched series into the log viewer: 100 files of 10,000
// lines of an analog-input unit, written by the panels' own logger (kept
// between runs in the folder given, default /tmp/vantel-log-viewer-bench).
// Prints the load time against the time to read the same bytes, the peak
// memory of the process and the time of a full repaint of the whole span.
// Usage: log_viewer_bench [folder]
#include "graph/CanvasPainter.h"
#include "graph/LECanvasWidget.h"
#include "graph/LogLoader.h"
#include "graph/LogSeriesFiles.h"
#include "graph/LogViewer.h"
#include "support/PanelLogWriter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace vantel;

namespace {

constexpr int kFiles = 100;
constexpr int kLinesPerFile = 10'000;
constexpr int kRepaints = 10;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<std::string> writeSeries(const std::string& folder)
{
    const std::string first = folder + "Line1_20261201_000000_001.csv";
    if (std::filesystem::exists(folder + "Line1_20261201_000000_100.csv"))
        return SeriesFilesOfUnit(first);
    std::filesystem::create_directories(folder);
    const std::time_t t0 = test::LocalMoment({2026, 12, 1, 0, 0, 0});
    const TextCodec codec("CP932"); // the logger keeps a reference to it
    test::PanelLogWriter log(folder, "Line1", test::kAnalogInputHeader, kLinesPerFile, t0, codec);
    for (int i = 0; i < kFiles * kLinesPerFile; ++i)
        log.write(t0 + i, test::AnalogField(5 * std::sin(i / 600.0), "V") +
                              test::AnalogField(100 + 20 * std::sin(i / 3600.0), "℃") +
                              test::AnalogField(i % 86'400 == 0 ? 9.5 : 0.5, "mA") + (i % 60 < 30 ? ",1" : ",0") +
                              (i % 600 < 100 ? ",1" : ",0"));
    return SeriesFilesOfUnit(first);
}

std::uint64_t readAllBytes(const std::vector<std::string>& files)
{
    std::vector<char> buffer(4 * 1024 * 1024);
    std::uint64_t total = 0;
    for (const std::string& file : files) {
        std::FILE* in = std::fopen(file.c_str(), "rb");
        if (in == nullptr)
            continue;
        for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0;)
            total += got + static_cast<unsigned char>(buffer[got / 2]) % 2; // keeps the read from being optimised away
        std::fclose(in);
    }
    return total;
}

long statusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::string folder = argc > 1 ? std::string(argv[1]) + "/" : "/tmp/vantel-log-viewer-bench/";
    const std::vector<std::string> files = writeSeries(folder);
    std::printf("series: %zu files in %s\n", files.size(), folder.c_str());
    readAllBytes(files); // the page cache holds them for both runs
    const long rssBefore = statusKb("VmRSS:");

    auto start = Clock::now();
    const std::uint64_t bytes = readAllBytes(files);
    const double readSeconds = secondsSince(start);

    LogLoadRequest request;
    request.files = files;
    request.placement = {0, 0, 960, 480};
    const std::atomic<bool> cancel{false};
    start = Clock::now();
    LogLoadOutcome loaded = LoadLogs(request, cancel, {}, TextCodec("CP932"));
    const double loadSeconds = secondsSince(start);
    if (!loaded.canvas) {
        std::printf("load failed: %s\n", loaded.error.c_str());
        return 1;
    }
    const long peakKb = statusKb("VmHWM:");
    std::printf("read  %.1f MB in %.3f s\n", static_cast<double>(bytes) / 1e6, readSeconds);
    std::printf("load  %ld lines, %zu traces in %.3f s: %.1f x the read (target <= 5 x)\n", loaded.lines,
                loaded.columns.size(), loadSeconds, loadSeconds / readSeconds);
    std::printf("peak memory %.1f MB (process; %.1f MB before loading; target <= 200 MB)\n",
                static_cast<double>(peakKb) / 1024.0, static_cast<double>(rssBefore) / 1024.0);

    LogViewer viewer(std::move(loaded));
    for (int trace = 0; trace < viewer.traceCount(); ++trace)
        viewer.setVisible(trace, true);
    QImage image(960, 480, QImage::Format_RGB32);
    CanvasSceneRenderer renderer;
    double sceneSeconds = 0;
    start = Clock::now();
    for (int i = 0; i < kRepaints; ++i) {
        const auto sceneStart = Clock::now();
        const CanvasScene scene = PaintCanvas(viewer.canvas(), PaintKind::Full);
        sceneSeconds += secondsSince(sceneStart);
        QPainter painter(&image);
        renderer.render(painter, scene);
    }
    const double repaintSeconds = secondsSince(start) / kRepaints;
    std::printf("full repaint of the whole span, 5 traces: %.1f ms (scene %.1f ms; target <= 50 ms)\n",
                repaintSeconds * 1e3, sceneSeconds / kRepaints * 1e3);
    return 0;
}
