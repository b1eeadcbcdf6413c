#pragma once

#include "dialogs/ListChoiceDialog.h"
#include "dialogs/SettingsWindow.h"

#include <QComboBox>
#include <QGridLayout>

namespace vantel {

// Window of a one-list dialog (CEditADCsps, CEditRange): the list and OK.
template <typename Logic> class ListChoiceWindow : public SettingsWindow {
public:
    explicit ListChoiceWindow(QWidget* parent = nullptr) : SettingsWindow(parent), logic_(controls_)
    {
        auto* grid = new QGridLayout(this);
        auto* list = new QComboBox(this);
        list->setMinimumWidth(140);
        grid->addWidget(list, 0, 0);
        controls_.bind(logic_.choice().listId, list);
        addOkButton(*grid, 0, 1);
        setWindowTitle(QString::fromUtf8(logic_.choice().caption));
    }

    Logic& logic() { return logic_; }

protected:
    void initialise() override { logic_.OnInitDialog(); }
    bool confirm() override
    {
        logic_.OnOK();
        return true;
    }

private:
    Logic logic_;
};

} // namespace vantel
