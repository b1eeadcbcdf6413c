#include "dialogs/EditThresholdDialog.h"

#include "dialogs/DialogTexts.h"

#include <QCheckBox>
#include <QGridLayout>

namespace vantel {

using namespace ThresholdId;

EditThresholdDialog::EditThresholdDialog(QWidget* parent) : SettingsWindow(parent), logic_(controls_)
{
    auto* grid = new QGridLayout(this);
    addLabel(*grid, 0, kLowThresholdCaption, 0, 0);
    addBox(*grid, Low, 0, 1, [this] { logic_.onNumberChanged(Low); });
    addLabel(*grid, 0, kHighThresholdCaption, 1, 0);
    addBox(*grid, High, 1, 1, [this] { logic_.onNumberChanged(High); });
    auto* outside = new QCheckBox(QString::fromUtf8(kLitOutsideCaption), this);
    grid->addWidget(outside, 2, 0, 1, 2);
    controls_.bind(LedWhenOutside, outside);
    addOkButton(*grid, 3, 1);
    setWindowTitle(QString::fromUtf8(kThresholdDialogCaption));
}

bool EditThresholdDialog::confirm()
{
    logic_.onOK();
    return true;
}

} // namespace vantel
