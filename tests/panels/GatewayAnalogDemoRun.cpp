// Drives the main window against the demo's LAN gateway (orvex-sim --config
// sim/demo.conf): opens its analog-input unit, its analog-output unit and a
// digital unit from the demo list, all at once on the one link; polls the
// inputs, sweeps an output, checks that the graph moves and the sweep reaches
// the unit, and writes screenshots of both analog panels and of a graph page.
// Usage: gateway_analog_demo_run LIST LOG_FOLDER [SCREENSHOT_FOLDER]
// Prints what each unit did; exits 1 when one did not do what it should.
#include "DemoRunWindows.h"
#include "app/ConnectingDialog.h"
#include "app/GatewayConnect.h"
#include "app/MainWindow.h"
#include "app/PanelLauncher.h"
#include "graph/LECanvasWidget.h"
#include "panels/analog/AnalogInputIds.h"
#include "panels/analog/AnalogOutputIds.h"
#include "panels/digital/DigitalPanelWindow.h"
#include "panels/framework/ContainerWindow.h"
#include "panels/AnalogPanelNames.h"
#include "platform/Clock.h"
#include "registry/PanelKind.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

#include <filesystem>
#include <iostream>
#include <set>

using namespace vantel;

namespace {

using test::ContainerOf;
using test::RunFor;
using test::RunUntil;
using test::SaveScreenshot;

int RowNamed(const UnitList& list, const std::string& name)
{
    for (int row = 0; row < list.count(); ++row)
        if (list.at(row).name == name)
            return row;
    return -1;
}

// Ticks a 自動 box with a period below 10 s: the question that follows is
// answered OK.
void PollEverySecond(PanelWindow& window, int autoBox, int periodBox)
{
    qobject_cast<QLineEdit*>(window.controls().widget(periodBox))->setText("1");
    QTimer::singleShot(200, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                ok->click();
    });
    qobject_cast<QCheckBox*>(window.controls().widget(autoBox))->click();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: gateway_analog_demo_run LIST LOG_FOLDER [SCREENSHOT_FOLDER]\n";
        return 2;
    }
    QApplication app(argc, argv);
    const std::filesystem::path logFolder = argv[2];
    const std::filesystem::path shots = argc > 3 ? argv[3] : "";

    UnitList list(argv[1]);
    AppState state;
    MainWindow main(list, state, logFolder.string() + "/");
    CGatewayLink link(SteadyClock::instance());
    GatewayConnect connect(link, SteadyClock::instance());
    PanelLauncher launcher(state);
    launcher.setGateway(
        &connect,
        [&](UnitRecord& record, const ConnectRequest& request, CGatewayLink& gatewayLink) {
            DigitalPanelWindow::openGateway(list, state, record, request, gatewayLink);
        },
        [&](UnitRecord& record, const ConnectRequest& request, CGatewayLink& gatewayLink, int unitId) {
            OpenGatewayContainer(list, state, record, request, gatewayLink, unitId);
        },
        [&] { ConnectingDialog::open(connect, &main); });
    main.logic().setConnector(&launcher);
    if (!main.start({LoopbackAdapter()}))
        return 1;
    main.show();
    main.controls().setChecked(MainId::LoggingEnabled, true);

    const int flowRow = RowNamed(list, "GW 流量計 (LAN)");
    const int valveRow = RowNamed(list, "GW バルブ (LAN)");
    const int pumpRow = RowNamed(list, "GW ポンプ室 (LAN)");
    if (flowRow < 0 || valveRow < 0 || pumpRow < 0) {
        std::cerr << "the list lacks the demo's gateway units\n";
        return 1;
    }
    TabParentDialog* flow = nullptr;
    TabParentDialog* valve = nullptr;
    for (const auto& [row, window] : {std::pair{flowRow, &flow}, std::pair{valveRow, &valve}}) {
        main.selectRow(row);
        main.logic().onConnect();
        RunUntil([&, r = row, w = window] { return (*w = ContainerOf(list.at(r).id)) != nullptr; }, 8000);
    }
    main.selectRow(pumpRow);
    main.logic().onConnect();
    auto* flowPanel = flow ? dynamic_cast<DlgQZK17_GW*>(flow->panel()) : nullptr;
    auto* valvePanel = valve ? dynamic_cast<CDlgQZK33_GW*>(valve->panel()) : nullptr;
    const bool started =
        flowPanel && valvePanel &&
        RunUntil([&] { return flowPanel->startedUp() && valvePanel->startedUp() && state.openPanelCount == 3; }, 8000);
    std::cout << "open at once on one link: " << (started ? "DlgQZK17_GW, CDlgQZK33_GW, CVantelGW" : "FAILED") << "\n";
    if (!started)
        return 1;
    std::cout << flow->controls().text(PanelId::Status) << "\n" << valve->controls().text(PanelId::Status) << "\n";

    PollEverySecond(*flow, AnalogInputId::InputAuto, AnalogInputId::InputPeriod);
    PollEverySecond(*valve, AnalogOutputId::InputAuto, AnalogOutputId::InputPeriod);
    qobject_cast<QPushButton*>(valve->controls().widget(AnalogOutputId::Rows[0].sweep))->click();
    std::set<int> sweptValues;
    QElapsedTimer running;
    running.start();
    while (running.elapsed() < (shots.empty() ? 5000 : 20000)) {
        RunFor(100);
        sweptValues.insert(valvePanel->outputRaw(0));
    }
    const std::size_t samples = flow->graphPage()->canvasWidget()->canvas().GetSeries(0)->sampleCount();
    const bool inputsMove = samples >= 3;
    const bool sweepRuns = sweptValues.size() >= 10 && valvePanel->sweeping(0);
    std::cout << "  inputs: " << samples << " samples on AI1's trace " << (inputsMove ? "ok" : "FAILED") << "\n";
    std::cout << "  sweep: " << sweptValues.size() << " different AO1 values " << (sweepRuns ? "ok" : "FAILED") << "\n";
    if (!shots.empty()) {
        SaveScreenshot(*flow, shots / "gateway-analog-input.png");
        SaveScreenshot(*valve, shots / "gateway-analog-output.png");
        valve->tabBar()->setCurrentIndex(1);
        RunFor(300);
        SaveScreenshot(*valve, shots / "gateway-analog-graph.png");
        valve->tabBar()->setCurrentIndex(0);
    }

    main.close();
    RunUntil([&] { return state.openPanelCount.load() == 0 && !main.isVisible(); }, 5000);
    std::cout << "open panels after closing the main window: " << state.openPanelCount.load() << "\n";
    return inputsMove && sweepRuns && state.openPanelCount.load() == 0 ? 0 : 1;
}
