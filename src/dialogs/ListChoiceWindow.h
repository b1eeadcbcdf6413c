#pragma once

#include "dialogs/ListChoiceLogic.h"
#include "dialogs/SettingsWindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace vantel {

// Window of a one-list dialog (CEditADCsps, CEditRange): the list and OK,
// under the label of what the setting is for where the dialog has one.
template <typename Logic> class ListChoiceWindow : public SettingsWindow {
public:
    explicit ListChoiceWindow(QWidget* parent = nullptr) : SettingsWindow(parent), logic_(controls_)
    {
        auto* grid = new QGridLayout(this);
        int row = 0;
        if (const int subjectId = logic_.choice().subjectId; subjectId != 0) {
            auto* subject = new QLabel(this);
            grid->addWidget(subject, row++, 0, 1, 2);
            controls_.bind(subjectId, subject);
        }
        auto* list = new QComboBox(this);
        list->setMinimumWidth(140);
        grid->addWidget(list, row, 0);
        controls_.bind(logic_.choice().listId, list);
        addOkButton(*grid, row, 1);
        setWindowTitle(QString::fromUtf8(logic_.choice().caption));
    }

    Logic& logic() { return logic_; }

protected:
    void initialise() override { logic_.onInitDialog(); }
    bool confirm() override
    {
        logic_.onOK();
        return true;
    }

private:
    Logic logic_;
};

} // namespace vantel
