#include "SimUnit.h"
#include "app/MainWindow.h"
#include "app/PanelLauncher.h"
#include "comm/protocol/ValueConversion.h"
#include "graph/LECanvasWidget.h"
#include "panels/analog/AnalogInputIds.h"
#include "panels/analog/AnalogOutputIds.h"
#include "panels/framework/ContainerWindow.h"
#include "panels/framework/PanelTexts.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace vantel {
namespace {

constexpr int kAnalogRow = 49;

// The program's main window with the program's launcher, connecting a
// simulated analog unit on loopback.
class AnalogContainerWindowTest : public ::testing::Test {
protected:
    explicit AnalogContainerWindowTest(int row = kAnalogRow) : unit(sim::UnitConfig{.row = row, .unitId = 4})
    {
        unit.start();
        UnitConnection connection;
        connection.name = "Bench";
        connection.host = "127.0.0.1";
        connection.controlPort = unit.port();
        connection.modelRow = row;
        list.Add(-1, connection);
        list.Save();
        window.logic().setConnector(&launcher);
        EXPECT_TRUE(window.start({LoopbackAdapter()}));
        window.show();
    }

    TabParentDialog* connect()
    {
        QTreeWidget* view = window.unitListView();
        view->setCurrentItem(view->topLevelItem(0));
        window.logic().onConnect();
        for (QWidget* topLevel : QApplication::topLevelWidgets())
            if (auto* container = dynamic_cast<TabParentDialog*>(topLevel); container && container->isVisible())
                return container;
        return nullptr;
    }

    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    sim::SimUnit unit;
    test::TempFolder folder;
    UnitList list{(folder.path() / "vantel.dat").string()};
    AppState state;
    MainWindow window{list, state, folder.folder()};
    PanelLauncher launcher{state, {}, [this](UnitRecord& record, const ConnectRequest& request, ConnectedAnalogUnit u) {
                               OpenAnalogContainer(list, state, record, request, std::move(u.channel), u.unitId);
                           }};
};

TEST_F(AnalogContainerWindowTest, ConnectOpensTheContainerWithTheCheckedChannelAndDisconnectGivesItBack)
{
    QPointer<TabParentDialog> container = connect();
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(container->windowTitle(), QStringLiteral("Bench"));
    const auto* status = qobject_cast<QLabel*>(container->controls().widget(PanelId::Status));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text().toStdString(),
              "接続デバイス : QZ-K33-PW ( 127.0.0.1 : " + std::to_string(unit.port()) + " ) : ID 4");
    EXPECT_TRUE(list.at(0).panelOpen);
    EXPECT_EQ(state.openPanelCount.load(), 1);
    EXPECT_EQ(unit.acceptedConnections(), 1u) << "the container keeps the connection the check opened";

    container->findChild<QPushButton*>(QStringLiteral("disconnect"))->click();
    settle();
    EXPECT_TRUE(container.isNull());
    EXPECT_FALSE(list.at(0).panelOpen);
    EXPECT_EQ(state.openPanelCount.load(), 0);
}

TEST_F(AnalogContainerWindowTest, TheOutputPanelSetsAnOutputAndTheGraphFollowsTheInputPolling)
{
    QPointer<TabParentDialog> container = connect();
    ASSERT_NE(container, nullptr);
    auto* output = qobject_cast<QLineEdit*>(container->controls().widget(AnalogOutputId::Rows[0].output));
    auto* button = qobject_cast<QPushButton*>(container->controls().widget(AnalogOutputId::Rows[0].button));
    ASSERT_NE(output, nullptr);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return output->text() == QStringLiteral("0.0000"); }, 5000));
    output->clear();
    QTest::keyClicks(output, QStringLiteral("2.5"));
    button->click();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return unit.state().analogOutputs[0].raw == ValueToOutputRaw(OutputMode::Voltage, 2.5); }, 5000));

    QTest::keyClicks(output, QStringLiteral("0"));
    EXPECT_EQ(button->text(), QStringLiteral("更新")) << "typing into a running output asks for an update";
    button->click();
    EXPECT_EQ(button->text(), QStringLiteral("ON/OFF"));

    auto* autoBox = qobject_cast<QAbstractButton*>(container->controls().widget(AnalogOutputId::InputAuto));
    qobject_cast<QLineEdit*>(container->controls().widget(AnalogOutputId::InputPeriod))->setText(QStringLiteral("1"));
    autoBox->click();
    ASSERT_NE(container->graphPage()->canvasWidget(), nullptr);
    const LECanvas& canvas = container->graphPage()->canvasWidget()->canvas();
    EXPECT_TRUE(QTest::qWaitFor([&] { return canvas.GetSeries(0)->sampleCount() >= 3; }, 5000));
    container->findChild<QPushButton*>(QStringLiteral("disconnect"))->click();
    settle();
    EXPECT_TRUE(container.isNull());
}

class AnalogInputContainerWindowTest : public AnalogContainerWindowTest {
protected:
    AnalogInputContainerWindowTest() : AnalogContainerWindowTest(kInputRow) {}
    static constexpr int kInputRow = 18;
};

TEST_F(AnalogInputContainerWindowTest, TheInputPanelReadsConvertsAndLetsAnAlertLockItsOutput)
{
    unit.modify([](sim::UnitState& s) {
        s.rangeCodes[0] = 2;
        s.pinnedReadings[0] = 0x400000;
    });
    QPointer<TabParentDialog> container = connect();
    ASSERT_NE(container, nullptr);
    using namespace AnalogInputId;
    auto* range = qobject_cast<QComboBox*>(container->controls().widget(Rows[0].range));
    ASSERT_NE(range, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return range->currentText() == QStringLiteral("±10V"); }, 5000));
    qobject_cast<QPushButton*>(container->controls().widget(ReadInputs))->click();
    const auto* measured = qobject_cast<QLabel*>(container->controls().widget(Rows[0].measured));
    EXPECT_TRUE(QTest::qWaitFor([&] { return measured->text() == QStringLiteral(" 5.0000 V"); }, 5000))
        << measured->text().toStdString();

    auto* alert = qobject_cast<QCheckBox*>(container->controls().widget(Outputs[0].alert));
    auto* onOff = qobject_cast<QPushButton*>(container->controls().widget(Outputs[0].button));
    ASSERT_NE(alert, nullptr);
    alert->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !onOff->isEnabled(); }, 5000)) << "the unit drives DO1 now";
    EXPECT_EQ(unit.state().doAlerts[0].enabled, 1);
    container->findChild<QPushButton*>(QStringLiteral("disconnect"))->click();
    settle();
    EXPECT_TRUE(container.isNull());
}

TEST_F(AnalogContainerWindowTest, ShutdownClosesTheContainerOfASilentUnit)
{
    QPointer<TabParentDialog> container = connect();
    ASSERT_NE(container, nullptr);
    unit.setFault(sim::Fault::NoReply);
    window.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return container.isNull() && !window.isVisible(); }, 10000));
    EXPECT_EQ(state.openPanelCount.load(), 0);
}

} // namespace
} // namespace vantel
