#include "app/TraceWindow.h"

#include "app/AppTexts.h"
#include "comm/link/TraceHub.h"
#include "comm/link/TraceLine.h"
#include "platform/TextCodec.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <deque>
#include <set>

namespace vantel {

namespace {

constexpr int kBatchEveryMs = 100;

enum Column { TimeColumn, UnitColumn, DirectionColumn, HexColumn, TextColumn, MeaningColumn, ColumnCount };

QString Qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

// The rows of the window: at most as many as the ring holds, the oldest
// leaving first.
class TraceTableModel final : public QAbstractTableModel {
public:
    explicit TraceTableModel(QObject* parent) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : ColumnCount; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const char* const kTitles[ColumnCount] = {kTraceTimeColumn, kTraceUnitColumn, kTraceDirectionColumn,
                                                         kTraceHexColumn,  kTraceTextColumn, kTraceMeaningColumn};
        return QString::fromUtf8(kTitles[section]);
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const TraceRecord& record = rows_[static_cast<std::size_t>(index.row())];
        switch (index.column()) {
        case TimeColumn:
            return Qs(FormatTraceTime(record.wallMs));
        case UnitColumn:
            return Qs(record.unit);
        case DirectionColumn:
            return Qs(DirectionArrow(record.direction));
        case HexColumn:
            return Qs(HexOf(record.bytes));
        case TextColumn:
            return Qs(TextOf(record.bytes, FileCodec()));
        default:
            return Qs(record.meaning);
        }
    }

    const TraceRecord& record(int row) const { return rows_[static_cast<std::size_t>(row)]; }

    // Appends a batch; returns the units not seen before.
    std::vector<std::string> append(std::vector<TraceRecord> batch)
    {
        std::vector<std::string> newUnits;
        for (const TraceRecord& record : batch)
            if (units_.insert(record.unit).second)
                newUnits.push_back(record.unit);
        const std::size_t overflow = rows_.size() + batch.size() > TraceRing::kDefaultCapacity
                                         ? rows_.size() + batch.size() - TraceRing::kDefaultCapacity
                                         : 0;
        const std::size_t leaving = std::min(overflow, rows_.size());
        if (leaving > 0) {
            beginRemoveRows({}, 0, static_cast<int>(leaving) - 1);
            rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(leaving));
            endRemoveRows();
            dropped_ += leaving;
        }
        // A batch larger than the whole history keeps only its newest part.
        const std::size_t skipped = overflow - leaving;
        dropped_ += skipped;
        if (skipped < batch.size()) {
            const int first = static_cast<int>(rows_.size());
            beginInsertRows({}, first, first + static_cast<int>(batch.size() - skipped) - 1);
            std::move(batch.begin() + static_cast<std::ptrdiff_t>(skipped), batch.end(), std::back_inserter(rows_));
            endInsertRows();
        }
        return newUnits;
    }

    void clear()
    {
        beginResetModel();
        rows_.clear();
        dropped_ = 0;
        endResetModel();
    }

    std::uint64_t dropped() const { return dropped_; }
    void addDropped(std::uint64_t count) { dropped_ += count; }

private:
    std::deque<TraceRecord> rows_;
    std::set<std::string> units_;
    std::uint64_t dropped_ = 0;
};

namespace {

// The unit and direction filters over the model's rows.
class TraceFilter final : public QSortFilterProxyModel {
public:
    TraceFilter(TraceTableModel* model, QObject* parent) : QSortFilterProxyModel(parent), model_(model)
    {
        setSourceModel(model);
    }

    void set(std::optional<std::string> unit, std::optional<TraceDirection> direction)
    {
        unit_ = std::move(unit);
        direction_ = direction;
        invalidateRowsFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override
    {
        const TraceRecord& record = model_->record(row);
        return (!unit_ || record.unit == *unit_) && (!direction_ || record.direction == *direction_);
    }

private:
    TraceTableModel* model_;
    std::optional<std::string> unit_;
    std::optional<TraceDirection> direction_;
};

QPointer<TraceWindow>& OpenWindow()
{
    static QPointer<TraceWindow> window;
    return window;
}

} // namespace

TraceWindow::TraceWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QString::fromUtf8(kTraceWindowTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    buildLayout();
    hubId_ = TraceHub::process().attach(ring_);
    connect(&timer_, &QTimer::timeout, this, [this] { takeNewRecords(); });
    timer_.start(kBatchEveryMs);
    resize(1000, 560);
}

TraceWindow::~TraceWindow()
{
    TraceHub::process().detach(hubId_);
}

TraceWindow* TraceWindow::showFor(QWidget* parent)
{
    QPointer<TraceWindow>& window = OpenWindow();
    if (!window)
        window = new TraceWindow(parent);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void TraceWindow::buildLayout()
{
    auto* root = new QVBoxLayout(this);
    auto* filters = new QHBoxLayout;
    unitFilter_ = new QComboBox;
    unitFilter_->addItem(QString::fromUtf8(kTraceAllUnits));
    unitFilter_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    directionFilter_ = new QComboBox;
    for (const char* caption : {kTraceAllDirections, kTraceSentOnly, kTraceReceivedOnly, kTraceEventsOnly})
        directionFilter_->addItem(QString::fromUtf8(caption));
    pause_ = new QCheckBox(QString::fromUtf8(kTracePauseCaption));
    auto* clearButton = new QPushButton(QString::fromUtf8(kTraceClearCaption));
    auto* saveButton = new QPushButton(QString::fromUtf8(kTraceSaveCaption));
    count_ = new QLabel;
    filters->addWidget(unitFilter_);
    filters->addWidget(directionFilter_);
    filters->addWidget(pause_);
    filters->addStretch(1);
    filters->addWidget(count_);
    filters->addWidget(clearButton);
    filters->addWidget(saveButton);
    root->addLayout(filters);

    model_ = new TraceTableModel(this);
    filter_ = new TraceFilter(model_, this);
    table_ = new QTableView;
    table_->setModel(filter_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setColumnWidth(TimeColumn, 200);
    table_->setColumnWidth(UnitColumn, 170);
    table_->setColumnWidth(DirectionColumn, 40);
    table_->setColumnWidth(HexColumn, 230);
    table_->setColumnWidth(TextColumn, 110);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(table_->font().pointSize());
    table_->setFont(fixed);
    root->addWidget(table_, 1);

    // The table's own Ctrl+C copies one cell; whole rows are what a trace needs.
    table_->installEventFilter(this);
    connect(unitFilter_, &QComboBox::currentIndexChanged, this, &TraceWindow::applyFilters);
    connect(directionFilter_, &QComboBox::currentIndexChanged, this, &TraceWindow::applyFilters);
    connect(clearButton, &QPushButton::clicked, this, &TraceWindow::clear);
    connect(saveButton, &QPushButton::clicked, this, &TraceWindow::save);
    updateCount();
}

bool TraceWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        copySelection();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TraceWindow::takeNewRecords()
{
    if (pause_->isChecked())
        return;
    TraceRing::Batch batch = ring_->since(next_);
    // What the ring dropped before this window saw it.
    const std::uint64_t missed = batch.next - next_ - batch.records.size();
    next_ = batch.next;
    model_->addDropped(missed);
    if (batch.records.empty()) {
        updateCount();
        return;
    }
    // Follow the newest row unless the user scrolled up to read.
    QScrollBar* scroll = table_->verticalScrollBar();
    const bool atBottom = scroll->value() == scroll->maximum();
    for (const std::string& unit : model_->append(std::move(batch.records)))
        unitFilter_->addItem(Qs(unit));
    if (atBottom)
        table_->scrollToBottom();
    updateCount();
}

int TraceWindow::shownRows() const
{
    return filter_->rowCount();
}

void TraceWindow::applyFilters()
{
    std::optional<std::string> unit;
    if (unitFilter_->currentIndex() > 0)
        unit = unitFilter_->currentText().toStdString();
    std::optional<TraceDirection> direction;
    switch (directionFilter_->currentIndex()) {
    case 1:
        direction = TraceDirection::Sent;
        break;
    case 2:
        direction = TraceDirection::Received;
        break;
    case 3:
        direction = TraceDirection::Event;
        break;
    default:
        break;
    }
    static_cast<TraceFilter*>(filter_)->set(std::move(unit), direction);
    updateCount();
}

void TraceWindow::updateCount()
{
    QString text = QString::fromUtf8(kTraceRowCount).arg(shownRows());
    if (model_->dropped() > 0)
        text += QString::fromUtf8(kTraceDroppedCount).arg(model_->dropped());
    count_->setText(text);
}

void TraceWindow::clear()
{
    ring_->clear();
    next_ = ring_->since(0).next;
    model_->clear();
    updateCount();
}

void TraceWindow::copySelection()
{
    QModelIndexList rows = table_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::string text;
    for (const QModelIndex& row : rows)
        text += FormatTraceLine(model_->record(filter_->mapToSource(row).row()));
    QApplication::clipboard()->setText(Qs(text));
}

bool TraceWindow::saveTo(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (int row = 0; row < filter_->rowCount(); ++row) {
        const std::string line = FormatTraceLine(model_->record(filter_->mapToSource(filter_->index(row, 0)).row()));
        if (file.write(line.data(), static_cast<qint64>(line.size())) != static_cast<qint64>(line.size()))
            return false;
    }
    return file.flush();
}

void TraceWindow::save()
{
    const QString path = QFileDialog::getSaveFileName(this, QString::fromUtf8(kTraceSaveCaption), QString(),
                                                      QString::fromUtf8(kTraceFileFilter));
    if (!path.isEmpty() && !saveTo(path))
        QMessageBox::warning(this, QString::fromUtf8(kTraceWindowTitle), QString::fromUtf8(kTraceSaveFailed));
}

} // namespace vantel
