#pragma once

#include "ui/ControlWindow.h"

#include <QDialog>

#include <functional>

class QGridLayout;
class QLineEdit;

namespace vantel {

// What every settings dialog window shares: its control-id view, the logic's
// initialisation when it is first shown, and OK that closes only when the
// logic agrees. Cancel (Escape, the close box) changes nothing.
class SettingsWindow : public QDialog {
    Q_OBJECT
public:
    ControlWindow& controls() { return controls_; }

public slots:
    void accept() override;

protected:
    explicit SettingsWindow(QWidget* parent);

    // The logic's onInitDialog.
    virtual void initialise() = 0;
    // The logic's OK: true to close with OK.
    virtual bool confirm() = 0;

    void showEvent(QShowEvent* event) override;

    // Widgets bound to their control ids.
    void addLabel(QGridLayout& grid, int controlId, const char* text, int row, int column);
    QLineEdit* addBox(QGridLayout& grid, int controlId, int row, int column, std::function<void()> changed);
    void addOkButton(QGridLayout& grid, int row, int column);

    ControlWindow controls_;

private:
    bool initialised_ = false;
};

} // namespace vantel
