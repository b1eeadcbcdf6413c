#include "graph/LogLoader.h"

#include "graph/DlgGraphTab.h"
#include "graph/GraphTexts.h"
#include "graph/LogFileProbe.h"
#include "graph/LogTimestamp.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>

namespace vantel {
namespace {

constexpr std::size_t kChunkBytes = 1024 * 1024;
constexpr std::size_t kBatch = 4096;
constexpr std::size_t kMaxFields = 64;
// Intervals looked at to find the typical time between lines.
constexpr std::size_t kPeriodSample = 10'000;
constexpr double kGapPeriods = 3;

// Traces beyond the six of the graph page get these, so no two look alike.
constexpr std::array<Colour, 14> kMoreColours{{
    {255, 160, 64},
    {160, 160, 255},
    {255, 255, 255},
    {160, 255, 160},
    {255, 160, 200},
    {200, 200, 80},
    {80, 200, 200},
    {200, 120, 255},
    {255, 120, 120},
    {120, 255, 200},
    {180, 180, 180},
    {255, 200, 120},
    {120, 180, 255},
    {220, 255, 120},
}};

Colour ColourOfTrace(int index)
{
    return index < 6 ? DlgGraphTab::RowColour(index) : kMoreColours[static_cast<std::size_t>(index - 6)];
}

bool parseNumber(std::string_view text, double& value)
{
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && at == end && std::isfinite(value);
}

// One traced column while it is being read.
struct TraceInput {
    LogColumn column;
    LECanvasSeries* series = nullptr;
    std::vector<LECanvasSample> batch;
    std::string unit;
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -std::numeric_limits<double>::infinity();
};

class LogReader {
public:
    LogReader(const LogLoadRequest& request, std::vector<TraceInput>& traces, std::size_t fieldCount,
              LogLoadOutcome& outcome)
        : request_(request), traces_(traces), fieldCount_(fieldCount), outcome_(outcome)
    {
    }

    // False when the file could not be read.
    bool readFile(const LogFileProbe& probe, const std::atomic<bool>& cancel,
                  const std::function<void(std::size_t)>& read)
    {
        const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(probe.path.c_str(), "rb"), &std::fclose);
        if (!file)
            return false;
        codec_ = TextCodec(probe.codePage);
        bool header = true;
        std::size_t kept = 0;
        for (;;) {
            if (cancel.load())
                return true;
            // The buffer outlives the files: it only grows for a line longer than a chunk.
            if (buffer_.size() < kept + kChunkBytes)
                buffer_.resize(kept + kChunkBytes);
            const std::size_t got = std::fread(buffer_.data() + kept, 1, kChunkBytes, file.get());
            read(got);
            std::string_view text(buffer_.data(), kept + got);
            for (std::size_t end = text.find('\n'); end != std::string_view::npos; end = text.find('\n')) {
                std::string_view line = text.substr(0, end);
                text.remove_prefix(end + 1);
                if (line.ends_with('\r'))
                    line.remove_suffix(1);
                if (header)
                    header = false;
                else
                    readLine(line);
            }
            kept = text.size();
            std::copy(text.begin(), text.end(), buffer_.begin());
            if (got == 0)
                break;
        }
        // A line without its line end was cut off while being written.
        if (kept > 0 && !header)
            ++outcome_.truncatedLines;
        flush();
        return true;
    }

    long backwards() const { return backwards_; }

    void flush()
    {
        for (TraceInput& trace : traces_) {
            trace.series->appendSamples(trace.batch);
            trace.batch.clear();
        }
    }

private:
    void readLine(std::string_view line)
    {
        if (line.empty())
            return;
        std::string_view* fields = fields_.data();
        if (SplitLogFields(line, fields, fields_.size()) != fieldCount_) {
            ++outcome_.badLines;
            return;
        }
        const auto time = timestamps_.read(fields[0], fields[1]);
        if (!time) {
            ++outcome_.badLines;
            return;
        }
        if ((request_.from && *time < *request_.from) || (request_.to && *time > *request_.to))
            return;
        for (std::size_t i = 0; i < traces_.size(); ++i) {
            if (!parseNumber(fields[traces_[i].column.valueField], values_[i])) {
                ++outcome_.badLines;
                return;
            }
        }
        if (*time < lastTime_) {
            ++backwards_;
            return;
        }
        lastTime_ = *time;
        ++outcome_.lines;
        for (std::size_t i = 0; i < traces_.size(); ++i) {
            TraceInput& trace = traces_[i];
            if (trace.unit.empty() && trace.column.unitField)
                trace.unit = codec_.decode(fields[*trace.column.unitField]);
            trace.lowest = std::min(trace.lowest, values_[i]);
            trace.highest = std::max(trace.highest, values_[i]);
            trace.batch.push_back({*time, values_[i]});
            if (trace.batch.size() == kBatch) {
                trace.series->appendSamples(trace.batch);
                trace.batch.clear();
            }
        }
    }

    const LogLoadRequest& request_;
    std::vector<TraceInput>& traces_;
    std::size_t fieldCount_;
    LogLoadOutcome& outcome_;
    TextCodec codec_;
    LogTimestampReader timestamps_;
    std::vector<char> buffer_;
    std::array<std::string_view, kMaxFields> fields_;
    std::array<double, LECanvas::kMaxSeries> values_{};
    double lastTime_ = -std::numeric_limits<double>::infinity();
    long backwards_ = 0;
};

// The header most files share; the earliest given file wins a tie.
std::string commonHeader(const std::vector<LogFileProbe>& probes)
{
    std::map<std::string, int> counts;
    for (const LogFileProbe& probe : probes)
        ++counts[probe.header];
    std::string best;
    int bestCount = 0;
    for (const LogFileProbe& probe : probes) {
        if (counts[probe.header] > bestCount) {
            best = probe.header;
            bestCount = counts[probe.header];
        }
    }
    return best;
}

// Columns the request names, in the file's order; an error names the others.
std::vector<LogColumn> chosenColumns(const LogLayout& layout, const std::vector<std::string>& wanted,
                                     std::string& error)
{
    if (wanted.empty())
        return layout.columns;
    std::vector<LogColumn> chosen;
    for (const std::string& name : wanted) {
        const auto found = std::find_if(layout.columns.begin(), layout.columns.end(),
                                        [&](const LogColumn& column) { return ColumnDisplayName(column) == name; });
        if (found == layout.columns.end()) {
            error = MissingColumnText(name);
            for (const LogColumn& column : layout.columns)
                error += " " + ColumnDisplayName(column);
            return {};
        }
        chosen.push_back(*found);
    }
    return chosen;
}

double typicalPeriod(const LECanvas& canvas, const LECanvasSeries& series)
{
    const auto guard = canvas.lock();
    const SampleRing& samples = series.samplesLocked();
    std::vector<double> steps;
    for (std::size_t i = 1; i < samples.size() && steps.size() < kPeriodSample; ++i) {
        const double step = samples[i].time - samples[i - 1].time;
        if (step > 0)
            steps.push_back(step);
    }
    if (steps.empty())
        return 0;
    // The lower median: of two intervals the shorter is the sample period.
    const std::size_t middle = (steps.size() - 1) / 2;
    std::nth_element(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(middle), steps.end());
    return steps[middle];
}

void finishTrace(TraceInput& trace, int index, double gapThreshold)
{
    LECanvasSeries& series = *trace.series;
    const Colour colour = ColourOfTrace(index);
    series.SetColour(colour.red, colour.green, colour.blue);
    series.setGapThreshold(gapThreshold);
    if (!trace.column.analog()) {
        series.SetDigital(true);
        return;
    }
    series.SetUnit(trace.unit);
    if (trace.lowest > trace.highest)
        return;
    // A little room above and below so the extremes do not sit on the frame.
    const double margin = trace.highest > trace.lowest ? (trace.highest - trace.lowest) * 0.05
                                                       : std::max(1.0, std::abs(trace.highest) * 0.05);
    series.SetScale(trace.lowest - margin, trace.highest + margin);
}

} // namespace

LogLoadOutcome LoadLogs(const LogLoadRequest& request, const std::atomic<bool>& cancel, const LogLoadProgress& progress,
                        const TextCodec& preferred)
{
    LogLoadOutcome outcome;
    std::vector<LogFileProbe> probes;
    for (const std::string& path : request.files) {
        LogFileProbe probe = ProbeLogFile(path, preferred);
        if (probe.error.empty())
            probes.push_back(std::move(probe));
        else
            outcome.notes.push_back(probe.error);
    }
    if (probes.empty()) {
        outcome.error = outcome.notes.empty() ? kNoFileGiven : outcome.notes.front();
        if (outcome.notes.size() > 1)
            outcome.error += OtherFilesUnreadableText(outcome.notes.size() - 1);
        return outcome;
    }
    const std::string header = commonHeader(probes);
    std::erase_if(probes, [&](const LogFileProbe& probe) {
        if (probe.header == header)
            return false;
        outcome.notes.push_back(HeaderDiffersText(probe.path, probe.header));
        return true;
    });
    std::stable_sort(probes.begin(), probes.end(),
                     [](const LogFileProbe& a, const LogFileProbe& b) { return a.firstTime < b.firstTime; });

    if (probes.front().layout.fieldCount > kMaxFields) {
        outcome.error = TooManyFieldsText(probes.front().path);
        return outcome;
    }
    std::vector<LogColumn> columns = chosenColumns(probes.front().layout, request.columns, outcome.error);
    if (columns.empty()) {
        if (outcome.error.empty())
            outcome.error = NoSignalColumnsText(probes.front().path);
        return outcome;
    }
    if (columns.size() > LECanvas::kMaxSeries) {
        outcome.notes.push_back(
            SeriesLimitText(LECanvas::kMaxSeries, ColumnDisplayName(columns[LECanvas::kMaxSeries])));
        columns.resize(LECanvas::kMaxSeries);
    }

    std::uint64_t total = 0;
    for (const LogFileProbe& probe : probes)
        total += probe.size;
    // Lines to expect, from the bytes and the lines at the start of each
    // file, so the traces take their memory once instead of regrowing.
    const std::size_t capacity = std::max<std::size_t>(request.sampleBudget / columns.size(), 1);
    double expectedLines = 16;
    for (const LogFileProbe& probe : probes)
        expectedLines += probe.bytesPerLine > 0 ? static_cast<double>(probe.size) / probe.bytesPerLine * 1.02 : 0;
    const std::size_t expected = std::min(capacity, static_cast<std::size_t>(expectedLines));

    auto canvas = std::make_shared<LECanvas>(0, request.placement, true);
    std::vector<TraceInput> traces;
    for (const LogColumn& column : columns) {
        LECanvasSeries* series = canvas->AddSeries(ColumnDisplayName(column), -10, 10, capacity);
        series->reserveSamples(expected);
        traces.push_back({column, series, {}, {}});
    }

    std::uint64_t done = 0;
    LogReader reader(request, traces, probes.front().layout.fieldCount, outcome);
    for (const LogFileProbe& probe : probes) {
        const bool read = reader.readFile(probe, cancel, [&](std::size_t bytes) {
            done += bytes;
            if (progress)
                progress(done, total);
        });
        if (cancel.load()) {
            outcome.cancelled = true;
            outcome.error = kLoadCancelled;
            return outcome;
        }
        if (read)
            outcome.files.push_back(probe.path);
        else
            outcome.notes.push_back(CannotOpenLogText(probe.path));
    }

    if (outcome.truncatedLines > 0)
        outcome.notes.push_back(TruncatedLinesText(outcome.truncatedLines));
    if (outcome.badLines > 0)
        outcome.notes.push_back(BadLinesText(outcome.badLines));
    if (reader.backwards() > 0)
        outcome.notes.push_back(BackwardLinesText(reader.backwards()));
    if (static_cast<std::size_t>(outcome.lines) > capacity)
        outcome.notes.push_back(LinesLeftOutText(outcome.lines - static_cast<long>(capacity)));

    if (outcome.lines == 0) {
        outcome.error = kNoLinesToShow;
        return outcome;
    }
    outcome.samplePeriod = typicalPeriod(*canvas, *traces.front().series);
    for (std::size_t i = 0; i < traces.size(); ++i)
        finishTrace(traces[i], static_cast<int>(i), outcome.samplePeriod * kGapPeriods);
    outcome.columns = std::move(columns);
    outcome.canvas = std::move(canvas);
    return outcome;
}

} // namespace vantel
