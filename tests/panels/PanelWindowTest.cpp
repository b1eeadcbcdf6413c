#include "panels/framework/PanelWindow.h"
#include "TestPanel.h"
#include "panels/framework/PanelTexts.h"
#include "support/MessageBoxAnswerer.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <thread>

namespace vantel {
namespace {

namespace Id = test::TestId;

class PanelWindowTest : public ::testing::Test {
protected:
    PanelWindowTest() : list((temp.path() / "vantel.dat").string())
    {
        UnitConnection unit;
        unit.name = "Tank";
        list.Add(-1, unit);

        window = new PanelWindow;
        for (const int id : {Id::OutputName, Id::InputName})
            window->bindNameBox(id, new QLineEdit(window));
        for (const int id : {Id::OutputPeriod, Id::InputPeriod})
            window->bind(id, new QLineEdit(window));
        for (const int id : {Id::OutputAuto, Id::InputAuto})
            window->bindAutoBox(id, new QCheckBox(window));
        window->bindDisconnect(new QPushButton(window));
        for (const int id : {Id::OutputButton, Id::ReadButton})
            window->bind(id, new QPushButton(window));
        for (const int id : {Id::OutputLabel, PanelId::Status, kIndicator})
            window->bind(id, new QLabel(window));

        PanelContext context(list, app, list.at(0).id);
        context.logFolder = temp.folder();
        context.tickMode = Ticker::Mode::Manual;
        auto owned = MakePanel<test::TestPanel>(*window, context);
        panel = owned.get();
        window->setPanel(std::move(owned));
        panel->start();
        window->show();
    }

    ~PanelWindowTest() override { delete window.data(); }

    static void deliverPosted()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString labelText(int id) { return qobject_cast<QLabel*>(window->controls().widget(id))->text(); }

    static constexpr int kIndicator = 1050;
    test::TempFolder temp;
    UnitList list;
    AppState app;
    QPointer<PanelWindow> window;
    test::TestPanel* panel = nullptr;
};

TEST_F(PanelWindowTest, CallsFromOtherThreadsReachTheWidgetsOnlyThroughTheEventLoop)
{
    std::thread worker([&] {
        window->setText(PanelId::Status, "from the worker");
        window->setIndicator(kIndicator, true);
        window->setCaption("Tank (ロギング中)");
    });
    worker.join();
    EXPECT_NE(labelText(PanelId::Status), "from the worker");
    deliverPosted();
    EXPECT_EQ(labelText(PanelId::Status), "from the worker");
    EXPECT_EQ(window->windowTitle(), "Tank (ロギング中)");
    const QPalette on = window->controls().widget(kIndicator)->palette();
    EXPECT_EQ(on.color(QPalette::Window), QColor(Qt::red));

    window->setIndicator(kIndicator, false); // GUI thread: at once
    const QPalette off = window->controls().widget(kIndicator)->palette();
    EXPECT_EQ(off.color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(off.color(QPalette::WindowText), QColor(Qt::blue));
}

TEST_F(PanelWindowTest, NameBoxesArePreparedAndClosingTheWindowRunsTheCloseRoutine)
{
    EXPECT_EQ(qobject_cast<QLineEdit*>(window->controls().widget(Id::OutputName))->maxLength(), 20);
    EXPECT_EQ(qobject_cast<QLineEdit*>(window->controls().widget(Id::InputPeriod))->text(), "10");
    EXPECT_EQ(app.openPanelCount.load(), 1);

    window->close();
    deliverPosted();
    EXPECT_TRUE(window.isNull()) << "the window went away with its panel";
    EXPECT_EQ(app.openPanelCount.load(), 0);
    EXPECT_FALSE(list.at(0).panelOpen);
}

TEST_F(PanelWindowTest, NameBoxFocusLossAutoBoxAndDisconnectReachThePanel)
{
    auto* name = qobject_cast<QLineEdit*>(window->controls().widget(Id::InputName));
    name->setText("Level");
    QFocusEvent focusOut(QEvent::FocusOut);
    QApplication::sendEvent(name, &focusOut);
    EXPECT_EQ(list.at(0).inputNames[0], "Level");

    qobject_cast<QCheckBox*>(window->controls().widget(Id::InputAuto))->click();
    EXPECT_TRUE(panel->autoOn(panel->inputAuto));
    EXPECT_FALSE(window->controls().widget(Id::InputPeriod)->isEnabled());

    qobject_cast<QPushButton*>(window->controls().widget(PanelId::Disconnect))->click();
    deliverPosted();
    EXPECT_TRUE(window.isNull());
}

TEST_F(PanelWindowTest, EnterAndEscapeNeitherCloseNorPress)
{
    bool pressed = false;
    auto* button = qobject_cast<QPushButton*>(window->controls().widget(Id::ReadButton));
    QObject::connect(button, &QPushButton::clicked, [&] { pressed = true; });
    button->setFocus();
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::keyClick(window, Qt::Key_Return);
    deliverPosted();
    EXPECT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(pressed);
    EXPECT_EQ(app.openPanelCount.load(), 1);
}

TEST_F(PanelWindowTest, FailureMessageFromTheWorkerIsShownThenTheTickClosesThePanel)
{
    test::MessageBoxAnswerer answerer;
    std::thread worker([&] { panel->deliver(-1); });
    worker.join();
    deliverPosted(); // shows the box; the answerer presses OK
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].text, QString::fromUtf8(kCommunicationError));
    panel->tick(); // posts the close
    deliverPosted();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(app.openPanelCount.load(), 0);
}

TEST_F(PanelWindowTest, CloseArrivingWhileAMessageBoxIsUpPutsTheBoxAwayFirst)
{
    // The main window asks the panel to close while it shows a failure.
    QTimer::singleShot(0, window, [this] {
        panel->requestClose();
        panel->tick();
    });
    window->postMessage("ORVEX通信エラー", {});
    deliverPosted();
    deliverPosted();
    EXPECT_TRUE(window.isNull()) << "the window went once its box had returned";
    EXPECT_EQ(app.openPanelCount.load(), 0);
}

} // namespace
} // namespace vantel
