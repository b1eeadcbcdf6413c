#pragma once

#include "dialogs/AnalogCalcResult.h"
#include "dialogs/CEditAnalogCalc.h"
#include "dialogs/SettingsWindow.h"

#include <optional>

namespace vantel {

// Window of the conversion formula dialog. Fill logic()'s values, exec(), and
// read them back when it returns QDialog::Accepted.
class EditAnalogCalcDialog : public SettingsWindow {
    Q_OBJECT
public:
    explicit EditAnalogCalcDialog(QWidget* parent = nullptr);

    // What a panel's "Scale" button does for a row: fill the dialog, run it
    // and, on OK, apply the result. The range now in force, or nothing after
    // Cancel.
    static std::optional<GraphRange> RunForRow(QWidget* parent, const AnalogCalcRow& row, ControlView& messages);

    CEditAnalogCalc& logic() { return logic_; }

protected:
    void initialise() override { logic_.onInitDialog(); }
    bool confirm() override;

private:
    CEditAnalogCalc logic_;
};

} // namespace vantel
