#pragma once

#include "dialogs/AnalogCalcResult.h"
#include "dialogs/CEditAnalogCalc.h"
#include "ui/WidgetControlView.h"

#include <QDialog>

#include <optional>

namespace vantel {

// Window of the conversion formula dialog. Fill logic()'s values, exec(), and
// read them back when it returns QDialog::Accepted.
class EditAnalogCalcDialog : public QDialog {
    Q_OBJECT
public:
    explicit EditAnalogCalcDialog(QWidget* parent = nullptr);

    // What a panel's "Scale" button does for a row: fill the dialog, run it
    // and, on OK, apply the result. The range now in force, or nothing after
    // Cancel.
    static std::optional<GraphRange> RunForRow(QWidget* parent, const AnalogCalcRow& row, ControlView& messages);

    CEditAnalogCalc& logic() { return logic_; }
    WidgetControlView& controls() { return controls_; }

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    WidgetControlView controls_;
    CEditAnalogCalc logic_;
    bool initialised_ = false;
};

} // namespace vantel
