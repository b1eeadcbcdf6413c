#include "dialogs/SweepDialog.h"

#include "dialogs/DialogTexts.h"
#include "dialogs/SweepPictureWidget.h"

#include <QGridLayout>
#include <QLineEdit>

namespace vantel {

using namespace SweepId;

SweepDialog::SweepDialog(QWidget* parent) : SettingsWindow(parent), logic_(controls_)
{
    auto* grid = new QGridLayout(this);
    auto* picture = new SweepPictureWidget(this);
    grid->addWidget(picture, 0, 0, 1, 3);
    controls_.bind(Picture, picture);
    const auto addRow = [&](int boxId, const char* label, int unitId, const char* unit, int row) {
        addLabel(*grid, 0, label, row, 0);
        QLineEdit* box = addBox(*grid, boxId, row, 1, [this, boxId] { logic_.onBoxChanged(boxId); });
        addLabel(*grid, unitId, unit, row, 2);
        return box;
    };
    addRow(V1, kSweepLowCaption, UnitOfV1, "", 1);
    addRow(V2, kSweepHighCaption, UnitOfV2, "", 2);
    addRow(T1, kSweepRiseCaption, 0, kSweepTimeUnit, 3)
        ->setMaxLength(static_cast<int>(CDlgQZK19Sweep::kTimeMaxCharacters));
    addRow(T2, kSweepFallCaption, 0, kSweepTimeUnit, 4)
        ->setMaxLength(static_cast<int>(CDlgQZK19Sweep::kTimeMaxCharacters));
    addOkButton(*grid, 5, 2);
    setWindowTitle(QString::fromUtf8(kSweepCaption));
}

} // namespace vantel
