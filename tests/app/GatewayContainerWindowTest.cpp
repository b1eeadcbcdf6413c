#include "SimGateway.h"
#include "app/ConnectingDialog.h"
#include "app/GatewayConnect.h"
#include "app/MainWindow.h"
#include "app/PanelLauncher.h"
#include "panels/analog/AnalogInputIds.h"
#include "panels/analog/AnalogOutputIds.h"
#include "panels/digital/DigitalPanelWindow.h"
#include "panels/framework/ContainerWindow.h"
#include "panels/framework/PanelTexts.h"
#include "panels/AnalogPanelNames.h"
#include "platform/Clock.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>

namespace vantel {
namespace {

constexpr int kInputNode = 4;
constexpr int kOutputNode = 6;
constexpr int kDigitalNode = 2;

// The program's main window with the program's launcher and connect dialog,
// opening the units behind one simulated gateway.
class GatewayContainerWindowTest : public ::testing::Test {
protected:
    GatewayContainerWindowTest()
    {
        gateway.start();
        add("Flow", kInputNode, 37);
        add("Valve", kOutputNode, 38);
        add("Pump", kDigitalNode, 35);
        list.Save();
        launcher.setGateway(
            &connect,
            [this](UnitRecord& record, const ConnectRequest& request, CGatewayLink& gatewayLink) {
                DigitalPanelWindow::openGateway(list, state, record, request, gatewayLink);
            },
            [this](UnitRecord& record, const ConnectRequest& request, CGatewayLink& gatewayLink, int unitId) {
                OpenGatewayContainer(list, state, record, request, gatewayLink, unitId);
            },
            [this] { ConnectingDialog::open(connect, &window); });
        window.logic().setConnector(&launcher);
        EXPECT_TRUE(window.start({LoopbackAdapter()}));
        window.show();
    }

    ~GatewayContainerWindowTest() override
    {
        for (QWidget* topLevel : QApplication::topLevelWidgets())
            if (auto* panelWindow = dynamic_cast<PanelWindow*>(topLevel))
                delete panelWindow;
    }

    void add(const std::string& name, int node, int row)
    {
        UnitConnection unit;
        unit.name = name;
        unit.connectionKind = kConnectionLan;
        unit.host = "127.0.0.1";
        unit.controlPort = gateway.port();
        unit.node = node;
        unit.replyTimeout = 2;
        unit.modelRow = row;
        list.Add(-1, unit);
    }

    static bool runUntil(const std::function<bool()>& done)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done()) {
            if (timer.elapsed() > 5000)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            // Closed windows delete themselves later, outside any event loop here.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        return true;
    }

    static TabParentDialog* containerOf(UnitId unit)
    {
        for (QWidget* topLevel : QApplication::topLevelWidgets())
            if (auto* container = dynamic_cast<TabParentDialog*>(topLevel);
                container && container->isVisible() && container->panel() && container->panel()->unit() == unit)
                return container;
        return nullptr;
    }

    void connectRow(int row)
    {
        QTreeWidget* view = window.unitListView();
        view->setCurrentItem(view->topLevelItem(row));
        window.logic().onConnect();
    }

    sim::SimGateway gateway{{.ptyLink = {},
                             .nodes = {{.node = kInputNode, .row = 37, .unitId = 3},
                                       {.node = kOutputNode, .row = 38, .unitId = 5},
                                       {.node = kDigitalNode, .row = 35, .unitId = 1}}}};
    test::TempFolder folder;
    UnitList list{(folder.path() / "vantel.dat").string()};
    AppState state;
    MainWindow window{list, state, folder.folder()};
    CGatewayLink link{SteadyClock::instance()};
    GatewayConnect connect{link, SteadyClock::instance()};
    PanelLauncher launcher{state};
};

TEST_F(GatewayContainerWindowTest, TheModelCheckOpensBothAnalogPanelsAndADigitalOneOnTheSameLink)
{
    connectRow(0);
    EXPECT_TRUE(connect.connecting());
    ASSERT_TRUE(runUntil([&] { return containerOf(list.at(0).id) != nullptr; }));
    QPointer<TabParentDialog> flow = containerOf(list.at(0).id);
    EXPECT_FALSE(connect.connecting()) << "the panel took the connect over";
    auto* flowPanel = dynamic_cast<DlgQZK17_GW*>(flow->panel());
    ASSERT_NE(flowPanel, nullptr);
    ASSERT_TRUE(runUntil([&] { return flowPanel->startedUp(); }));
    const auto* status = qobject_cast<QLabel*>(flow->controls().widget(PanelId::Status));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text().toStdString(), "QZ-K17-GW ( node : 4 / ID : 3 )");
    EXPECT_EQ(flow->controls().widget(AnalogInputId::SampleRate), nullptr) << "no ADC sps behind the gateway";
    EXPECT_NE(flow->controls().widget(AnalogInputId::Rows[0].thermocouple), nullptr);

    connectRow(1);
    ASSERT_TRUE(runUntil([&] { return containerOf(list.at(1).id) != nullptr; }));
    QPointer<TabParentDialog> valve = containerOf(list.at(1).id);
    auto* valvePanel = dynamic_cast<CDlgQZK33_GW*>(valve->panel());
    ASSERT_NE(valvePanel, nullptr);
    ASSERT_TRUE(runUntil([&] { return valvePanel->startedUp(); }));
    EXPECT_EQ(valve->controls().text(AnalogOutputId::InputPeriodLabel), "x1sec");

    connectRow(2);
    ASSERT_TRUE(runUntil([&] { return state.openPanelCount.load() == 3; }));
    EXPECT_EQ(gateway.acceptedConnections(), 1u) << "every unit behind the gateway shares the one link";

    // Switching an output through the window reaches the unit.
    valve->controls().setText(AnalogOutputId::Rows[0].output, "2.5");
    qobject_cast<QPushButton*>(valve->controls().widget(AnalogOutputId::Rows[0].button))->click();
    EXPECT_TRUE(runUntil([&] { return gateway.nodeState(kOutputNode).analogOutputs[0].raw != 0; }));

    for (TabParentDialog* container : {flow.data(), valve.data()})
        container->findChild<QPushButton*>(QStringLiteral("disconnect"))->click();
    ASSERT_TRUE(runUntil([&] { return flow.isNull() && valve.isNull(); }));
    EXPECT_FALSE(list.at(0).panelOpen);
    EXPECT_TRUE(link.running()) << "the digital panel still uses the link";
}

} // namespace
} // namespace vantel
