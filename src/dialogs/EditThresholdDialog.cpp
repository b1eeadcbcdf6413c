#include "dialogs/EditThresholdDialog.h"

#include <QCheckBox>
#include <QGridLayout>

namespace vantel {

using namespace ThresholdId;

EditThresholdDialog::EditThresholdDialog(QWidget* parent) : SettingsWindow(parent), logic_(controls_)
{
    auto* grid = new QGridLayout(this);
    addLabel(*grid, 0, "ロー", 0, 0);
    addBox(*grid, Low, 0, 1, [this] { logic_.onNumberChanged(Low); });
    addLabel(*grid, 0, "ハイ", 1, 0);
    addBox(*grid, High, 1, 1, [this] { logic_.onNumberChanged(High); });
    auto* outside = new QCheckBox(QStringLiteral("範囲外にあるときにLED点灯"), this);
    grid->addWidget(outside, 2, 0, 1, 2);
    controls_.bind(LedWhenOutside, outside);
    addOkButton(*grid, 3, 1);
    setWindowTitle(QString::fromUtf8(CEditThreshold::kCaption));
}

bool EditThresholdDialog::confirm()
{
    logic_.onOK();
    return true;
}

} // namespace vantel
