#pragma once

#include "dialogs/CEditDOAlert.h"
#include "dialogs/SettingsWindow.h"

namespace vantel {

class DoAlertDiagramWidget;

// Window of the DO alert settings of one output.
class EditDOAlertDialog : public SettingsWindow {
    Q_OBJECT
public:
    explicit EditDOAlertDialog(QWidget* parent = nullptr);

    CEditDOAlert& logic() { return logic_; }
    DoAlertDiagramWidget& diagram() { return *diagram_; }

protected:
    void initialise() override;
    bool confirm() override { return true; }

private:
    // Runs one of the logic's handlers, then shows the diagram it chose.
    template <typename Handler> void forward(Handler handler);

    CEditDOAlert logic_;
    DoAlertDiagramWidget* diagram_;
};

} // namespace vantel
