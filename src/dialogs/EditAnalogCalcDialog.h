#pragma once

#include "dialogs/CEditAnalogCalc.h"
#include "ui/WidgetControlView.h"

#include <QDialog>

namespace vantel {

// Window of the conversion formula dialog. Fill logic()'s values, exec(), and
// read them back when it returns QDialog::Accepted.
class EditAnalogCalcDialog : public QDialog {
    Q_OBJECT
public:
    explicit EditAnalogCalcDialog(QWidget* parent = nullptr);

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
