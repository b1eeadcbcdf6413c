#include "graph/ScaleRangeDialog.h"

#include "comm/protocol/ValueConversion.h"
#include "dialogs/NumberBoxFilter.h"
#include "graph/GraphTexts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>

#include <cmath>

namespace vantel {
namespace {

QLineEdit* numberBox(double value, QWidget* parent)
{
    return new QLineEdit(QString::fromStdString(FormatCompact(value)), parent);
}

} // namespace

ScaleRangeDialog::ScaleRangeDialog(const QString& traceName, double min, double max, QWidget* parent)
    : QDialog(parent), min_(numberBox(min, this)), max_(numberBox(max, this))
{
    setWindowTitle(QStringLiteral("Scale - ") + traceName);
    auto* form = new QFormLayout(this);
    form->addRow(QString::fromUtf8(kScaleMaxCaption), max_);
    form->addRow(QString::fromUtf8(kScaleMinCaption), min_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ScaleRangeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ScaleRangeDialog::reject);
    form->addRow(buttons);
}

std::optional<std::pair<double, double>> ScaleRangeDialog::range() const
{
    const double min = ParseNumberBox(min_->text().toStdString());
    const double max = ParseNumberBox(max_->text().toStdString());
    if (!(max > min) || !std::isfinite(max - min))
        return std::nullopt;
    return std::pair{min, max};
}

void ScaleRangeDialog::accept()
{
    if (!range()) {
        QMessageBox::warning(this, windowTitle(), QString::fromUtf8(kInvalidScaleRange));
        return;
    }
    QDialog::accept();
}

} // namespace vantel
