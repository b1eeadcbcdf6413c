// The analog panels at scale, core only: analog-input unit panels (rows 19
// and 30) polling their inputs every 100 ms (AI auto, period 1), each feeding
// the traces of its own canvas, with logging on; then, in the same run, as
// many digital unit panels (rows 8 and 22, DI auto at period 1) as the floor.
// Simulated units are served by a child process. Prints ticks missed or
// late and CPU time per unit-minute of both and their ratio. Asserts nothing.
// Usage: vantel_analog_scale_bench [SECONDS=30] [UNITS=64]

#include "BenchFiles.h"
#include "CpuUsage.h"
#include "LineStamps.h"
#include "SimChild.h"
#include "graph/LECanvas.h"
#include "panels/PanelKindTable.h"
#include "panels/digital/CVantelDIGITAL.h"
#include "panels/framework/HeadlessPanelControls.h"
#include "panels/framework/UnitCheck.h"
#include "platform/TcpSocket.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <thread>
#include <vector>

namespace vantel::bench {
namespace {

using Steady = LineStamps::Clock;
using Seconds = std::chrono::duration<double>;

constexpr int kAnalogRows[] = {19, 30};
constexpr int kDigitalRows[] = {8, 22};
constexpr std::chrono::milliseconds kTick{100};
constexpr std::chrono::milliseconds kLateAfter{50};
constexpr PixelRect kCanvasPlace{0, 0, 700, 400};

struct HeadlessUnit {
    explicit HeadlessUnit(std::ostream& messages) : view(messages) {}
    LineStamps stamps;
    HeadlessPanelControls view;
    std::shared_ptr<LECanvas> canvas;
    PanelPtr<PanelBase> panel;
    Steady::time_point pollingSince;
};

struct Figures {
    TickCount ticks;
    double wall = 0;
    double cpu = 0;
    std::size_t samples = 0;
    std::size_t messages = 0;
    double perUnitMinute(int units) const { return cpu / (units * wall / 60.0); }
};

PanelContext ContextOf(UnitList& list, AppState& app, int index, HeadlessUnit& unit, const std::string& folder,
                       const TextCodec& codec)
{
    PanelContext context(list, app, list.at(index).id);
    context.logFolder = folder;
    context.loggingEnabled = true;
    context.localTime = &unit.stamps;
    context.codec = &codec;
    return context;
}

std::unique_ptr<HeadlessUnit> OpenAnalog(UnitList& list, AppState& app, int index, const std::string& folder,
                                         const TextCodec& codec)
{
    auto unit = std::make_unique<HeadlessUnit>(std::cerr);
    const UnitRecord& record = list.at(index);
    auto channel = std::make_unique<CAnalogChannel>(0);
    const UnitIdentity identity =
        ConnectAndIdentify(*channel, ModelAt(record.modelRow), LocationOf(record), LoopbackAddress());
    if (!identity.ok())
        return nullptr;
    unit->canvas = std::make_shared<LECanvas>(index, kCanvasPlace, true);
    const PanelKindRow& row = *KindRowOf(ModelAt(record.modelRow));
    auto panel =
        row.makePanel(unit->view, ContextOf(list, app, index, *unit, folder, codec),
                      ContainerPage{row.kind.container, identity.unitId, unit->canvas, nullptr}, {std::move(channel)});
    panel->start();
    unit->panel = std::move(panel);
    return unit;
}

std::unique_ptr<HeadlessUnit> OpenDigital(UnitList& list, AppState& app, int index, const std::string& folder,
                                          const TextCodec& codec)
{
    auto unit = std::make_unique<HeadlessUnit>(std::cerr);
    auto panel = MakePanel<CVantelDIGITAL>(unit->view, ContextOf(list, app, index, *unit, folder, codec));
    if (!panel->start())
        return nullptr;
    unit->panel = std::move(panel);
    return unit;
}

// Polls every unit's inputs for `duration`, playing the GUI thread.
Figures Run(std::vector<std::unique_ptr<HeadlessUnit>>& units, int autoBox, int periodBox,
            std::chrono::seconds duration)
{
    const rusage before = OwnUsage();
    const auto start = Steady::now();
    for (auto& unit : units) {
        unit->view.setText(periodBox, "1");
        unit->view.setChecked(autoBox, true);
        unit->panel->onAutoClicked(autoBox);
        unit->pollingSince = Steady::now();
    }
    const auto end = start + duration;
    while (Steady::now() < end) {
        for (auto& unit : units)
            unit->view.pump(*unit->panel);
        std::this_thread::sleep_for(kTick);
    }
    const auto stop = Steady::now();
    Figures figures;
    figures.cpu = CpuSeconds(OwnUsage()) - CpuSeconds(before);
    figures.wall = Seconds(stop - start).count();
    for (const auto& unit : units) {
        const TickCount count = CountTicks(unit->stamps.stamps(), unit->pollingSince, stop, kTick, kLateAfter);
        figures.ticks.expected += count.expected;
        figures.ticks.logged += count.logged;
        figures.ticks.missed += count.missed;
        figures.ticks.late += count.late;
        figures.messages += unit->view.messages().size();
        if (unit->canvas)
            for (int s = 0; s < unit->canvas->seriesCount(); ++s)
                figures.samples += unit->canvas->GetSeries(s)->sampleCount();
    }
    for (auto& unit : units)
        unit->view.closeAndWait(*unit->panel);
    units.clear();
    return figures;
}

void Print(const char* what, int units, const Figures& f)
{
    std::printf("  %s: ticks expected / logged %ld / %ld, missed %ld, late %ld, messages %zu\n", what, f.ticks.expected,
                f.ticks.logged, f.ticks.missed, f.ticks.late, f.messages);
    std::printf("    %.2f CPU s in %.1f s = %.1f%% of one core, %.4f CPU s per unit-minute", f.cpu, f.wall,
                100.0 * f.cpu / f.wall, f.perUnitMinute(units));
    if (f.samples > 0)
        std::printf(", %zu trace samples", f.samples);
    std::printf("\n");
}

} // namespace
} // namespace vantel::bench

int main(int argc, char** argv)
{
    using namespace vantel;
    using namespace vantel::bench;
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    const int unitCount = argc > 2 ? std::atoi(argv[2]) : 64;
    if (seconds <= 0 || unitCount <= 0 || 2 * unitCount > UnitList::kMaxUnits) {
        std::fprintf(stderr, "usage: vantel_analog_scale_bench [SECONDS=30] [UNITS=1-128]\n");
        return 2;
    }
    RaiseFileLimit(2 * unitCount);
    std::vector<int> rows;
    for (int i = 0; i < unitCount; ++i)
        rows.push_back(kAnalogRows[static_cast<std::size_t>(i) % std::size(kAnalogRows)]);
    for (int i = 0; i < unitCount; ++i)
        rows.push_back(kDigitalRows[static_cast<std::size_t>(i) % std::size(kDigitalRows)]);
    SimChild sims(rows); // forks: before any thread of ours

    const auto folder = MakeScratchFolder("vantel-analogbench");
    if (folder.empty())
        return 1;
    const TextCodec codec("CP932");
    UnitList list((folder / "vantel.dat").string(), codec);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        UnitConnection unit;
        unit.name = "unit" + std::to_string(1000 + i).substr(1);
        unit.host = "127.0.0.1";
        unit.controlPort = sims.ports()[i];
        unit.modelRow = rows[i];
        list.Add(-1, unit);
    }
    AppState app;
    const std::string logFolder = folder.string() + "/";
    sims.startMeasuring();

    std::vector<std::unique_ptr<HeadlessUnit>> analog;
    for (int i = 0; i < unitCount; ++i) {
        auto unit = OpenAnalog(list, app, i, logFolder, codec);
        if (!unit) {
            std::fprintf(stderr, "analog unit %d did not start\n", i);
            return 1;
        }
        analog.push_back(std::move(unit));
    }
    std::this_thread::sleep_for(std::chrono::seconds(1)); // the start-up chains
    const PollingControls polling = KindRowOf(ContainerKind::QZK17).polling;
    const Figures analogFigures = Run(analog, polling.autoBox, polling.periodBox, std::chrono::seconds(seconds));

    std::vector<std::unique_ptr<HeadlessUnit>> digital;
    for (int i = unitCount; i < 2 * unitCount; ++i) {
        auto unit = OpenDigital(list, app, i, logFolder, codec);
        if (!unit) {
            std::fprintf(stderr, "digital unit %d did not start\n", i);
            return 1;
        }
        digital.push_back(std::move(unit));
    }
    const Figures digitalFigures =
        Run(digital, DigitalId::InputAuto, DigitalId::InputPeriod, std::chrono::seconds(seconds));
    sims.stopMeasuring();
    sims.finish();
    const long lines = LoggedLines(folder);
    std::filesystem::remove_all(folder);

    std::printf("Analog scale: %d analog-input units (rows 19 and 30, AI auto at period 1, graphs fed, logging on),\n"
                "then %d digital units (rows 8 and 22, DI auto at period 1, logging on), %d s each\n",
                unitCount, unitCount, seconds);
    Print("analog ", unitCount, analogFigures);
    Print("digital", unitCount, digitalFigures);
    std::printf("  CSV data lines in the files: %ld\n", lines);
    std::printf("  CPU per unit-minute, analog against digital: %.2f\n",
                analogFigures.perUnitMinute(unitCount) / digitalFigures.perUnitMinute(unitCount));
    std::printf("  target (no analog tick missed): %s\n", analogFigures.ticks.missed == 0 ? "met" : "NOT met");
    return 0;
}
