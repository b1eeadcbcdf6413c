#pragma once

#include "dialogs/CDlgQZK19Sweep.h"
#include "dialogs/SettingsWindow.h"

namespace vantel {

// Window of the sweep settings of one analog output row.
class SweepDialog : public SettingsWindow {
    Q_OBJECT
public:
    explicit SweepDialog(QWidget* parent = nullptr);

    CDlgQZK19Sweep& logic() { return logic_; }

protected:
    void initialise() override { logic_.onInitDialog(); }
    bool confirm() override { return logic_.onOK(); }

private:
    CDlgQZK19Sweep logic_;
};

} // namespace vantel
