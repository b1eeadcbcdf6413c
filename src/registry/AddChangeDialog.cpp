#include "registry/AddChangeDialog.h"

#include "registry/ModelCatalogue.h"
#include "registry/ModelCategory.h"
#include "registry/RegistryTexts.h"
#include "ui/UiTexts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace vantel {
namespace {

using namespace AddChangeControl;

constexpr int kMaxTextLength = 128;
constexpr int kDialogOk = 1;
constexpr int kDialogCancel = 2;

} // namespace

AddChangeDialog::AddChangeDialog(const UnitList& list, int editIndex, const UnitConnection& in, QWidget* parent)
    : QDialog(parent), view_(*this), logic_(view_, list, editIndex, in)
{
    buildLayout();
    connectActions();
    logic_.start();
    // A model that no category offers is kept unless the user picks another;
    // the empty model box names it so the user sees what stays.
    if (IsKnownModelRow(in.modelRow) && CategoryOfModel(in.modelRow) == ModelCategory::None) {
        const std::string_view name = ModelAt(in.modelRow).displayName;
        static_cast<QComboBox*>(view_.widget(Model))
            ->setPlaceholderText(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
}

std::optional<UnitConnection> AddChangeDialog::run(QWidget* parent, const UnitList& list, int editIndex,
                                                   const UnitConnection& in)
{
    AddChangeDialog dialog(list, editIndex, in, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.values();
}

void AddChangeDialog::accept()
{
    if (logic_.onOk())
        QDialog::accept();
}

void AddChangeDialog::buildLayout()
{
    const auto label = [this](int id, const char* text) {
        auto* widget = new QLabel(QString::fromUtf8(text), this);
        if (id != 0)
            view_.bind(id, widget);
        return widget;
    };
    const auto edit = [this](int id) {
        auto* widget = new QLineEdit(this);
        view_.bind(id, widget);
        return widget;
    };
    const auto radio = [this](int id, const char* text, QWidget* parentWidget) {
        auto* widget = new QRadioButton(QString::fromUtf8(text), parentWidget);
        view_.bind(id, widget);
        return widget;
    };
    const auto combo = [this](int id, QWidget* parentWidget) {
        auto* widget = new QComboBox(parentWidget);
        view_.bind(id, widget);
        return widget;
    };
    auto* digitsOnly = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);

    auto* grid = new QGridLayout(this);
    int row = 0;

    grid->addWidget(label(0, kUnitNameCaption), row, 0);
    auto* name = edit(Name);
    name->setMaxLength(kMaxTextLength);
    grid->addWidget(name, row++, 1, 1, 3);

    auto* modelGroup = new QGroupBox(QString::fromUtf8(kModelGroupCaption), this);
    auto* modelLayout = new QGridLayout(modelGroup);
    modelLayout->addWidget(radio(CategoryOrvex, kOrvexCategoryCaption, modelGroup), 0, 0);
    modelLayout->addWidget(radio(CategoryWireless, kWirelessCategoryCaption, modelGroup), 0, 1);
    modelLayout->addWidget(radio(CategoryAnalog, kAnalogCategoryCaption, modelGroup), 1, 0);
    modelLayout->addWidget(radio(CategoryGateway, kGatewayCategoryCaption, modelGroup), 1, 1);
    modelLayout->addWidget(combo(Model, modelGroup), 2, 0, 1, 2);
    grid->addWidget(modelGroup, row++, 0, 1, 4);

    grid->addWidget(label(HostLabel, kHostCaption), row, 0);
    auto* host = edit(Host);
    host->setMaxLength(kMaxTextLength);
    grid->addWidget(host, row++, 1, 1, 3);

    // The frame only draws a border around the port controls: hiding it for
    // gateway units leaves the controls in place, so it shares their cell.
    auto* frame = new QGroupBox(this);
    view_.bind(PortFrame, frame);
    auto* ports = new QWidget(this);
    auto* portLayout = new QGridLayout(ports);
    auto* portCheck = new QCheckBox(QString::fromUtf8(kPortCheckCaption), ports);
    view_.bind(PortCheck, portCheck);
    portLayout->addWidget(portCheck, 0, 0, 1, 2);
    portLayout->addWidget(label(ControlPortLabel, kControlPortCaption), 1, 0);
    portLayout->addWidget(edit(ControlPort), 1, 1);
    portLayout->addWidget(label(SecondPortLabel, kSecondPortCaption), 2, 0);
    portLayout->addWidget(edit(SecondPort), 2, 1);
    for (const int id : {ControlPort, SecondPort})
        static_cast<QLineEdit*>(view_.widget(id))->setValidator(digitsOnly);
    grid->addWidget(frame, row, 0, 1, 4);
    grid->addWidget(ports, row++, 0, 1, 4);

    grid->addWidget(label(NodeLabel, kNodeCaption), row, 0);
    grid->addWidget(edit(Node), row++, 1);
    auto* connection = new QButtonGroup(this);
    auto* lan = radio(Lan, kLanCaption, this);
    auto* usb = radio(Usb, kUsbCaption, this);
    connection->addButton(lan);
    connection->addButton(usb);
    grid->addWidget(lan, row, 0);
    grid->addWidget(usb, row, 1);
    grid->addWidget(label(ComPortLabel, kComPortCaption), row, 2);
    grid->addWidget(combo(ComPort, this), row++, 3);
    grid->addWidget(label(TimeoutLabel, kTimeoutCaption), row, 0);
    grid->addWidget(edit(Timeout), row++, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QString::fromUtf8(kCancelCaption), this);
    ok->setDefault(true);
    view_.bind(kDialogOk, ok);
    view_.bind(kDialogCancel, cancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, row, 0, 1, 4);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void AddChangeDialog::connectActions()
{
    const auto onClick = [this](int id, void (CVantelAddChange::*action)()) {
        connect(static_cast<QAbstractButton*>(view_.widget(id)), &QAbstractButton::clicked, this,
                [this, action] { (logic_.*action)(); });
    };
    for (const int id : {CategoryOrvex, CategoryWireless, CategoryAnalog, CategoryGateway})
        onClick(id, &CVantelAddChange::onCategoryClicked);
    onClick(Lan, &CVantelAddChange::onLanUsbClicked);
    onClick(Usb, &CVantelAddChange::onLanUsbClicked);
    onClick(PortCheck, &CVantelAddChange::onPortCheckClicked);
    // activated: only the user's choice, not the logic's own refills of the box.
    connect(static_cast<QComboBox*>(view_.widget(Model)), &QComboBox::activated, this,
            [this] { logic_.onModelChanged(); });
    connect(static_cast<QAbstractButton*>(view_.widget(kDialogOk)), &QAbstractButton::clicked, this,
            &AddChangeDialog::accept);
    connect(static_cast<QAbstractButton*>(view_.widget(kDialogCancel)), &QAbstractButton::clicked, this,
            &AddChangeDialog::reject);
}

} // namespace vantel
