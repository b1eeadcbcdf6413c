#include "dialogs/EditTCSettingDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>

namespace vantel {

using namespace TCSettingId;

EditTCSettingDialog::EditTCSettingDialog(QWidget* parent) : SettingsWindow(parent), logic_(controls_)
{
    auto* grid = new QGridLayout(this);
    const auto addList = [&](int controlId, const char* label, int row) {
        addLabel(*grid, 0, label, row, 0);
        auto* list = new QComboBox(this);
        grid->addWidget(list, row, 1);
        controls_.bind(controlId, list);
    };
    const auto addCheck = [&](int controlId, const char* label, int row) {
        addLabel(*grid, 0, label, row, 0);
        auto* check = new QCheckBox(QStringLiteral("有効"), this);
        grid->addWidget(check, row, 1);
        controls_.bind(controlId, check);
    };
    addList(Type, "熱電対タイプ", 0);
    addCheck(ColdJunction, "冷接点補償", 1);
    addCheck(OpenCircuitDetection, "断線検知", 2);
    addList(OpenCircuitOutput, "断線時出力", 3);
    addOkButton(*grid, 4, 1);
    setWindowTitle(QString::fromUtf8(CEditTCSetting::kCaption));
}

bool EditTCSettingDialog::confirm()
{
    logic_.onOK();
    return true;
}

} // namespace vantel
