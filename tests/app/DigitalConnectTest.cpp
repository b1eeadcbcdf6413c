#include "SimUnit.h"
#include "app/CVantelDlg.h"
#include "app/PanelLauncher.h"
#include "panels/digital/CVantelDIGITAL.h"
#include "platform/Adapters.h"
#include "platform/Clock.h"
#include "support/FakeMainView.h"
#include "support/FakePanelView.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace vantel {
namespace {

constexpr int kDigitalRow = 22;
constexpr int kAnalogRow = 19;

// The main window with its launcher; digital panels open on fake views and
// tick by hand, so the test plays the panel windows' part.
class DigitalConnectTest : public ::testing::Test {
protected:
    DigitalConnectTest() : list((temp.path() / "vantel.dat").string())
    {
        unit = std::make_unique<sim::SimUnit>(sim::UnitConfig{.row = kDigitalRow, .unitId = 3});
        unit->start();
        addUnit("Tank", kDigitalRow, unit->port());
        addUnit("Meter", kAnalogRow, unit->port());
        list.Save(); // start-up reads the list from its file
        dlg.setConnector(&launcher);
        dlg.start({LoopbackAdapter()});
    }

    void addUnit(const std::string& name, int row, int port)
    {
        UnitConnection connection;
        connection.name = name;
        connection.host = "127.0.0.1";
        connection.controlPort = port;
        connection.modelRow = row;
        list.Add(-1, connection);
    }

    void openDigital(UnitRecord& record, const ConnectRequest& request)
    {
        PanelContext context = ContextFor(list, app, record, request);
        context.tickMode = Ticker::Mode::Manual;
        panel = MakePanel<CVantelDIGITAL>(panelView, context);
        panel->start();
    }

    test::TempFolder temp;
    UnitList list;
    AppState app;
    ManualClock clock;
    test::FakeMainView view;
    CVantelDlg dlg{list, app, view, clock};
    std::unique_ptr<sim::SimUnit> unit;
    test::FakePanelView panelView;
    PanelPtr<CVantelDIGITAL> panel;
    int opened = 0;
    PanelLauncher launcher{app, [this](UnitRecord& record, const ConnectRequest& request) {
                               ++opened;
                               openDigital(record, request);
                           }};
};

TEST_F(DigitalConnectTest, ConnectOpensTheDigitalPanelAndShutdownClosesIt)
{
    view.controls().setChecked(MainId::LoggingEnabled, true);
    view.selectRow(0);
    dlg.onConnect();
    ASSERT_EQ(opened, 1);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(list.at(0).panel, panel.get()) << "the record knows its panel";
    EXPECT_TRUE(list.at(0).panelOpen);
    EXPECT_TRUE(panel->loggingEnabled());
    EXPECT_EQ(panelView.text(PanelId::Status).substr(0, 8), "QZ-K20-P");

    view.selectRow(0);
    dlg.onConnect();
    EXPECT_EQ(opened, 1) << "an open unit is not connected twice";

    // Closing the main window asks the panel to close and waits for it.
    EXPECT_FALSE(dlg.onCloseRequested());
    panel->tick();
    EXPECT_EQ(panelView.closesPosted.load(), 1);
    dlg.onTimer();
    EXPECT_FALSE(view.closed) << "still waiting for the panel";
    panel->onCloseCommand(); // the posted close arrives
    EXPECT_FALSE(list.at(0).panelOpen);
    dlg.onTimer();
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(app.openPanelCount.load(), 0);
}

TEST_F(DigitalConnectTest, AnalogUnitsDoNotOpenADigitalPanel)
{
    view.selectRow(1);
    dlg.onConnect();
    EXPECT_EQ(opened, 0);
    EXPECT_FALSE(list.at(1).panelOpen);
}

} // namespace
} // namespace vantel
