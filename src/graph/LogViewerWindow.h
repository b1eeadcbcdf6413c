#pragma once

#include "graph/LECanvasWidget.h"
#include "graph/LogLoadJob.h"
#include "graph/LogViewer.h"

#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace vantel {

// A window over recorded logs: the trend canvas and, beside it, a graph page
// like the panels' (period, shown traces, the trace whose scale is drawn,
// per trace its colour, name and "Scale"). The files load on a thread of
// their own behind a progress bar that can be cancelled.
class LogViewerWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCanvasWidth = 960;
    static constexpr int kCanvasHeight = 480;

    explicit LogViewerWindow(const QStringList& files, QWidget* parent = nullptr);
    ~LogViewerWindow() override;

    // A viewer that deletes itself when closed, shown at once.
    static LogViewerWindow* open(const QStringList& files, QWidget* parent);
    // Files the user chose: one file of a switched series offers the whole
    // series of its unit first.
    static void openChosen(const QStringList& files, QWidget* parent);
    // The native file dialog in `folder`, then openChosen.
    static void chooseAndOpen(const QString& folder, QWidget* parent);
    // The CSV files among dropped URLs.
    static QStringList csvFilesOf(const QList<QUrl>& urls);

    // Null until the log has loaded.
    LogViewer* viewer() const { return viewer_.get(); }
    LECanvasWidget* canvasWidget() const { return canvasWidget_; }
    QString statusText() const;
    bool loading() const { return job_ != nullptr; }

signals:
    void loadFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onProgress(quint64 done, quint64 total);
    void onLoaded(LogLoadOutcome outcome);
    void buildPage();
    QWidget* buildTraceRow(int trace);
    void openScaleDialog(int trace);

    std::unique_ptr<LogLoadJob> job_;
    std::unique_ptr<LogViewer> viewer_;
    QVBoxLayout* canvasColumn_ = nullptr;
    QWidget* progressRow_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    LECanvasWidget* canvasWidget_ = nullptr;
    QComboBox* traceList_ = nullptr;
    QWidget* side_ = nullptr;
};

} // namespace vantel
