#include "dialogs/EditDOAlertDialog.h"

#include "dialogs/DialogTexts.h"
#include "dialogs/DoAlertDiagramWidget.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

namespace vantel {

using namespace DOAlertId;

template <typename Handler> void EditDOAlertDialog::forward(Handler handler)
{
    handler();
    diagram_->setNumber(logic_.diagram().number);
}

EditDOAlertDialog::EditDOAlertDialog(QWidget* parent)
    : SettingsWindow(parent), logic_(controls_), diagram_(new DoAlertDiagramWidget(this))
{
    auto* form = new QGridLayout;
    const auto addList = [&](int controlId, const char* label, int row, void (CEditDOAlert::*changed)()) {
        addLabel(*form, 0, label, row, 0);
        auto* list = new QComboBox(this);
        form->addWidget(list, row, 1);
        controls_.bind(controlId, list);
        connect(list, &QComboBox::currentIndexChanged, this,
                [this, changed] { forward([&] { (logic_.*changed)(); }); });
    };
    const auto addNumber = [&](int controlId, const char* label, int row) {
        addLabel(*form, 0, label, row, 0);
        addBox(*form, controlId, row, 1, [this, controlId] { forward([&] { logic_.onNumberChanged(controlId); }); });
    };
    addList(MonitoredAI, kMonitoredAICaption, 0, &CEditDOAlert::onMonitoredAIChanged);
    addList(LedCondition, kLedConditionCaption, 1, &CEditDOAlert::onLedConditionChanged);
    addLabel(*form, ThresholdCaption, kAnalogThresholdCaption, 2, 0);
    form->itemAtPosition(2, 0)->widget()->setStyleSheet(QStringLiteral("font-weight: bold"));
    addNumber(High, kHighCaption, 3);
    addNumber(Low, kLowCaption, 4);
    addLabel(*form, 0, kHysteresisCaption, 5, 0);
    form->itemAtPosition(5, 0)->widget()->setStyleSheet(QStringLiteral("font-weight: bold"));
    addNumber(Width, kWidthText, 6);
    addList(Direction, kDirectionCaption, 7, &CEditDOAlert::onDirectionChanged);
    form->setRowStretch(8, 1);
    addOkButton(*form, 9, 1);

    for (int k = 1; k <= 7; ++k)
        controls_.bind(LabelOf(k), diagram_->label(k));
    controls_.bind(Diagram, diagram_);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(diagram_, 1);
    setWindowTitle(QString::fromUtf8(kDoAlertCaption));
}

void EditDOAlertDialog::initialise()
{
    forward([this] { logic_.onInitDialog(); });
}

} // namespace vantel
