#include "graph/LogViewerWindow.h"

#include "graph/GraphTexts.h"
#include "graph/LogSeriesFiles.h"
#include "graph/ScaleRangeDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace vantel {
namespace {

constexpr int kSideWidth = 250;
constexpr int kWheelNotch = 120;

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

std::vector<std::string> localPaths(const QStringList& files)
{
    std::vector<std::string> paths;
    for (const QString& file : files)
        paths.push_back(file.toStdString());
    return paths;
}

QLabel* swatchOf(Colour colour)
{
    auto* swatch = new QLabel;
    swatch->setFixedSize(14, 14);
    swatch->setAutoFillBackground(true);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, QColor(colour.red, colour.green, colour.blue));
    swatch->setPalette(palette);
    return swatch;
}

} // namespace

LogViewerWindow::LogViewerWindow(const QStringList& files, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QString::fromUtf8(kLogTitlePrefix) +
                   (files.isEmpty() ? QString() : QFileInfo(files.front()).fileName()));
    auto* root = new QHBoxLayout(this);
    canvasColumn_ = new QVBoxLayout;
    root->addLayout(canvasColumn_);

    progressRow_ = new QWidget;
    auto* progressLayout = new QHBoxLayout(progressRow_);
    progressLayout->addWidget(new QLabel(QString::fromUtf8(kLoadingCaption)));
    progress_ = new QProgressBar;
    progress_->setRange(0, 1000);
    progressLayout->addWidget(progress_, 1);
    auto* cancel = new QPushButton(QString::fromUtf8(kCancelLoadCaption));
    progressLayout->addWidget(cancel);
    canvasColumn_->addWidget(progressRow_);
    status_ = new QLabel;
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_->setMaximumWidth(kCanvasWidth);
    canvasColumn_->addWidget(status_);
    canvasColumn_->addStretch(1);
    resize(kCanvasWidth + 40, kCanvasHeight / 2);

    LogLoadRequest request;
    request.files = localPaths(files);
    request.placement = {0, 0, kCanvasWidth, kCanvasHeight};
    // The job's thread only posts; everything below runs on the GUI thread.
    job_ = std::make_unique<LogLoadJob>(
        std::move(request),
        [this](std::uint64_t done, std::uint64_t total) {
            QMetaObject::invokeMethod(
                this, [this, done, total] { onProgress(done, total); }, Qt::QueuedConnection);
        },
        [this](LogLoadOutcome outcome) {
            auto shared = std::make_shared<LogLoadOutcome>(std::move(outcome));
            QMetaObject::invokeMethod(
                this, [this, shared] { onLoaded(std::move(*shared)); }, Qt::QueuedConnection);
        });
    connect(cancel, &QPushButton::clicked, this, [this] {
        if (job_)
            job_->cancel();
    });
}

LogViewerWindow::~LogViewerWindow()
{
    // Cancels and joins before anything the job posts to goes away.
    job_.reset();
}

LogViewerWindow* LogViewerWindow::open(const QStringList& files, QWidget* parent)
{
    auto* window = new LogViewerWindow(files, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

void LogViewerWindow::openChosen(const QStringList& files, QWidget* parent)
{
    if (files.isEmpty())
        return;
    if (files.size() == 1) {
        const std::vector<std::string> series = SeriesFilesOfUnit(files.front().toStdString());
        if (series.size() > 1) {
            const auto name = ParseSeriesFileName(QFileInfo(files.front()).fileName().toStdString());
            const QString question =
                QString::fromUtf8(kOpenSeriesQuestion).arg(qs(name ? name->unit : std::string())).arg(series.size());
            if (QMessageBox::question(parent, QString::fromUtf8(kOpenLogTitle), question) == QMessageBox::Yes) {
                QStringList all;
                for (const std::string& path : series)
                    all << qs(path);
                open(all, parent);
                return;
            }
        }
    }
    open(files, parent);
}

void LogViewerWindow::chooseAndOpen(const QString& folder, QWidget* parent)
{
    const QStringList files = QFileDialog::getOpenFileNames(parent, QString::fromUtf8(kOpenLogTitle), folder,
                                                            QString::fromUtf8(kLogFileFilter));
    openChosen(files, parent);
}

QStringList LogViewerWindow::csvFilesOf(const QList<QUrl>& urls)
{
    QStringList files;
    for (const QUrl& url : urls) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
            files << url.toLocalFile();
    }
    return files;
}

QString LogViewerWindow::statusText() const
{
    return status_->text();
}

void LogViewerWindow::onProgress(quint64 done, quint64 total)
{
    if (total > 0)
        progress_->setValue(static_cast<int>(done * 1000 / total));
}

void LogViewerWindow::onLoaded(LogLoadOutcome outcome)
{
    job_.reset();
    progressRow_->hide();
    if (outcome.cancelled) {
        close();
        return;
    }
    if (!outcome.canvas) {
        std::string text = outcome.error;
        for (const std::string& note : outcome.notes) {
            if (note != outcome.error)
                text += "\n" + note;
        }
        status_->setText(qs(text));
        emit loadFinished();
        return;
    }
    viewer_ = std::make_unique<LogViewer>(std::move(outcome));
    setWindowTitle(QString::fromUtf8(kLogTitlePrefix) + qs(viewer_->title()));
    buildPage();
    emit loadFinished();
}

void LogViewerWindow::buildPage()
{
    canvasWidget_ = new LECanvasWidget(viewer_->loaded().canvas, this);
    canvasWidget_->installEventFilter(this);
    canvasColumn_->insertWidget(0, canvasWidget_);
    status_->setText(qs(viewer_->summary()));

    side_ = new QWidget;
    side_->setFixedWidth(kSideWidth);
    auto* side = new QVBoxLayout(side_);
    side->setContentsMargins(0, 0, 0, 0);
    auto* periodRow = new QHBoxLayout;
    periodRow->addWidget(new QLabel(QString::fromUtf8(kPeriodCaption)));
    auto* period = new QComboBox;
    for (const std::string& item : LogViewer::PeriodItems())
        period->addItem(qs(item));
    period->setCurrentIndex(LogViewer::kWholeLog);
    periodRow->addWidget(period, 1);
    side->addLayout(periodRow);
    connect(period, &QComboBox::activated, this, [this](int index) { viewer_->selectPeriod(index); });

    auto* focusRow = new QHBoxLayout;
    focusRow->addWidget(new QLabel(QString::fromUtf8(kFocusCaption)));
    traceList_ = new QComboBox;
    for (int trace = 0; trace < viewer_->traceCount(); ++trace)
        traceList_->addItem(qs(viewer_->traceName(trace)));
    traceList_->setCurrentIndex(viewer_->canvas().selectedSeries());
    focusRow->addWidget(traceList_, 1);
    side->addLayout(focusRow);
    connect(traceList_, &QComboBox::activated, this, [this](int index) { viewer_->selectTrace(index); });

    side->addWidget(new QLabel(QString::fromUtf8(kVisibleCaption)));
    auto* rows = new QWidget;
    auto* rowLayout = new QVBoxLayout(rows);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    for (int trace = 0; trace < viewer_->traceCount(); ++trace)
        rowLayout->addWidget(buildTraceRow(trace));
    rowLayout->addStretch(1);
    auto* scroll = new QScrollArea;
    scroll->setWidget(rows);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    side->addWidget(scroll, 1);
    layout()->addWidget(side_);
    adjustSize();
}

QWidget* LogViewerWindow::buildTraceRow(int trace)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    Colour colour;
    {
        const auto guard = viewer_->canvas().lock();
        colour = viewer_->canvas().seriesLocked()[static_cast<std::size_t>(trace)]->colourLocked();
    }
    layout->addWidget(swatchOf(colour));
    auto* shown = new QCheckBox(qs(viewer_->traceName(trace)));
    shown->setChecked(viewer_->initiallyVisible(trace));
    layout->addWidget(shown, 1);
    connect(shown, &QCheckBox::toggled, this, [this, trace](bool on) { viewer_->setVisible(trace, on); });
    if (viewer_->loaded().columns[static_cast<std::size_t>(trace)].analog()) {
        auto* scale = new QPushButton(QStringLiteral("Scale"));
        scale->setAutoDefault(false);
        layout->addWidget(scale);
        connect(scale, &QPushButton::clicked, this, [this, trace] { openScaleDialog(trace); });
    }
    return row;
}

void LogViewerWindow::openScaleDialog(int trace)
{
    ScaleRangeDialog dialog(qs(viewer_->traceName(trace)), viewer_->scaleMin(trace), viewer_->scaleMax(trace), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const auto range = dialog.range())
        viewer_->setScale(trace, range->first, range->second);
}

bool LogViewerWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == canvasWidget_ && event->type() == QEvent::Wheel && viewer_) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const int steps = wheel->angleDelta().y() / kWheelNotch;
        viewer_->zoom(steps, static_cast<int>(wheel->position().x()));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vantel
