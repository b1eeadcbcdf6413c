#include "panels/digital/DigitalPanelWindow.h"
#include "SimulatedDigitalUnit.h"
#include "support/MessageBoxAnswerer.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace vantel {
namespace {

constexpr int kFourByFourRow = 22; // 4 outputs, 4 inputs, masked writes
constexpr int kOutputsOnlyRow = 23;

class DigitalPanelWindowTest : public ::testing::Test {
protected:
    DigitalPanelWindowTest() : list((temp.path() / "vantel.dat").string()) {}
    ~DigitalPanelWindowTest() override { delete window.data(); }

    void openFor(int row, sim::UnitConfig config = {})
    {
        config.row = row;
        unit = test::StartListedUnit(list, config);
        ConnectRequest request;
        request.logFolder = temp.folder();
        window = DigitalPanelWindow::open(list, app, list.at(0), request);
    }

    template <typename Widget> Widget* control(int id) { return qobject_cast<Widget*>(window->controls().widget(id)); }

    static void deliverPosted()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    test::TempFolder temp;
    UnitList list;
    AppState app;
    std::unique_ptr<sim::SimUnit> unit;
    QPointer<DigitalPanelWindow> window;
};

TEST_F(DigitalPanelWindowTest, RowsTheUnitLacksAreHiddenAndTheWindowShrinks)
{
    DigitalPanelWindow full;
    full.show();
    const int fullHeight = full.height();

    openFor(kFourByFourRow);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(control<QLineEdit>(DigitalId::OutputName[3])->isHidden());
    for (std::size_t i = 4; i < 8; ++i) {
        EXPECT_TRUE(control<QLineEdit>(DigitalId::OutputName[i])->isHidden());
        EXPECT_TRUE(control<QPushButton>(DigitalId::OutputButton[i])->isHidden());
        EXPECT_TRUE(control<QLineEdit>(DigitalId::InputName[i])->isHidden());
    }
    EXPECT_LT(window->height(), fullHeight);
    EXPECT_EQ(window->windowTitle(), "Tank");
    EXPECT_EQ(control<QLineEdit>(DigitalId::OutputPeriod[0])->text(), "10");
    EXPECT_EQ(control<QLineEdit>(DigitalId::OutputPeriod[0])->maxLength(), 6);
    EXPECT_EQ(control<QLabel>(PanelId::Status)->text().toStdString(),
              "QZ-K20-P ( 127.0.0.1 : " + std::to_string(unit->port()) + " ) ID 0");
}

TEST_F(DigitalPanelWindowTest, UnitWithoutInputsHasNoInputGroup)
{
    openFor(kOutputsOnlyRow);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->controls().widget(DigitalId::InputGroup)->isHidden());
    EXPECT_FALSE(control<QLineEdit>(DigitalId::OutputName[7])->isHidden());
}

TEST_F(DigitalPanelWindowTest, ButtonsAndAutoBoxesReachThePanelButEnterAndEscapeDoNothing)
{
    openFor(kFourByFourRow);
    ASSERT_NE(window, nullptr);
    CVantelDIGITAL& panel = *window->digitalPanel();

    auto* button = control<QPushButton>(DigitalId::OutputButton[2]);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Enter);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_EQ(panel.outputBits(), 0) << "Enter presses no button";
    deliverPosted();
    EXPECT_FALSE(window.isNull()) << "Escape does not close the panel";

    button->click();
    EXPECT_EQ(panel.outputBits(), 0x4);
    EXPECT_TRUE(QTest::qWaitFor([&] { return unit->outputBits() == 0x4u; }, 5000)) << "the unit was told";

    control<QCheckBox>(DigitalId::OutputAuto[1])->click();
    EXPECT_TRUE(panel.outputAutoOn(1));
    EXPECT_FALSE(control<QPushButton>(DigitalId::OutputButton[1])->isEnabled());
    EXPECT_FALSE(control<QLabel>(DigitalId::OutputPeriodLabel[1])->isEnabled());

    control<QPushButton>(PanelId::Disconnect)->click();
    deliverPosted();
    EXPECT_TRUE(window.isNull()) << "the window went away with its panel";
    EXPECT_FALSE(list.at(0).panelOpen);
    EXPECT_EQ(app.openPanelCount.load(), 0);
}

TEST_F(DigitalPanelWindowTest, ReconnectingOpensTheWindowWhereItWasClosed)
{
    unit = test::StartListedUnit(list, {.row = kFourByFourRow});
    list.at(0).windowLeft = 300;
    list.at(0).windowTop = 200;
    ConnectRequest request;
    request.logFolder = temp.folder();
    QRect first;
    for (int round = 0; round < 10; ++round) {
        window = DigitalPanelWindow::open(list, app, list.at(0), request);
        ASSERT_NE(window, nullptr);
        // What is queued for the shown window (layout, first answers) comes first.
        QTest::qWait(20);
        const QRect shown = window->frameGeometry();
        if (round == 0)
            first = shown;
        EXPECT_EQ(shown.topLeft(), first.topLeft()) << "round " << round;
        control<QPushButton>(PanelId::Disconnect)->click();
        // A close that finds an answer half-way through is retried once it is in.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                deliverPosted();
                return window.isNull();
            },
            5000));
        EXPECT_EQ(list.at(0).windowTop, 200) << "round " << round;
        EXPECT_EQ(list.at(0).windowLeft, 300) << "round " << round;
    }
}

TEST_F(DigitalPanelWindowTest, FailedStartUpShowsWhyAndLeavesNoWindow)
{
    test::MessageBoxAnswerer answerer;
    openFor(kFourByFourRow, {.refuseConnections = true});
    EXPECT_EQ(window, nullptr);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].text.toStdString(), "接続エラー\ncode : 10061");
    deliverPosted();
    EXPECT_FALSE(list.at(0).panelOpen);
    EXPECT_EQ(app.openPanelCount.load(), 0);
}

} // namespace
} // namespace vantel
