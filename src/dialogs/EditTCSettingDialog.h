#pragma once

#include "dialogs/CEditTCSetting.h"
#include "dialogs/SettingsWindow.h"

namespace vantel {

// Window of the thermocouple settings of one input.
class EditTCSettingDialog : public SettingsWindow {
    Q_OBJECT
public:
    explicit EditTCSettingDialog(QWidget* parent = nullptr);

    CEditTCSetting& logic() { return logic_; }

protected:
    void initialise() override { logic_.onInitDialog(); }
    bool confirm() override;

private:
    CEditTCSetting logic_;
};

} // namespace vantel
