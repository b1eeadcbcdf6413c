#pragma once

#include "comm/link/TraceRing.h"

#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QSortFilterProxyModel;
class QTableView;

namespace vantel {

class TraceTableModel;

// The communication trace: while it is open the process traces into its ring
// (the last 100,000 records), and it shows them live: time, unit, →/←,
// hex, text in the file code page, meaning. Records arrive on worker and
// receive threads into the ring; the window takes them from there in batches
// on its own timer, so no widget is touched off the GUI thread.
class TraceWindow : public QWidget {
    Q_OBJECT
public:
    explicit TraceWindow(QWidget* parent = nullptr);
    ~TraceWindow() override;

    // The one trace window, shown and raised (made when none is open).
    static TraceWindow* showFor(QWidget* parent);

    // Takes what arrived since the last batch (the timer calls it).
    void takeNewRecords();
    // Rows shown after the filters.
    int shownRows() const;
    QTableView* table() const { return table_; }
    QComboBox* unitFilter() const { return unitFilter_; }
    QComboBox* directionFilter() const { return directionFilter_; }
    QCheckBox* pauseBox() const { return pause_; }
    void clear();
    // The selected rows as trace file lines, in the clipboard.
    void copySelection();
    // The shown rows as a trace file; false when it cannot be written.
    bool saveTo(const QString& path) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void applyFilters();
    void updateCount();
    void save();

    std::shared_ptr<TraceRing> ring_ = std::make_shared<TraceRing>();
    int hubId_ = 0;
    std::uint64_t next_ = 0;
    TraceTableModel* model_ = nullptr;
    QSortFilterProxyModel* filter_ = nullptr;
    QTableView* table_ = nullptr;
    QComboBox* unitFilter_ = nullptr;
    QComboBox* directionFilter_ = nullptr;
    QCheckBox* pause_ = nullptr;
    QLabel* count_ = nullptr;
    QTimer timer_;
};

} // namespace vantel
