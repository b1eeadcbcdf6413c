// The GUI thread under many live panels: the tab containers of 16 simulated
// analog-input units (rows 19 and 30, served by a child process), each
// polling its inputs at period 1 (100 ms) with logging on and its graph page
// showing, opened from the main window as a user would. Prints the share of
// its time the GUI thread was busy, the whole process's CPU share and its
// thread count. Asserts nothing.
// Usage: vantel_gui_tick_bench [SECONDS=30] [UNITS=16]  (offscreen is fine)

#include "CpuUsage.h"
#include "SimFleet.h"
#include "panels/analog/AnalogInputIds.h"
#include "panels/framework/ContainerWindow.h"
#include "panels/framework/TabParentDialog.h"
#include "support/AnalogMainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QTabBar>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <vector>

namespace vantel::bench {
namespace {

constexpr int kAnalogRows[] = {19, 30};
constexpr int kGraphTab = 1;

double ThreadCpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

std::size_t ThreadCount()
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

// Runs the GUI thread's event loop for `ms`, as the program does.
void RunEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

TabParentDialog* ContainerOf(UnitId unit)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = dynamic_cast<TabParentDialog*>(widget);
        if (window && window->isVisible() && window->panel() && window->panel()->unit() == unit)
            return window;
    }
    return nullptr;
}

template <typename Widget> Widget* Control(TabParentDialog& window, int id)
{
    return qobject_cast<Widget*>(window.controls().widget(id));
}

} // namespace
} // namespace vantel::bench

int main(int argc, char** argv)
{
    using namespace vantel;
    using namespace vantel::bench;
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    const int unitCount = argc > 2 ? std::atoi(argv[2]) : 16;
    if (seconds <= 0 || unitCount <= 0 || unitCount > UnitList::kMaxUnits) {
        std::fprintf(stderr, "usage: vantel_gui_tick_bench [SECONDS=30] [UNITS=16]\n");
        return 2;
    }
    std::vector<int> rows;
    for (int i = 0; i < unitCount; ++i)
        rows.push_back(kAnalogRows[static_cast<std::size_t>(i) % std::size(kAnalogRows)]);
    SimFleet fleet(rows); // forks: before any thread of ours
    QApplication app(argc, argv);
    UnitList& list = fleet.list();
    list.Save(); // the main window reads it again
    AppState state;
    test::AnalogMainWindow run(list, state, fleet.folder().string() + "/");
    if (!run.start())
        return 1;
    MainWindow& main = run.window();

    int opened = 0;
    for (int row = 0; row < list.count(); ++row) {
        main.selectRow(row);
        main.logic().onConnect();
        TabParentDialog* window = ContainerOf(list.at(row).id);
        if (window == nullptr)
            continue;
        ++opened;
        Control<QLineEdit>(*window, AnalogInputId::InputPeriod)->setText("1");
        Control<QCheckBox>(*window, AnalogInputId::InputAuto)->click();
        window->tabBar()->setCurrentIndex(kGraphTab);
    }
    RunEventLoop(2000); // every panel polling, every graph drawn once

    const auto wallBefore = std::chrono::steady_clock::now();
    const double guiBefore = ThreadCpuSeconds();
    const double processBefore = CpuSeconds(OwnUsage());
    RunEventLoop(seconds * 1000);
    const double gui = ThreadCpuSeconds() - guiBefore;
    const double process = CpuSeconds(OwnUsage()) - processBefore;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    const std::size_t threads = ThreadCount();

    std::printf("GUI: %d analog-input panels open (of %d), input period 1 (100 ms), graph pages showing, %.1f s\n",
                opened, unitCount, wall);
    std::printf("  GUI thread busy:  %6.2f CPU s = %5.1f%% of the time\n", gui, 100.0 * gui / wall);
    std::printf("  whole process:    %6.2f CPU s = %5.1f%% of one core\n", process, 100.0 * process / wall);
    std::printf("  threads:          %zu\n", threads);
    main.close();
    RunEventLoop(1000);
    return 0;
}
