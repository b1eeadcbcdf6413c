#include "dialogs/EditAnalogCalcDialog.h"

#include "dialogs/DialogTexts.h"

#include <QGridLayout>
#include <QLineEdit>

namespace vantel {

using namespace AnalogCalcId;

EditAnalogCalcDialog::EditAnalogCalcDialog(QWidget* parent) : SettingsWindow(parent), logic_(controls_)
{
    auto* grid = new QGridLayout(this);
    const auto addNumberBox = [&](int controlId, int row, int column) {
        addBox(*grid, controlId, row, column, [this, controlId] { logic_.onNumberChanged(controlId); });
    };

    // Reads as: left label, multiplier, kPlusCaption, offset, right label.
    addLabel(*grid, LeftLabel, kLeftLabelPlaceholder, 0, 0);
    addNumberBox(Multiplier, 0, 1);
    addLabel(*grid, 0, kPlusCaption, 0, 2);
    addNumberBox(Offset, 0, 3);
    addLabel(*grid, RightLabel, kRightLabelPlaceholder, 0, 4);

    addLabel(*grid, UnitLabel, kUnitCaption, 1, 0);
    addBox(*grid, Unit, 1, 1, [this] { logic_.onUnitChanged(); });

    addLabel(*grid, 0, kGraphRangeCaption, 2, 0);
    addNumberBox(GraphMin, 2, 1);
    addLabel(*grid, 0, kRangeDashCaption, 2, 2);
    addNumberBox(GraphMax, 2, 3);

    addOkButton(*grid, 3, 4);
    setWindowTitle(QString::fromUtf8(kAnalogCalcCaption));
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

bool EditAnalogCalcDialog::confirm()
{
    logic_.onOK();
    return true;
}

} // namespace vantel
