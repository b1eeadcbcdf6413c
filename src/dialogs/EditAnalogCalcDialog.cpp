#include "dialogs/EditAnalogCalcDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vantel {

using namespace AnalogCalcId;

EditAnalogCalcDialog::EditAnalogCalcDialog(QWidget* parent) : QDialog(parent), controls_(*this), logic_(controls_)
{
    auto* grid = new QGridLayout(this);
    const auto addLabel = [&](int controlId, const char* text, int row, int column) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        grid->addWidget(label, row, column);
        if (controlId != 0)
            controls_.bind(controlId, label);
    };
    const auto addNumberBox = [&](int controlId, int row, int column) {
        auto* box = new QLineEdit(this);
        box->setMinimumWidth(110);
        grid->addWidget(box, row, column);
        controls_.bind(controlId, box);
        connect(box, &QLineEdit::textChanged, this, [this, controlId] { logic_.OnNumberChanged(controlId); });
    };

    // Reads as: left label, multiplier, "＋", offset, right label.
    addLabel(LeftLabel, "aaaa ×", 0, 0);
    addNumberBox(Multiplier, 0, 1);
    addLabel(0, "＋", 0, 2);
    addNumberBox(Offset, 0, 3);
    addLabel(RightLabel, "＝ bbbb", 0, 4);

    addLabel(UnitLabel, "単位", 1, 0);
    auto* unit = new QLineEdit(this);
    grid->addWidget(unit, 1, 1);
    controls_.bind(Unit, unit);
    connect(unit, &QLineEdit::textChanged, this, [this] { logic_.OnUnitChanged(); });

    addLabel(0, "グラフ表示範囲", 2, 0);
    addNumberBox(GraphMin, 2, 1);
    addLabel(0, "－", 2, 2);
    addNumberBox(GraphMax, 2, 3);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    grid->addWidget(ok, 3, 4);
    connect(ok, &QPushButton::clicked, this, &EditAnalogCalcDialog::accept);
    setWindowTitle(QString::fromUtf8(CEditAnalogCalc::kCaption));
}

std::optional<GraphRange> EditAnalogCalcDialog::RunForRow(QWidget* parent, const AnalogCalcRow& row,
                                                          ControlView& messages)
{
    EditAnalogCalcDialog dialog(parent);
    PrepareAnalogCalc(dialog.logic(), row);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ApplyAnalogCalcResult(dialog.logic(), row, messages);
}

void EditAnalogCalcDialog::showEvent(QShowEvent* event)
{
    if (!initialised_) {
        initialised_ = true;
        logic_.OnInitDialog();
    }
    QDialog::showEvent(event);
}

void EditAnalogCalcDialog::accept()
{
    logic_.OnOK();
    QDialog::accept();
}

} // namespace vantel
