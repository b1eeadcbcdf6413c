#include "panels/analog/AnalogOutputPage.h"

#include "dialogs/DialogTexts.h"
#include "panels/analog/AnalogPage.h"
#include "panels/framework/PanelTexts.h"
#include "panels/framework/PanelWindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantel {
namespace {

using namespace AnalogOutputId;

constexpr int kValueBoxWidth = 80;
constexpr int kSettingWidth = 100;
constexpr int kUnitWidth = 50;
constexpr int kBarWidth = 72;

enum Column {
    NameColumn,
    FormulaColumn,
    ThresholdColumn,
    ModeColumn,
    OutputColumn,
    SettingColumn,
    UnitColumn,
    ButtonColumn,
    IndicatorColumn,
    SweepSettingsColumn,
    SweepColumn,
    BarColumn,
};

} // namespace

AnalogOutputPage::AnalogOutputPage(PanelPageContext& context, PanelContext panelContext, int unitId,
                                   AnalogOutputShape shape, const PanelMaker& makePanel)
    : PanelPage(context.parent), dialogs_(context.window)
{
    PanelWindow& window = *context.window;
    auto* outputs = new QGroupBox(QStringLiteral("AO"), this);
    auto* inputs = new QGroupBox(QStringLiteral("DI"), this);
    window.bind(OutputGroup, outputs);
    buildOutputs(*outputs, window, shape.outputs);
    buildInputs(*inputs, window, shape.inputs);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(outputs);
    layout->addWidget(inputs);
    FinishPage(*this, *layout, window);

    panelContext.dialogs = &dialogs_;
    PanelPtr<AnalogOutputPanel> panel =
        makePanel(std::move(panelContext), ContainerPage{context.kind, unitId, context.canvas, context.graphPage});
    panel_ = panel.get();
    window.setPanel(std::move(panel));
}

void AnalogOutputPage::bindButton(PanelWindow& window, int id, QAbstractButton* button)
{
    BindClick(window, id, button, [this](int clicked) {
        if (panel_ != nullptr)
            panel_->onControlClicked(clicked);
    });
}

void AnalogOutputPage::buildOutputs(QGroupBox& group, PanelWindow& window, int rows)
{
    auto* grid = new QGridLayout(&group);
    grid->addWidget(new QLabel(QString::fromUtf8(kConvertedOutputCaption), &group), 0, OutputColumn);
    grid->addWidget(new QLabel(QString::fromUtf8(kOutputSettingCaption), &group), 0, SettingColumn);
    grid->addWidget(new QLabel(QString::fromUtf8(kOutputCaption), &group), 0, ButtonColumn);
    auto* sweepHeading = new QLabel(QString::fromUtf8(kSweepHeading), &group);
    window.bind(SweepHeading, sweepHeading);
    grid->addWidget(sweepHeading, 0, SweepSettingsColumn, 1, 2, Qt::AlignHCenter);

    QFont settingFont(QStringLiteral("Verdana"));
    settingFont.setPixelSize(16);
    for (int row = 0; row < rows; ++row) {
        const Row& ids = Rows.at(static_cast<std::size_t>(row));
        const int line = row + 1;
        auto* name = MakeBox(group, kNameBoxWidth);
        window.bindNameBox(ids.name, name);
        grid->addWidget(name, line, NameColumn);
        const std::pair<int, const char*> buttons[] = {{ids.formula, kFormulaButtonCaption},
                                                       {ids.threshold, kThresholdButtonCaption},
                                                       {ids.mode, kOutputModeCaption},
                                                       {ids.button, kOnOffButtonCaption},
                                                       {ids.sweepSettings, kSettingsButtonCaption},
                                                       {ids.sweep, kSweepButtonCaption}};
        const Column columns[] = {FormulaColumn, ThresholdColumn,     ModeColumn,
                                  ButtonColumn,  SweepSettingsColumn, SweepColumn};
        for (std::size_t b = 0; b < std::size(buttons); ++b) {
            auto* button = new QPushButton(QString::fromUtf8(buttons[b].second), &group);
            bindButton(window, buttons[b].first, button);
            grid->addWidget(button, line, columns[b]);
        }

        auto* output = MakeBox(group, kValueBoxWidth);
        window.bind(ids.output, output);
        connect(output, &QLineEdit::textEdited, this, [this, row] {
            if (panel_ != nullptr)
                panel_->onOutputEdited(row);
        });
        grid->addWidget(output, line, OutputColumn);
        auto* setting = new QLabel(&group);
        setting->setFont(settingFont);
        setting->setMinimumWidth(kSettingWidth);
        window.bind(ids.setting, setting);
        grid->addWidget(setting, line, SettingColumn);
        auto* unit = new QLabel(&group);
        unit->setMinimumWidth(kUnitWidth);
        window.bind(ids.unit, unit);
        grid->addWidget(unit, line, UnitColumn);
        auto* indicator = MakeIndicator(group);
        window.bind(ids.indicator, indicator);
        window.setIndicator(ids.indicator, false);
        grid->addWidget(indicator, line, IndicatorColumn);
        auto* bar = MakeLevelBar(group, kBarWidth);
        window.bind(ids.bar, bar);
        grid->addWidget(bar, line, BarColumn);
    }
}

void AnalogOutputPage::buildInputs(QGroupBox& group, PanelWindow& window, int inputs)
{
    auto* grid = new QGridLayout(&group);
    for (int input = 0; input < inputs; ++input) {
        auto* name = MakeBox(group, kNameBoxWidth);
        window.bindNameBox(InputNames.at(static_cast<std::size_t>(input)), name);
        auto* indicator = MakeIndicator(group);
        window.bind(InputIndicators.at(static_cast<std::size_t>(input)), indicator);
        window.setIndicator(InputIndicators.at(static_cast<std::size_t>(input)), false);
        grid->addWidget(name, input, 0);
        grid->addWidget(indicator, input, 1);
    }
    auto* read = new QPushButton(QString::fromUtf8(kReadInputsCaption), &group);
    bindButton(window, ReadInputs, read);
    auto* autoBox = new QCheckBox(QString::fromUtf8(kAutoCaption), &group);
    window.bindAutoBox(InputAuto, autoBox);
    auto* period = MakeBox(group, kPeriodBoxWidth);
    window.bind(InputPeriod, period);
    auto* label = new QLabel(QString::fromUtf8(kSecondsPeriodUnit), &group);
    window.bind(InputPeriodLabel, label);
    grid->addWidget(read, 0, 2);
    grid->addWidget(autoBox, 0, 3);
    grid->addWidget(period, 0, 4);
    grid->addWidget(label, 0, 5);
    grid->setColumnStretch(6, 1);
}

} // namespace vantel
