// vantelctl log --all at scale: one log service process running every unit
// of a full list (256 simulated digital units in a child process) at input
// period 1 (100 ms), first with all units up, then under --keep-going with
// some units switched off for a while in the middle. Prints lines expected
// against lines written, the share of one core, peak memory, and how soon
// the switched-off units logged again; then all units on again with every
// frame traced to a file (--trace). Each share is also given against two
// floors measured in the same run: bare 100 ms timer threads, and the
// exchanges and lines alone done from one thread (WorkFloor.h). Asserts
// nothing.
// Usage: vantel_log_service_bench [SECONDS=60] [UNITS=256] [OFF=32] [OFF_SECONDS=20]

#include "BenchFiles.h"
#include "CpuUsage.h"
#include "SimFleet.h"
#include "TickerFloor.h"
#include "WorkFloor.h"
#include "cli/LogService.h"
#include "comm/link/FileTrace.h"
#include "platform/AppPaths.h"
#include "registry/UnitList.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

namespace vantel::bench {
namespace {

using Steady = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr std::chrono::milliseconds kTick{100};
constexpr double kTargetFloorRatio = 2.5;
constexpr int kTicksPerThreadCount = 10;
constexpr std::size_t kTargetThreads = 300;
constexpr std::int64_t kTraceMaxMb = 1000; // one minute of 256 units stays in one file

std::size_t ThreadCount()
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

// What one unit was seen doing, sampled every tick.
struct UnitTrace {
    std::optional<Steady::time_point> firstLine;
    long linesAtOff = 0;
    std::optional<Steady::time_point> resumed; // first new line after the units came back on
};

struct PhaseResult {
    double wall = 0;
    double cpu = 0;
    long expected = 0;   // lines the units that stayed on should have written
    long written = 0;    // lines they wrote
    long short1 = 0;     // such units that wrote more than one line fewer than expected
    long offWritten = 0; // lines of the units that were switched off
    std::vector<double> resumeSeconds;
    std::size_t messageLines = 0;
    std::size_t peakThreads = 0; // of the whole process, looked at once a second
};

struct Phase {
    std::chrono::seconds duration;
    int offCount = 0;
    std::chrono::seconds offFor{0};
};

long ExpectedLines(const UnitTrace& trace, Steady::time_point stop)
{
    if (!trace.firstLine)
        return 0;
    return static_cast<long>((stop - *trace.firstLine) / kTick) + 1;
}

PhaseResult RunPhase(const UnitList& list, SimChild& sims, const std::filesystem::path& folder, const Phase& phase)
{
    std::ostringstream messages;
    ctl::LogServiceSettings settings;
    settings.period = std::string("1");
    settings.folder = WithTrailingSlash(folder.string());
    settings.codec = &list.codec();
    settings.keepGoing = phase.offCount > 0;
    ctl::LogService service(settings, messages);
    for (int i = 0; i < list.count(); ++i)
        service.add(list.at(i), ctl::LoggingFor(list.at(i)).open);

    std::vector<UnitTrace> traces(static_cast<std::size_t>(list.count()));
    const auto start = Steady::now();
    const auto end = start + phase.duration;
    const auto offAt = start + (phase.duration - phase.offFor) / 2;
    const auto onAt = offAt + phase.offFor;
    bool off = false;
    bool backOn = false;
    const rusage before = OwnUsage();
    service.start();
    PhaseResult result;
    int tick = 0;
    for (auto due = start + kTick; Steady::now() < end; due += kTick) {
        std::this_thread::sleep_until(due);
        const auto now = Steady::now();
        if (++tick % kTicksPerThreadCount == 0)
            result.peakThreads = std::max(result.peakThreads, ThreadCount());
        const auto status = service.status();
        for (std::size_t i = 0; i < traces.size(); ++i) {
            UnitTrace& trace = traces[i];
            if (!trace.firstLine && status[i].lines > 0)
                trace.firstLine = now;
            if (backOn && !trace.resumed && status[i].lines > trace.linesAtOff)
                trace.resumed = now;
        }
        if (phase.offCount > 0 && !off && now >= offAt) {
            for (std::size_t i = 0; i < static_cast<std::size_t>(phase.offCount); ++i)
                traces[i].linesAtOff = std::numeric_limits<long>::max();
            sims.switchUnits(false, static_cast<std::uint32_t>(phase.offCount));
            off = true;
        }
        if (off && !backOn && now >= onAt) {
            // What they had written by the time they were seen down for good.
            for (std::size_t i = 0; i < static_cast<std::size_t>(phase.offCount); ++i)
                traces[i].linesAtOff = status[i].lines;
            sims.switchUnits(true, static_cast<std::uint32_t>(phase.offCount));
            backOn = true;
        }
    }
    const auto stop = Steady::now();
    const rusage after = OwnUsage();
    service.stop();

    result.wall = Seconds(stop - start).count();
    result.cpu = CpuSeconds(after) - CpuSeconds(before);
    const auto status = service.status();
    for (std::size_t i = 0; i < traces.size(); ++i) {
        if (static_cast<int>(i) < phase.offCount) {
            result.offWritten += status[i].lines;
            if (traces[i].resumed)
                result.resumeSeconds.push_back(Seconds(*traces[i].resumed - onAt).count());
            continue;
        }
        const long expected = ExpectedLines(traces[i], stop);
        result.expected += expected;
        result.written += std::min(status[i].lines, expected);
        result.short1 += status[i].lines < expected - 1 ? 1 : 0;
    }
    const std::string said = messages.str();
    result.messageLines = static_cast<std::size_t>(std::count(said.begin(), said.end(), '\n'));
    return result;
}

void Print(const char* title, const PhaseResult& r, int units, int offCount, double floorShare, double workShare)
{
    std::printf("%s, %.1f s\n", title, r.wall);
    std::printf("  units that stayed on:            %d\n", units - offCount);
    std::printf("  their lines expected / written:  %ld / %ld (%ld missing; %ld units more than one line short)\n",
                r.expected, r.written, r.expected - r.written, r.short1);
    const double share = r.cpu / r.wall;
    std::printf("  program: %6.2f CPU s = %5.1f%% of one core; %.1f times the floor (target <= %.1f)\n", r.cpu,
                100.0 * share, share / floorShare, kTargetFloorRatio);
    if (workShare > 0)
        std::printf("           %.1f times the work floor\n", share / workShare);
    if (offCount > 0) {
        std::printf("  switched-off units: %d, lines written %ld, resumed %zu\n", offCount, r.offWritten,
                    r.resumeSeconds.size());
        if (!r.resumeSeconds.empty()) {
            const auto [lo, hi] = std::minmax_element(r.resumeSeconds.begin(), r.resumeSeconds.end());
            std::printf("  first line after switching back on: %.1f s to %.1f s later\n", *lo, *hi);
        }
    }
    std::printf("  threads of the process (peak):   %zu (target <= %zu)\n", r.peakThreads, kTargetThreads);
    std::printf("  message lines on stderr:         %zu\n", r.messageLines);
}

} // namespace
} // namespace vantel::bench

int main(int argc, char** argv)
{
    using namespace vantel;
    using namespace vantel::bench;
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const int unitCount = argc > 2 ? std::atoi(argv[2]) : UnitList::kMaxUnits;
    const int offCount = argc > 3 ? std::atoi(argv[3]) : 32;
    const int offSeconds = argc > 4 ? std::atoi(argv[4]) : 20;
    if (seconds <= 0 || unitCount <= 0 || unitCount > UnitList::kMaxUnits || offCount < 0 || offCount > unitCount ||
        offSeconds <= 0 || offSeconds >= seconds) {
        std::fprintf(stderr, "usage: vantel_log_service_bench [SECONDS=60] [UNITS=1-256] [OFF=32] [OFF_SECONDS=20]\n");
        return 2;
    }
    RaiseFileLimit(unitCount);
    SimFleet fleet(unitCount); // forks: before any thread of ours
    SimChild& sims = fleet.sims();
    const UnitList& list = fleet.list();
    const std::filesystem::path& folder = fleet.folder();

    sims.startMeasuring();
    const PhaseResult all = RunPhase(list, sims, folder, Phase{std::chrono::seconds(seconds)});
    const PhaseResult outage =
        RunPhase(list, sims, folder, Phase{std::chrono::seconds(seconds), offCount, std::chrono::seconds(offSeconds)});
    FileTrace trace;
    const std::filesystem::path traceFile = folder / "trace.tsv";
    if (!trace.start(traceFile.string(), kTraceMaxMb)) {
        std::fprintf(stderr, "cannot write %s\n", traceFile.c_str());
        return 1;
    }
    const PhaseResult traced = RunPhase(list, sims, folder, Phase{std::chrono::seconds(seconds)});
    sims.stopMeasuring();
    const auto floorDuration = std::chrono::seconds(std::max(1, seconds / 3));
    const double floorSeconds = std::chrono::duration<double>(floorDuration).count();
    // What the exchanges and lines cost by themselves, on the units still served.
    const double workShare = WorkFloorCpuSeconds(list, folder, floorDuration) / floorSeconds;
    const SimChild::Report simReport = sims.finish();
    // What a timer thread per unit costs by itself.
    const double floorShare = BareTickerCpuSeconds(unitCount, floorDuration) / floorSeconds;

    std::printf("vantelctl log --all: %d digital units (rows 8 and 22), input period 1 (100 ms), one process\n",
                unitCount);
    std::printf("floor: %d bare 100 ms timers (a thread each) ticking nothing, %.1f%% of one core\n", unitCount,
                100.0 * floorShare);
    if (workShare > 0)
        std::printf("work floor: the same exchanges and lines from one thread with no hand-off, %.1f%% of one core "
                    "(%.1f times the timers)\n",
                    100.0 * workShare, workShare / floorShare);
    Print("All units on", all, unitCount, 0, floorShare, workShare);
    char title[128];
    std::snprintf(title, sizeof title, "--keep-going, %d units switched off for %d s in the middle", offCount,
                  offSeconds);
    Print(title, outage, unitCount, offCount, floorShare, workShare);
    Print("All units on, every frame traced to a file (--trace)", traced, unitCount, 0, floorShare, workShare);
    std::error_code sizeError;
    std::printf("  trace file: %.1f MB, trace lines not written: %llu\n",
                static_cast<double>(std::filesystem::file_size(traceFile, sizeError)) / 1e6,
                static_cast<unsigned long long>(trace.lostLines()));
    std::printf("peak memory of the program: %ld MB; simulators (child): %.1f%% of one core over the three runs\n",
                OwnUsage().ru_maxrss / 1024, 100.0 * simReport.cpuSeconds / (all.wall + outage.wall + traced.wall));
    return 0;
}
