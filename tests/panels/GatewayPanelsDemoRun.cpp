// Opens two digital wireless units behind one simulated gateway from the main
// window, switches an output on each, and writes a screenshot of one panel.
// Usage: gateway_panels_demo_run FOLDER [screenshot.png]
// Exits 1 when a unit did not do what it should.
#include "DemoRunEvents.h"
#include "SimGateway.h"
#include "app/AppTexts.h"
#include "app/MainWindow.h"
#include "app/PanelLauncher.h"
#include "panels/digital/DigitalPanelWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <iostream>

using namespace vantel;

namespace {

using test::RunUntil;

DigitalPanelWindow* GatewayWindowOf(UnitId unit)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = dynamic_cast<DigitalPanelWindow*>(widget);
        if (window && window->gatewayPanel() && window->gatewayPanel()->unit() == unit)
            return window;
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: gateway_panels_demo_run FOLDER [screenshot.png]\n";
        return 2;
    }
    QApplication app(argc, argv);
    sim::SimGateway gateway({.ptyLink = {},
                             .nodes = {{.node = 2, .row = 35, .unitId = 1, .inputBits = 0b101},
                                       {.node = 9, .row = 36, .unitId = 6, .inputBits = 0b10}}});
    gateway.start();
    sim::SimGateway otherGateway({.ptyLink = {}, .nodes = {{.node = 2, .row = 33}}});
    otherGateway.start();

    // The run's unit list is written there: a folder that does not exist yet is made.
    std::error_code made;
    std::filesystem::create_directories(argv[1], made);
    const std::string folder = std::string(argv[1]) + "/";
    UnitList list(folder + "vantel.dat");
    for (const auto& [name, port, node, row] :
         {std::tuple{"ポンプ室", gateway.port(), 2, 35}, std::tuple{"倉庫", gateway.port(), 9, 36},
          std::tuple{"別棟", otherGateway.port(), 2, 33}}) {
        UnitConnection unit;
        unit.name = name;
        unit.connectionKind = kConnectionLan;
        unit.host = "127.0.0.1";
        unit.controlPort = port;
        unit.node = node;
        unit.modelRow = row;
        list.Add(-1, unit);
    }
    // The main window reads the list from its file at start.
    list.Save();
    AppState state;
    MainWindow main(list, state, folder);
    CGatewayLink link(SteadyClock::instance());
    GatewayConnect connect(link, SteadyClock::instance());
    PanelLauncher launcher(state);
    launcher.setGateway(&connect,
                        [&](UnitRecord& record, const ConnectRequest& request, CGatewayLink& gatewayLink) {
                            DigitalPanelWindow::openGateway(list, state, record, request, gatewayLink);
                        },
                        {}, {});
    main.logic().setConnector(&launcher);
    if (!main.start({LoopbackAdapter()}))
        return 1;
    main.show();

    bool allOk = true;
    constexpr int kSameGatewayUnits = 2;
    for (int row = 0; row < kSameGatewayUnits; ++row) {
        main.selectRow(row);
        main.logic().onConnect();
        DigitalPanelWindow* window = GatewayWindowOf(list.at(row).id);
        const bool started = window && RunUntil([&] { return window->gatewayPanel()->startedUp(); }, 5000);
        if (started)
            qobject_cast<QPushButton*>(window->controls().widget(DigitalId::OutputButton[0]))->click();
        const int node = list.at(row).node;
        // The DK waits for its reply on the panel's own thread.
        const bool switched = started && RunUntil([&] { return (gateway.nodeState(node).outputBits & 1) != 0; }, 5000);
        std::cout << list.at(row).name << ": " << (switched ? "ok" : "FAILED") << "\n";
        allOk = allOk && switched;
    }
    std::cout << "open panels: " << state.openPanelCount.load() << "\n";

    // A unit of another gateway while the link runs: refused with the message.
    QString refusal;
    QTimer::singleShot(300, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            refusal = box->text();
            box->accept();
        }
    });
    main.selectRow(kSameGatewayUnits);
    main.logic().onConnect();
    const bool refused = refusal == QString::fromUtf8(kOtherGateway) && !GatewayWindowOf(list.at(2).id);
    std::cout << list.at(2).name << " (other gateway): " << (refused ? "refused" : "FAILED") << "\n";
    allOk = allOk && refused;
    if (argc > 2)
        if (DigitalPanelWindow* window = GatewayWindowOf(list.at(0).id)) {
            qobject_cast<QLineEdit*>(window->controls().widget(DigitalId::OutputName[0]))->setText("排水ポンプ");
            RunUntil([] { return false; }, 300);
            window->grab().save(QString::fromLocal8Bit(argv[2]), "PNG");
        }
    for (QWidget* topLevel : QApplication::topLevelWidgets())
        if (auto* panelWindow = dynamic_cast<PanelWindow*>(topLevel))
            delete panelWindow;
    return allOk && state.openPanelCount.load() == 0 ? 0 : 1;
}
