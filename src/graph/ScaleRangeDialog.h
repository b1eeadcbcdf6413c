#pragma once

#include <QDialog>

#include <optional>
#include <utility>

class QLineEdit;

namespace vantel {

// Asks for the value range a trace of the log viewer is drawn over.
class ScaleRangeDialog : public QDialog {
    Q_OBJECT
public:
    ScaleRangeDialog(const QString& traceName, double min, double max, QWidget* parent = nullptr);

    // The range entered; nothing unless the maximum is above the minimum.
    std::optional<std::pair<double, double>> range() const;
    QLineEdit* minBox() const { return min_; }
    QLineEdit* maxBox() const { return max_; }

private:
    void accept() override;

    QLineEdit* min_;
    QLineEdit* max_;
};

} // namespace vantel
