#include "dialogs/EditTCSettingDialog.h"

#include "dialogs/DialogTexts.h"

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
        auto* check = new QCheckBox(QString::fromUtf8(kEnabledCaption), this);
        grid->addWidget(check, row, 1);
        controls_.bind(controlId, check);
    };
    addList(Type, kTCTypeCaption, 0);
    addCheck(ColdJunction, kColdJunctionCaption, 1);
    addCheck(OpenCircuitDetection, kOpenCircuitDetectionCaption, 2);
    addList(OpenCircuitOutput, kOpenCircuitOutputCaption, 3);
    addOkButton(*grid, 4, 1);
    setWindowTitle(QString::fromUtf8(kTCSettingCaption));
}

bool EditTCSettingDialog::confirm()
{
    logic_.onOK();
    return true;
}

} // namespace vantel
