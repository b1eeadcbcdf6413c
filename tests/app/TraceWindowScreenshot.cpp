// Writes the screenshot of the trace window for the documentation: units of
// the demo's kinds on the simulator (an analog unit, a digital unit of each
// dialect, one answering garbage for a while, one gone silent, a node behind
// the gateway) polled through their real channels while the window is open.
// Usage: trace_window_screenshot FILE.png
#include "SimGateway.h"
#include "SimUnit.h"
#include "app/TraceWindow.h"
#include "comm/link/CGatewayLink.h"
#include "comm/worker/AnalogRequestHandler.h"
#include "comm/worker/DigitalRequestHandler.h"
#include "platform/Clock.h"

#include <QApplication>
#include <QPixmap>
#include <QTableView>

#include <iostream>
#include <memory>

using namespace vantel;

namespace {

std::unique_ptr<sim::SimUnit> Start(int row, sim::Fault fault = sim::Fault::None)
{
    sim::UnitConfig config;
    config.row = row;
    config.unitId = 1;
    config.inputBits = 0x5;
    config.fault = fault;
    auto unit = std::make_unique<sim::SimUnit>(config);
    unit->start();
    return unit;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: trace_window_screenshot FILE.png\n";
        return 2;
    }
    QApplication app(argc, argv);
    TraceWindow window;
    window.resize(1180, 520);
    window.show();

    auto analogUnit = Start(30);
    auto asciiUnit = Start(22);
    auto twoByteUnit = Start(2);
    auto garbageUnit = Start(22, sim::Fault::Garbage);
    auto silentUnit = Start(0, sim::Fault::NoReply);
    CAnalogChannel analog;
    analog.connect("127.0.0.1", analogUnit->port(), kAnyAddress);
    CDigitalChannel ascii;
    ascii.connect("127.0.0.1", asciiUnit->port(), 22, 0, kAnyAddress);
    CDigitalChannel twoByte;
    twoByte.connect("127.0.0.1", twoByteUnit->port(), 2, twoByteUnit->secondPort(), kAnyAddress);
    CDigitalChannel garbage(300);
    garbage.connect("127.0.0.1", garbageUnit->port(), 22, 0, kAnyAddress);
    CDigitalChannel silent(300);
    silent.connect("127.0.0.1", silentUnit->port(), 0, 0, kAnyAddress);

    sim::GatewayConfig gatewayConfig;
    gatewayConfig.nodes = {{.node = 4, .row = 35, .inputBits = 3}};
    sim::SimGateway gateway(gatewayConfig);
    gateway.start();
    CGatewayLink link(SteadyClock::instance());
    GatewayNode node = link.registerNode(4, [](const NodeFrame&) { return true; });
    link.open({GatewayConnection::Lan, "127.0.0.1", gateway.port(), 0});

    for (int round = 0; round < 2; ++round) {
        analog::Request readAll = analog::ReadAllInputs{5, [](auto) {}};
        Serve(analog, readAll);
        digital::Request readInputs = digital::ReadInputs{[](auto) {}};
        Serve(ascii, readInputs);
        Serve(twoByte, readInputs);
        link.sendAndWait(4, std::string("DI\xC8"), 3000);
    }
    QueryDigitalModel(garbage);
    QueryDigitalModel(silent);
    window.takeNewRecords();
    window.table()->resizeColumnToContents(4);
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return 1;
    }
    std::cout << window.shownRows() << " rows\n";
    return 0;
}
