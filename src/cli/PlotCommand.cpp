#include "cli/PlotCommand.h"

#include "cli/CtlArgs.h"
#include "graph/CanvasPainter.h"
#include "graph/LogHeader.h"
#include "graph/LogTimestamp.h"
#include "graph/LogViewer.h"
#include "platform/PlatformTexts.h"

#include <ostream>

namespace vantel::ctl {
namespace {

constexpr int kDefaultWidth = 960;
constexpr int kDefaultHeight = 480;
constexpr int kMinSide = 100;
constexpr int kMaxSide = 10'000;
constexpr double kDivisions = 12;

ScenePngWriter& installedWriter()
{
    static ScenePngWriter writer;
    return writer;
}

// "yyyy/MM/dd HH:mm:ss" in local time.
std::optional<double> parseMoment(const std::string& text)
{
    const std::size_t space = text.find(' ');
    if (space == std::string::npos)
        return std::nullopt;
    return LogTimestampReader().read(std::string_view(text).substr(0, space), std::string_view(text).substr(space + 1));
}

bool parseSize(const std::string& text, int& width, int& height)
{
    const std::size_t x = text.find('x');
    if (x == std::string::npos)
        return false;
    const auto w = ParseWholeNumber(text.substr(0, x));
    const auto h = ParseWholeNumber(text.substr(x + 1));
    if (!w || !h || *w < kMinSide || *h < kMinSide || *w > kMaxSide || *h > kMaxSide)
        return false;
    width = *w;
    height = *h;
    return true;
}

std::vector<std::string> columnNames(const std::string& list)
{
    std::vector<std::string> names;
    for (std::string_view field : SplitLogLine(list))
        if (!field.empty())
            names.emplace_back(field);
    return names;
}

// The time window drawn: the one asked for, else the data's.
void frameView(LECanvas& canvas, std::optional<double> from, std::optional<double> to)
{
    const DataExtent extent = canvas.extent();
    const double start = from.value_or(extent.earliest);
    double end = to.value_or(extent.latest);
    if (!(end > start))
        end = start + 60;
    // Span 0: the window stays where it is put, as with no scroll bar.
    canvas.SetSpan(0);
    canvas.SetTimePerDiv((end - start) / kDivisions);
    canvas.SetRange(start, end, start);
}

} // namespace

void SetScenePngWriter(ScenePngWriter writer)
{
    installedWriter() = std::move(writer);
}

int RunPlot(const std::vector<std::string>& argList, std::ostream& out, std::ostream& err)
{
    CtlArgs args(argList, {});
    const std::set<std::string> known = {"--png", "--from", "--to", "--columns", "--size", "--codepage"};
    if (!args.error().empty() || !args.unknown(known).empty() || args.positional().empty() || !args.option("--png")) {
        err << (args.error().empty() ? "usage: vantelctl " + std::string(kPlotCommand.usage) : args.error()) << "\n";
        return kExitUsage;
    }
    LogLoadRequest request;
    request.files = args.positional();
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    if (const auto size = args.option("--size"); size && !parseSize(*size, width, height)) {
        err << "--size needs WIDTHxHEIGHT, each " << kMinSide << " to " << kMaxSide << ", not " << *size << "\n";
        return kExitUsage;
    }
    request.placement = {0, 0, width, height};
    for (const char* name : {"--from", "--to"}) {
        const auto text = args.option(name);
        if (!text)
            continue;
        const auto moment = parseMoment(*text);
        if (!moment) {
            err << name << " needs \"yyyy/MM/dd HH:mm:ss\", not \"" << *text << "\"\n";
            return kExitUsage;
        }
        (std::string_view(name) == "--from" ? request.from : request.to) = moment;
    }
    if (const auto columns = args.option("--columns"))
        request.columns = columnNames(*columns);
    const std::string codePage = args.option("--codepage", FileCodec().codePage());
    if (!TextCodec::isSupported(codePage)) {
        err << kUnknownCodePage << codePage << "\n";
        return kExitUsage;
    }
    if (!installedWriter()) {
        err << "this vantelctl was built without the renderer that writes PNG files\n";
        return kExitRefused;
    }

    const std::atomic<bool> never{false};
    LogLoadOutcome loaded = LoadLogs(request, never, {}, TextCodec(codePage));
    for (const std::string& note : loaded.notes)
        err << note << "\n";
    if (!loaded.canvas) {
        if (loaded.notes.empty() || loaded.notes.back() != loaded.error)
            err << loaded.error << "\n";
        return kExitRefused;
    }
    LogViewer viewer(std::move(loaded));
    LECanvas& canvas = viewer.canvas();
    canvas.EnableCursor(false);
    if (!request.columns.empty()) {
        for (int trace = 0; trace < viewer.traceCount(); ++trace)
            canvas.GetSeries(trace)->SetVisible(true);
    }
    frameView(canvas, request.from, request.to);
    const std::string png = *args.option("--png");
    if (!installedWriter()(PaintCanvas(canvas, PaintKind::Full), width, height, png)) {
        err << "cannot write " << png << "\n";
        return kExitRefused;
    }
    out << png << ": " << viewer.summary().substr(0, viewer.summary().find('\n')) << "\n";
    return kExitOk;
}

const CtlCommand kPlotCommand{"plot",
                              "plot FILE... --png OUT [--from \"yyyy/MM/dd HH:mm:ss\"] [--to ...]\n"
                              "      [--columns NAME,NAME] [--size WxH] [--codepage CP]",
                              RunPlot};

} // namespace vantel::ctl
