#pragma once

#include "dialogs/CEditThreshold.h"
#include "dialogs/SettingsWindow.h"

namespace vantel {

// Window of the LED thresholds of one channel.
class EditThresholdDialog : public SettingsWindow {
    Q_OBJECT
public:
    explicit EditThresholdDialog(QWidget* parent = nullptr);

    CEditThreshold& logic() { return logic_; }

protected:
    void initialise() override { logic_.onInitDialog(); }
    bool confirm() override;

private:
    CEditThreshold logic_;
};

} // namespace vantel
