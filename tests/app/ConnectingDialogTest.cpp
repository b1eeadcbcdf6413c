#include "app/ConnectingDialog.h"
#include "SimGateway.h"
#include "panels/gateway/GatewayPanelRules.h"
#include "support/FakeControlView.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace vantel {
namespace {

class ConnectingDialogTest : public ::testing::Test {
protected:
    ConnectingDialogTest() : list((temp.path() / "vantel.dat").string()), link(clock), connect(link, clock)
    {
        gateway.start();
        UnitConnection unit;
        unit.name = "flow";
        unit.connectionKind = kConnectionLan;
        unit.host = "127.0.0.1";
        unit.controlPort = gateway.port();
        unit.node = 4;
        unit.replyTimeout = 1;
        unit.modelRow = 37;
        list.Add(-1, unit);
    }

    // Opens the dialog as the main window's connect does and returns it.
    QDialog* openDialog(QWidget* owner = nullptr)
    {
        EXPECT_TRUE(connect.openLink(list.at(0), 0, view));
        connect.checkModel(list.at(0), view, [&] { ConnectingDialog::open(connect, owner); }, {});
        return qobject_cast<QDialog*>(QApplication::activeModalWidget());
    }

    test::TempFolder temp;
    UnitList list;
    ManualClock clock{1000};
    sim::SimGateway gateway{{.ptyLink = {}, .nodes = {{.node = 4, .row = 37, .silent = true}}}};
    CGatewayLink link;
    GatewayConnect connect;
    test::FakeControlView view;
};

TEST_F(ConnectingDialogTest, CancelEndsTheWaitWithoutAMessage)
{
    QDialog* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(connect.handOver(), GatewayConnect::DialogShown);
    ASSERT_NE(dialog->findChild<QLabel*>(), nullptr);
    EXPECT_EQ(dialog->findChild<QLabel*>()->text(), QStringLiteral("ORVEX-GW接続中 . . ."));
    QPointer<QDialog> alive(dialog);
    dialog->findChild<QPushButton*>()->click();
    EXPECT_FALSE(connect.waitingForReply());
    clock.advance(5000);
    connect.onTimer(list, view);
    EXPECT_TRUE(view.messages.empty());
    QTest::qWait(50); // the dialog deletes itself
    EXPECT_TRUE(alive.isNull());
}

TEST_F(ConnectingDialogTest, DeadlineClosesTheDialogAndShowsTheConnectError)
{
    QPointer<QDialog> dialog(openDialog());
    ASSERT_FALSE(dialog.isNull());
    clock.advance(1001);
    connect.onTimer(list, view);
    EXPECT_EQ(view.lastMessage(), kGatewayConnectTimedOut);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.isNull(); }, 2000));
    EXPECT_EQ(connect.handOver(), GatewayConnect::DialogCreated);
}

// A click as the windowing system delivers it, so a window that a modal
// dialog blocks does not get it.
int ClicksThrough(QPushButton& button)
{
    int clicks = 0;
    const auto counter = QObject::connect(&button, &QPushButton::clicked, [&clicks] { ++clicks; });
    QWindow* window = button.window()->windowHandle();
    QTest::mouseClick(window, Qt::LeftButton, {}, button.mapTo(button.window(), button.rect().center()));
    QApplication::processEvents();
    QObject::disconnect(counter);
    return clicks;
}

TEST_F(ConnectingDialogTest, OnlyTheMainWindowWaitsBehindIt)
{
    QWidget mainWindow;
    auto* connectButton = new QPushButton(QStringLiteral("接続(&C)"), &mainWindow);
    mainWindow.show();
    // An open panel: a window of its own, not owned by the main window.
    QWidget panel;
    auto* outputButton = new QPushButton(QStringLiteral("ON/OFF"), &panel);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));

    QPointer<QDialog> dialog(openDialog(&mainWindow));
    ASSERT_FALSE(dialog.isNull());
    EXPECT_EQ(ClicksThrough(*outputButton), 1) << "the panel keeps working";
    EXPECT_EQ(ClicksThrough(*connectButton), 0) << "the main window waits";
    dialog->findChild<QPushButton*>()->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.isNull(); }, 2000));
    EXPECT_EQ(ClicksThrough(*connectButton), 1);
}

} // namespace
} // namespace vantel
