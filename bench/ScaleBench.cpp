// The program's core at scale, without windows: 256 digital unit panels, each
// polling its inputs every 100 ms (DI auto, period 1) with logging on, against
// simulated units served by a child process. Prints ticks missed or late,
// exchanges per second, CPU time per unit-minute, peak memory and the share
// of one core, for the program and the simulators apart, and beside them two
// floors: the same reads posted straight to the workers, and the tick threads
// alone. Asserts nothing.
// Usage: vantel_scale_bench [SECONDS=60] [UNITS=256]

#include "BenchFiles.h"
#include "CpuUsage.h"
#include "LineStamps.h"
#include "SimFleet.h"
#include "TickerFloor.h"
#include "comm/worker/UnitWorker.h"
#include "panels/digital/CVantelDIGITAL.h"
#include "panels/framework/HeadlessPanelControls.h"
#include "platform/Ticker.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace vantel::bench {
namespace {

using Steady = LineStamps::Clock;
using Seconds = std::chrono::duration<double>;

constexpr std::chrono::milliseconds kTick{100};
constexpr std::chrono::milliseconds kLateAfter{50};
constexpr double kTargetCoreShare = 0.25;

// The floor of the exchanges themselves: the same input reads posted straight
// to each unit's worker every 100 ms from one thread, with no panel, tick
// thread or log. Returns the CPU time in seconds.
double WorkersOnlyCpuSeconds(const std::vector<std::uint16_t>& ports, const std::vector<int>& rows,
                             std::chrono::seconds duration)
{
    struct BareUnit {
        CDigitalChannel channel{0};
        std::unique_ptr<DigitalWorker> worker;
    };
    std::vector<std::unique_ptr<BareUnit>> units;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        auto unit = std::make_unique<BareUnit>();
        if (unit->channel.connect("127.0.0.1", ports[i], rows[i], kDefaultSecondPort, kAnyAddress) != 0)
            continue;
        unit->worker = std::make_unique<DigitalWorker>(unit->channel);
        units.push_back(std::move(unit));
    }
    const rusage before = OwnUsage();
    const auto end = Steady::now() + duration;
    for (auto due = Steady::now(); due < end; due += kTick) {
        for (auto& unit : units)
            unit->worker->post(digital::ReadInputs{.done = [](const digital::InputsResult&) {}});
        std::this_thread::sleep_until(due + kTick);
    }
    const double cpu = CpuSeconds(OwnUsage()) - CpuSeconds(before);
    for (auto& unit : units)
        unit->worker.reset(); // before its channel
    return cpu;
}

// One unit's panel without a window, and what it needs to live.
struct HeadlessUnit {
    explicit HeadlessUnit(std::ostream& messages) : view(messages) {}
    LineStamps stamps;
    HeadlessPanelControls view;
    PanelPtr<CVantelDIGITAL> panel;
    Steady::time_point pollingSince;
};

} // namespace
} // namespace vantel::bench

int main(int argc, char** argv)
{
    using namespace vantel;
    using namespace vantel::bench;
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const int unitCount = argc > 2 ? std::atoi(argv[2]) : UnitList::kMaxUnits;
    if (seconds <= 0 || unitCount <= 0 || unitCount > UnitList::kMaxUnits) {
        std::fprintf(stderr, "usage: vantel_scale_bench [SECONDS=60] [UNITS=1-256]\n");
        return 2;
    }
    RaiseFileLimit(unitCount);

    SimFleet fleet(unitCount); // forks: before any thread of ours
    SimChild& sims = fleet.sims();
    const std::vector<int>& rows = fleet.rows();
    const std::filesystem::path& folder = fleet.folder();
    const TextCodec& codec = fleet.codec();
    UnitList& list = fleet.list();

    AppState app;
    std::vector<std::unique_ptr<HeadlessUnit>> units;
    for (int i = 0; i < unitCount; ++i) {
        auto unit = std::make_unique<HeadlessUnit>(std::cerr);
        PanelContext context(list, app, list.at(i).id);
        context.logFolder = folder.string() + "/";
        context.loggingEnabled = true;
        context.localTime = &unit->stamps;
        context.codec = &codec;
        unit->panel = MakePanel<CVantelDIGITAL>(unit->view, context);
        if (!unit->panel->start()) {
            std::fprintf(stderr, "unit %d did not start\n", i);
            return 1;
        }
        units.push_back(std::move(unit));
    }

    sims.startMeasuring();
    const rusage before = OwnUsage();
    const auto start = Steady::now();
    for (auto& unit : units) {
        unit->view.setText(DigitalId::InputPeriod, "1");
        unit->view.setChecked(DigitalId::InputAuto, true);
        unit->panel->onAutoClicked(DigitalId::InputAuto);
        unit->pollingSince = Steady::now();
    }
    const auto end = start + std::chrono::seconds(seconds);
    while (Steady::now() < end) {
        for (auto& unit : units)
            unit->view.pump(*unit->panel);
        std::this_thread::sleep_for(kTick);
    }
    const auto stop = Steady::now();
    const rusage after = OwnUsage();
    sims.stopMeasuring();

    TickCount total;
    int closedEarly = 0;
    std::size_t messages = 0;
    for (const auto& unit : units) {
        const TickCount count = CountTicks(unit->stamps.stamps(), unit->pollingSince, stop, kTick, kLateAfter);
        total.expected += count.expected;
        total.logged += count.logged;
        total.missed += count.missed;
        total.late += count.late;
        closedEarly += unit->view.windowClosed() ? 1 : 0;
        messages += unit->view.messages().size();
    }
    for (auto& unit : units)
        unit->view.closeAndWait(*unit->panel);
    units.clear();
    const auto floorDuration = std::chrono::seconds(std::max(1, seconds / 3));
    const double workersFloor = WorkersOnlyCpuSeconds(sims.ports(), rows, floorDuration);
    const SimChild::Report simReport = sims.finish();
    const long linesInFiles = LoggedLines(folder);

    const double wall = Seconds(stop - start).count();
    const double programCpu = CpuSeconds(after) - CpuSeconds(before);
    const double unitMinutes = unitCount * wall / 60.0;
    std::printf("Scale: %d digital units (rows 8 and 22), DI auto at period 1 (100 ms), logging on, %.1f s\n",
                unitCount, wall);
    std::printf("  ticks expected / logged:         %ld / %ld\n", total.expected, total.logged);
    std::printf("  ticks missed:                    %ld\n", total.missed);
    std::printf("  ticks late by more than 50 ms:   %ld\n", total.late);
    std::printf("  CSV data lines in the files:     %ld\n", linesInFiles);
    std::printf("  panels closed by an error:       %d (messages shown: %zu)\n", closedEarly, messages);
    std::printf("  exchanges per second:            %.0f\n", static_cast<double>(simReport.commands) / wall);
    std::printf("  program:    %6.2f CPU s = %5.1f%% of one core, %.4f CPU s per unit-minute, peak %ld MB\n",
                programCpu, 100.0 * programCpu / wall, programCpu / unitMinutes, after.ru_maxrss / 1024);
    std::printf("  simulators: %6.2f CPU s = %5.1f%% of one core (child process), peak %ld MB\n", simReport.cpuSeconds,
                100.0 * simReport.cpuSeconds / wall, simReport.peakMemoryKb / 1024);
    const double programShare = programCpu / wall;
    const double tickerShare = BareTickerCpuSeconds(unitCount, floorDuration) / Seconds(floorDuration).count();
    const double workersShare = workersFloor / Seconds(floorDuration).count();
    std::printf("  floors, measured after it for %lld s:\n", static_cast<long long>(floorDuration.count()));
    std::printf("    the same reads posted to the workers, no panels: %5.1f%% of one core (%.2f of the program)\n",
                100.0 * workersShare, workersShare / programShare);
    std::printf("    %d bare 100 ms tickers, ticking nothing:       %5.1f%% of one core (%.2f of the program)\n",
                unitCount, 100.0 * tickerShare, tickerShare / programShare);
    std::printf("  target (nothing missed, program under %.0f%% of one core): %s\n", 100 * kTargetCoreShare,
                total.missed == 0 && programShare < kTargetCoreShare ? "met" : "NOT met");
    return 0;
}
