#include "app/MainWindow.h"
#include "graph/LogViewerWindow.h"
#include "support/PanelLogWriter.h"
#include "support/TempFolder.h"

#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>
#include <gtest/gtest.h>

namespace vantel {
namespace {

TEST(MainWindowLogs, DroppedCsvFilesOpenInALogViewerAndOtherFilesAreRefused)
{
    test::TempFolder folder;
    UnitList list{(folder.path() / "vantel.dat").string()};
    AppState state;
    MainWindow window{list, state, folder.folder()};
    ASSERT_TRUE(window.start({LoopbackAdapter()}));
    window.show();
    EXPECT_EQ(window.openLogButton()->text(), QStringLiteral("ログを開く(&O)..."));

    const TextCodec codec("CP932"); // the logger keeps a reference to it
    test::PanelLogWriter log(folder.folder(), "Drop", test::kDigitalHeader, CsvLogger::kSwitchingOff, 1'796'000'000,
                             codec);
    log.write(1'796'000'000, ",1,0,1,0,1,0,1,0");
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile((folder.path() / "vantel.dat").string().c_str())});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &refused);
    EXPECT_FALSE(refused.isAccepted());

    QMimeData csv;
    csv.setUrls({QUrl::fromLocalFile(QString::fromStdString(log.currentFile()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &csv, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &csv, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);

    const QList<LogViewerWindow*> viewers = window.findChildren<LogViewerWindow*>();
    ASSERT_EQ(viewers.size(), 1);
    QSignalSpy finished(viewers[0], &LogViewerWindow::loadFinished);
    while (viewers[0]->loading() && finished.isEmpty())
        finished.wait(200);
    ASSERT_NE(viewers[0]->viewer(), nullptr) << viewers[0]->statusText().toStdString();
    EXPECT_EQ(viewers[0]->viewer()->traceCount(), 8);
    EXPECT_TRUE(viewers[0]->windowTitle().contains(QStringLiteral("Drop.csv")));
}

} // namespace
} // namespace vantel
