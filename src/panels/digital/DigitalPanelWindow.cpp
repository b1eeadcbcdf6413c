#include "panels/digital/DigitalPanelWindow.h"

#include "panels/framework/PanelTexts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantel {

namespace {

// Pixel sizes of the controls, close to the dialog template's proportions.
constexpr int kNameBoxWidth = 150;
constexpr int kPeriodBoxWidth = 64;
constexpr int kIndicatorWidth = 28;
constexpr int kIndicatorHeight = 18;
constexpr int kBottomMargin = 10; // the window ends this far below "切断"

const QString kPeriodUnit = QString::fromUtf8(kTenthsPeriodUnit);

QFrame* Separator(QWidget& parent)
{
    auto* line = new QFrame(&parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel* Indicator(QWidget& parent)
{
    auto* indicator = new QLabel(&parent);
    indicator->setFixedSize(kIndicatorWidth, kIndicatorHeight);
    indicator->setFrameShape(QFrame::Box);
    return indicator;
}

QLineEdit* Box(QWidget& parent, int width)
{
    auto* box = new QLineEdit(&parent);
    box->setFixedWidth(width);
    return box;
}

} // namespace

DigitalPanelWindow::DigitalPanelWindow(QWidget* parent) : PanelWindow(parent)
{
    auto* outputs = new QGroupBox(QStringLiteral("DO"), this);
    auto* inputs = new QGroupBox(QStringLiteral("DI"), this);
    bind(DigitalId::OutputGroup, outputs);
    bind(DigitalId::InputGroup, inputs);
    buildOutputGroup(*outputs);
    buildInputGroup(*inputs);

    auto* status = new QLabel(QString::fromUtf8(kStatusPlaceholder), this);
    bind(PanelId::Status, status);
    auto* disconnect = new QPushButton(QString::fromUtf8(kDisconnectCaption), this);
    bindDisconnect(disconnect);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, kBottomMargin);
    layout->addWidget(outputs);
    layout->addWidget(inputs);
    layout->addWidget(status);
    layout->addWidget(disconnect, 0, Qt::AlignHCenter);
    // The window is as large as its visible rows need, never resizable.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (std::size_t i = 0; i < kChannelsPerSide; ++i) {
        setIndicator(DigitalId::OutputIndicator[i], false);
        setIndicator(DigitalId::InputIndicator[i], false);
    }
}

DigitalPanelWindow::~DigitalPanelWindow()
{
    digital_ = nullptr;
    gateway_ = nullptr;
    clicked_ = nullptr;
    destroyPanel();
}

void DigitalPanelWindow::buildOutputGroup(QWidget& group)
{
    auto* grid = new QGridLayout(&group);
    for (std::size_t i = 0; i < kChannelsPerSide; ++i) {
        const int row = static_cast<int>(2 * i);
        auto* name = Box(group, kNameBoxWidth);
        auto* indicator = Indicator(group);
        auto* button = new QPushButton(QString::fromUtf8(kOnOffButtonCaption), &group);
        auto* autoBox = new QCheckBox(QString::fromUtf8(kAutoCaption), &group);
        auto* period = Box(group, kPeriodBoxWidth);
        auto* label = new QLabel(kPeriodUnit, &group);
        bindNameBox(DigitalId::OutputName[i], name);
        bind(DigitalId::OutputIndicator[i], indicator);
        bindButton(DigitalId::OutputButton[i], button);
        bindAutoBox(DigitalId::OutputAuto[i], autoBox);
        bind(DigitalId::OutputPeriod[i], period);
        bind(DigitalId::OutputPeriodLabel[i], label);
        int column = 0;
        for (QWidget* widget :
             {static_cast<QWidget*>(name), static_cast<QWidget*>(indicator), static_cast<QWidget*>(button),
              static_cast<QWidget*>(autoBox), static_cast<QWidget*>(period), static_cast<QWidget*>(label)})
            grid->addWidget(widget, row, column++);
        if (i + 1 < kChannelsPerSide) {
            outputSeparators_[i] = Separator(group);
            grid->addWidget(outputSeparators_[i], row + 1, 0, 1, column);
        }
    }
}

void DigitalPanelWindow::buildInputGroup(QWidget& group)
{
    auto* grid = new QGridLayout(&group);
    for (std::size_t i = 0; i < kChannelsPerSide; ++i) {
        const int row = static_cast<int>(2 * i);
        auto* name = Box(group, kNameBoxWidth);
        auto* indicator = Indicator(group);
        bindNameBox(DigitalId::InputName[i], name);
        bind(DigitalId::InputIndicator[i], indicator);
        grid->addWidget(name, row, 0);
        grid->addWidget(indicator, row, 1);
        if (i + 1 < kChannelsPerSide) {
            inputSeparators_[i] = Separator(group);
            grid->addWidget(inputSeparators_[i], row + 1, 0, 1, 2);
        }
    }
    auto* shared = new QHBoxLayout;
    auto* read = new QPushButton(QString::fromUtf8(kReadInputsCaption), &group);
    auto* autoBox = new QCheckBox(QString::fromUtf8(kAutoCaption), &group);
    auto* period = Box(group, kPeriodBoxWidth);
    auto* label = new QLabel(kPeriodUnit, &group);
    bindButton(DigitalId::ReadInputs, read);
    bindAutoBox(DigitalId::InputAuto, autoBox);
    bind(DigitalId::InputPeriod, period);
    bind(DigitalId::InputPeriodLabel, label);
    for (QWidget* widget : {static_cast<QWidget*>(read), static_cast<QWidget*>(autoBox), static_cast<QWidget*>(period),
                            static_cast<QWidget*>(label)})
        shared->addWidget(widget);
    shared->addStretch();
    grid->addLayout(shared, 0, 2, 2 * kChannelsPerSide - 1, 1, Qt::AlignTop);
}

void DigitalPanelWindow::bindButton(int id, QAbstractButton* button)
{
    bind(id, button);
    connect(button, &QAbstractButton::clicked, this, [this, id] {
        if (clicked_)
            clicked_(id);
    });
}

void DigitalPanelWindow::setDigitalPanel(PanelPtr<CVantelDIGITAL> panel)
{
    digital_ = panel.get();
    clicked_ = [panel = digital_](int id) { return panel->onControlClicked(id); };
    setPanel(std::move(panel));
}

void DigitalPanelWindow::setGatewayPanel(PanelPtr<CVantelGW> panel)
{
    gateway_ = panel.get();
    clicked_ = [panel = gateway_](int id) { return panel->onControlClicked(id); };
    setPanel(std::move(panel));
}

void DigitalPanelWindow::setVisible(int id, bool visible)
{
    PanelWindow::setVisible(id, visible);
    onGuiThread([this] { fitToRows(); });
}

void DigitalPanelWindow::fitToRows()
{
    const auto shown = [this](int id) {
        const QWidget* widget = controls().widget(id);
        return widget && !widget->isHidden();
    };
    for (std::size_t i = 0; i + 1 < kChannelsPerSide; ++i) {
        outputSeparators_[i]->setVisible(shown(DigitalId::OutputName[i + 1]));
        inputSeparators_[i]->setVisible(shown(DigitalId::InputName[i + 1]));
    }
    // At once, also before the window shows: the restored position is
    // checked against the desktop with the size the window will have. The
    // groups' sizes are cached until told that their rows changed.
    for (const int id : {DigitalId::OutputGroup, DigitalId::InputGroup}) {
        QWidget* group = controls().widget(id);
        group->layout()->invalidate();
        group->updateGeometry();
    }
    layout()->activate();
}

DigitalPanelWindow* DigitalPanelWindow::open(UnitList& list, AppState& app, const UnitRecord& record,
                                             const ConnectRequest& request)
{
    auto* window = new DigitalPanelWindow;
    window->setDigitalPanel(MakePanel<CVantelDIGITAL>(*window, ContextFor(list, app, record, request)));
    // A failed start-up has told the user and let the window go already.
    if (!window->digitalPanel()->start())
        return nullptr;
    window->show();
    return window;
}

DigitalPanelWindow* DigitalPanelWindow::openGateway(UnitList& list, AppState& app, const UnitRecord& record,
                                                    const ConnectRequest& request, CGatewayLink& gateway)
{
    auto* window = new DigitalPanelWindow;
    window->setGatewayPanel(MakePanel<CVantelGW>(*window, ContextFor(list, app, record, request), gateway));
    window->gatewayPanel()->start();
    window->show();
    return window;
}

} // namespace vantel
