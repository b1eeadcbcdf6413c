#include "StandInPanelPage.h"
#include "graph/GraphPageIds.h"
#include "graph/LECanvasRegistry.h"
#include "panels/PanelKindTable.h"
#include "panels/framework/TabParentDialog.h"
#include "support/CountingLink.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <thread>

using namespace vantel;

namespace {

constexpr double kT0 = 1'700'000'000;

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

TEST(LECanvasWidget, SizesItselfAndFollowsAppendsMadeOnAnotherThread)
{
    auto canvas = std::make_shared<LECanvas>(1111, PixelRect{10, 10, 710, 410}, true);
    LECanvasWidget widget(canvas);
    EXPECT_EQ(widget.geometry(), QRect(10, 10, 700, 416));
    EXPECT_EQ(widget.scrollBar()->geometry(), QRect(0, 400, 700, 16));
    EXPECT_EQ(widget.readoutRect(), QRect(280, 0, 280, 22));

    LECanvasSeries* series = canvas->AddSeries("AI1", -10, 10);
    canvas->SetSpan(60);
    std::thread reply([&] {
        for (int i = 0; i <= 120; ++i)
            series->AppendSample(kT0 + i, i % 10);
        canvas->Refresh();
    });
    reply.join();
    settle();
    EXPECT_EQ(widget.scrollBar()->pageStep(), 500'000);
    EXPECT_EQ(widget.scrollBar()->value(), 499'999);
    EXPECT_EQ(widget.scrollBar()->maximum(), 500'000);

    widget.scrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(canvas->scrollState().position, 0);
    EXPECT_EQ(widget.scrollBar()->value(), 0);
    EXPECT_EQ(canvas->view().start, kT0);
    widget.scrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(canvas->view().end, kT0 + 120) << "the right end follows again";

    const QImage image = widget.renderImage();
    EXPECT_EQ(image.size(), QSize(700, 400));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(0, 0, 0));
}

namespace {

// Records the areas a widget is asked to paint.
struct PaintRecorder : QObject {
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            areas.push_back(static_cast<QPaintEvent*>(event)->rect());
        return false;
    }
    std::vector<QRect> areas;
};

} // namespace

TEST(LECanvasWidget, MouseMovesRepaintOnlyTheReadoutStrip)
{
    auto canvas = std::make_shared<LECanvas>(1111, PixelRect{0, 0, 700, 400}, true);
    canvas->AddSeries("AI1", -10, 10);
    canvas->SetRange(kT0 - 60, kT0);
    canvas->EnableCursor(true);
    LECanvasWidget widget(canvas);
    PaintRecorder recorder;
    widget.installEventFilter(&recorder);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    settle();
    ASSERT_FALSE(recorder.areas.empty());
    recorder.areas.clear();

    QMouseEvent move(QEvent::MouseMove, QPointF(300, 200), widget.mapToGlobal(QPointF(300, 200)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
    settle();
    ASSERT_EQ(recorder.areas.size(), 1u);
    EXPECT_EQ(recorder.areas[0], widget.readoutRect());
    EXPECT_EQ(canvas->beginPaint(true), PaintKind::Full) << "the strip paint consumed the move";
}

TEST(GraphPageWidget, CheckBoxesAndScaleButtonsFollowTheKind)
{
    auto canvas = std::make_shared<LECanvas>(1111, PixelRect{10, 10, 710, 410}, true);
    for (int i = 0; i < 5; ++i)
        canvas->AddSeries("s", 0, 1);
    GraphPageWidget page(KindRowOf(ContainerKind::QZK19).graph);
    page.setCanvas(canvas);
    auto* di1 = qobject_cast<QCheckBox*>(page.controls().widget(1300));
    ASSERT_NE(di1, nullptr);
    EXPECT_EQ(di1->text(), QStringLiteral("DI1"));
    di1->click();
    di1->click();
    EXPECT_FALSE(di1->isChecked());
    EXPECT_FALSE(canvas->GetSeries(2)->isVisible()) << "DI1 of a 2-AO unit is series 2";
    EXPECT_TRUE(canvas->GetSeries(3)->isVisible());

    GraphPageWidget five(KindRowOf(ContainerKind::QZK28).graph);
    int visibleScales = 0;
    for (int row = 0; row < 6; ++row)
        visibleScales += five.controls().widget(GraphPageId::FirstScale + row)->isVisibleTo(&five) ? 1 : 0;
    EXPECT_EQ(visibleScales, 5);
    EXPECT_EQ(five.controls().text(1301), "AI5");
}

TEST(GraphPageWidget, RowValuesSetOnAReplyThreadArriveOnTheGuiThread)
{
    auto canvas = std::make_shared<LECanvas>(1111, PixelRect{10, 10, 710, 410}, true);
    canvas->AddSeries("AI1", 0, 1);
    GraphPageWidget page(KindRowOf(ContainerKind::QZK17).graph);
    page.setCanvas(canvas);
    page.logic().SetRowUnit(0, 6, 1, 0, "");
    std::thread reply([&] { page.logic().SetRowValue(0, "21.5"); });
    reply.join();
    settle();
    EXPECT_EQ(page.controls().text(GraphPageId::FirstValue), "21.5 ℃");

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("graph.png"));
    ASSERT_TRUE(page.saveGraphPng(path));
    EXPECT_EQ(QImage(path).size(), QSize(700, 400));
}

namespace {

struct ContainerFixture {
    explicit ContainerFixture(int storedLeft = -1, int storedTop = -1, ContainerKind kind = ContainerKind::QZK33)
        : list(listFile())
    {
        UnitConnection connection;
        connection.name = "unit A";
        connection.modelRow = 49;
        list.Add(-1, connection);
        list.at(0).windowLeft = storedLeft;
        list.at(0).windowTop = storedTop;
        unit = list.at(0).id;
        auto counting = std::make_unique<test::CountingLink>();
        link = counting.get();
        dialog = new TabParentDialog({kind, "unit A"}, std::move(counting), [this](PanelPageContext& context) {
            panel = new test::StandInPanelPage(context, PanelContext(list, app, unit));
            return panel;
        });
        panel->panel->start();
        dialog->show();
        canvasId = panel->canvas->id();
    }

    std::string listFile() const { return (folder.path() / "units.dat").string(); }

    test::TempFolder folder;
    UnitList list;
    AppState app;
    UnitId unit = 0;
    test::CountingLink* link = nullptr;
    QPointer<TabParentDialog> dialog;
    test::StandInPanelPage* panel = nullptr;
    int canvasId = 0;
};

} // namespace

TEST(TabParentDialog, SwitchingTabsShowsExactlyOneOfPanelAndGraph)
{
    ContainerFixture f;
    EXPECT_EQ(f.dialog->windowTitle(), QStringLiteral("unit A"));
    EXPECT_EQ(f.dialog->tabBar()->tabText(0), QStringLiteral("制御"));
    EXPECT_EQ(f.dialog->tabBar()->tabText(1), QStringLiteral("グラフ"));
    for (int index : {1, 0, 1, 0, 1}) {
        f.dialog->tabBar()->setCurrentIndex(index);
        EXPECT_EQ(f.dialog->graphPage()->isVisible(), index == 1);
        EXPECT_EQ(f.panel->isVisible(), index == 0);
    }
    f.dialog->graphPage()->controls().setCurrentIndex(GraphPageId::Period, 2);
    f.dialog->graphPage()->logic().onPeriodSelected();
    EXPECT_EQ(f.panel->periods, std::vector<int>{2});
    EXPECT_EQ(f.panel->canvas->span(), 300);
    // The link goes with the container, so its stops are counted from outside.
    ASSERT_EQ(f.link->stops, 0);
    int stopsWhileDeleted = 0;
    f.link->onStop = [&] { ++stopsWhileDeleted; };
    delete f.dialog;
    EXPECT_EQ(stopsWhileDeleted, 1) << "a container deleted outright still stops its link";
}

TEST(TabParentDialog, EnterAndEscapeInsideThePagesLeaveTheUnitConnected)
{
    ContainerFixture f;
    auto* valueBox = new QLineEdit(f.panel);
    valueBox->setText(QStringLiteral("2.5"));
    valueBox->show();
    f.dialog->tabBar()->setCurrentIndex(1);
    auto* periodList = qobject_cast<QWidget*>(f.dialog->graphPage()->controls().widget(GraphPageId::Period));
    ASSERT_NE(periodList, nullptr);
    f.dialog->tabBar()->setCurrentIndex(0);
    for (QWidget* inside : {static_cast<QWidget*>(valueBox), periodList, static_cast<QWidget*>(f.panel),
                            static_cast<QWidget*>(f.dialog->graphPage())}) {
        f.dialog->tabBar()->setCurrentIndex(inside == valueBox || inside == f.panel ? 0 : 1);
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(inside, key);
        settle();
        ASSERT_FALSE(f.dialog.isNull()) << inside->metaObject()->className();
        EXPECT_EQ(f.link->stops, 0);
        EXPECT_EQ(f.app.openPanelCount, 1);
        EXPECT_TRUE(f.dialog->isVisible());
    }
    EXPECT_EQ(valueBox->text(), QStringLiteral("2.5"));

    QTest::keyClick(f.dialog->tabBar(), Qt::Key_Escape);
    EXPECT_EQ(f.link->stops, 1) << "on the container's own tabs Escape still disconnects";
    settle();
    EXPECT_TRUE(f.dialog.isNull());
}

TEST(TabParentDialog, EscapeEnterTheButtonAndTheCloseBoxRunThePanelsCloseRoutine)
{
    for (int way = 0; way < 4; ++way) {
        ContainerFixture f;
        f.dialog->move(123, 77);
        EXPECT_EQ(f.app.openPanelCount, 1);
        EXPECT_TRUE(f.list.at(0).panelOpen);
        if (way == 0)
            QTest::keyClick(f.dialog, Qt::Key_Escape);
        else if (way == 1)
            QTest::keyClick(f.dialog, Qt::Key_Return);
        else if (way == 2)
            f.dialog->findChild<QPushButton*>(QStringLiteral("disconnect"))->click();
        else
            f.dialog->close();
        EXPECT_EQ(f.list.at(0).windowLeft, f.dialog->geometry().left()) << way;
        EXPECT_GE(f.list.at(0).windowTop, 0);
        EXPECT_EQ(f.link->stops, 1);
        EXPECT_EQ(f.link->releases, 1);
        EXPECT_TRUE(f.link->releasedAfterStop);
        EXPECT_FALSE(f.list.at(0).panelOpen);
        EXPECT_EQ(f.app.openPanelCount, 0);
        EXPECT_EQ(LECanvasRegistry::Instance().FindCanvas(f.canvasId), nullptr);
        EXPECT_EQ(UnitList(f.listFile()).Load(), 0) << "the list was saved";
        settle();
        EXPECT_TRUE(f.dialog.isNull()) << "the container deletes itself";
    }
}
