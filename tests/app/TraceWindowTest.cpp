#include "app/TraceWindow.h"
#include "app/MainWindow.h"
#include "comm/link/TraceHub.h"
#include "comm/link/TraceLine.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <thread>
#include <vector>

namespace vantel {
namespace {

TraceRecord Record(int i, const std::string& unit, TraceDirection direction)
{
    return TraceRecord{1796799481000 + i, unit, direction, std::string("DI\xC8", 3), "m" + std::to_string(i)};
}

// Records as channels make them: from other threads, into whatever the hub holds.
void RecordFromAnotherThread(const std::vector<TraceRecord>& records)
{
    std::thread worker([&] {
        const TraceTarget target = TraceHub::process().target();
        ASSERT_TRUE(target);
        for (const TraceRecord& record : records)
            target.sink->record(record);
    });
    worker.join();
}

QString Cell(const TraceWindow& window, int row, int column)
{
    const QAbstractItemModel* model = window.table()->model();
    return model->data(model->index(row, column)).toString();
}

TEST(TraceWindowTest, TracesWhileOpenAndShowsEachRecordAsItsSixColumns)
{
    auto* window = new TraceWindow;
    window->show();
    std::vector<TraceRecord> records;
    for (int i = 0; i < 6; ++i)
        records.push_back(Record(i, i % 2 == 0 ? "127.0.0.1:10001" : "GW COM3 #04",
                                 i % 3 == 0 ? TraceDirection::Sent : TraceDirection::Received));
    RecordFromAnotherThread(records);
    window->takeNewRecords();
    ASSERT_EQ(window->shownRows(), 6);
    EXPECT_EQ(Cell(*window, 0, 0).toStdString(), FormatTraceTime(records[0].wallMs));
    EXPECT_EQ(Cell(*window, 0, 1), "127.0.0.1:10001");
    EXPECT_EQ(Cell(*window, 0, 2), "→");
    EXPECT_EQ(Cell(*window, 1, 2), "←");
    EXPECT_EQ(Cell(*window, 0, 3), "44 49 C8");
    EXPECT_EQ(Cell(*window, 0, 4), "DI.");
    EXPECT_EQ(Cell(*window, 0, 5), "m0");

    // Filters: the units seen are offered; unit and direction combine.
    EXPECT_EQ(window->unitFilter()->count(), 3);
    window->unitFilter()->setCurrentIndex(window->unitFilter()->findText("GW COM3 #04"));
    EXPECT_EQ(window->shownRows(), 3);
    window->directionFilter()->setCurrentIndex(2); // received only
    EXPECT_EQ(window->shownRows(), 2);
    window->unitFilter()->setCurrentIndex(0);
    EXPECT_EQ(window->shownRows(), 4);
    window->directionFilter()->setCurrentIndex(0);

    // Paused, nothing new shows; the ring keeps it for later.
    window->pauseBox()->setChecked(true);
    RecordFromAnotherThread({Record(6, "127.0.0.1:10001", TraceDirection::Event)});
    window->takeNewRecords();
    EXPECT_EQ(window->shownRows(), 6);
    window->pauseBox()->setChecked(false);
    window->takeNewRecords();
    EXPECT_EQ(window->shownRows(), 7);
    EXPECT_EQ(Cell(*window, 6, 2), "·");

    window->clear();
    EXPECT_EQ(window->shownRows(), 0);
    window->close(); // deleted on close: tracing stops with it
    QApplication::processEvents();
    EXPECT_FALSE(TraceHub::process().target());
}

TEST(TraceWindowTest, CtrlCCopiesTheSelectedRowsAndSaveWritesTheShownOnesAsTraceLines)
{
    TraceWindow window;
    window.show();
    const std::vector<TraceRecord> records = {Record(0, "a:1", TraceDirection::Sent),
                                              Record(1, "a:1", TraceDirection::Received),
                                              Record(2, "b:2", TraceDirection::Sent)};
    RecordFromAnotherThread(records);
    window.takeNewRecords();
    window.table()->selectRow(0);
    window.table()->selectionModel()->select(window.table()->model()->index(2, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    window.table()->setFocus();
    QTest::keyClick(window.table(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              FormatTraceLine(records[0]) + FormatTraceLine(records[2]));

    window.directionFilter()->setCurrentIndex(1); // sent only
    test::TempFolder folder;
    const std::string path = (folder.path() / "saved.tsv").string();
    ASSERT_TRUE(window.saveTo(QString::fromStdString(path)));
    std::ifstream in(path);
    std::vector<TraceRecord> saved;
    for (std::string line; std::getline(in, line);)
        if (const auto record = ParseTraceLine(line))
            saved.push_back(*record);
    EXPECT_EQ(saved, (std::vector<TraceRecord>{records[0], records[2]}));
}

TEST(TraceWindowTest, FollowsTheNewestRowUnlessScrolledUpAndCountsWhatTheRingDropped)
{
    TraceWindow window;
    window.show();
    std::vector<TraceRecord> many;
    for (int i = 0; i < 200; ++i)
        many.push_back(Record(i, "a:1", TraceDirection::Sent));
    RecordFromAnotherThread(many);
    window.takeNewRecords();
    QScrollBar* scroll = window.table()->verticalScrollBar();
    EXPECT_GT(scroll->maximum(), 0);
    EXPECT_EQ(scroll->value(), scroll->maximum());
    scroll->setValue(0); // the user reads older rows
    RecordFromAnotherThread(many);
    window.takeNewRecords();
    EXPECT_EQ(scroll->value(), 0);
    EXPECT_EQ(window.shownRows(), 400);

    // More than the ring holds between two batches: the oldest are gone and counted.
    std::vector<TraceRecord> flood(TraceRing::kDefaultCapacity + 10, Record(0, "a:1", TraceDirection::Sent));
    RecordFromAnotherThread(flood);
    window.takeNewRecords();
    EXPECT_EQ(window.shownRows(), static_cast<int>(TraceRing::kDefaultCapacity));
    EXPECT_NE(window.findChild<QLabel*>()->text().indexOf("410"), -1);
}

TEST(TraceWindowTest, TheMainWindowButtonOpensOneTraceWindow)
{
    test::TempFolder folder;
    UnitList list((folder.path() / "vantel.dat").string());
    AppState state;
    MainWindow main(list, state, folder.folder());
    ASSERT_TRUE(main.start({LoopbackAdapter()}));
    main.show();
    EXPECT_EQ(main.traceButton()->text(), QString::fromUtf8("通信トレース(&T)..."));
    main.traceButton()->click();
    main.traceButton()->click();
    int windows = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        windows += qobject_cast<TraceWindow*>(widget) != nullptr && widget->isVisible() ? 1 : 0;
    EXPECT_EQ(windows, 1);
    EXPECT_TRUE(TraceHub::process().target());
}

} // namespace
} // namespace vantel
