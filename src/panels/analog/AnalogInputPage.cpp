#include "panels/analog/AnalogInputPage.h"

#include "dialogs/DialogTexts.h"
#include "panels/analog/AnalogPage.h"
#include "panels/framework/PanelTexts.h"
#include "panels/framework/PanelWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantel {
namespace {

using namespace AnalogInputId;

constexpr int kValueWidth = 110;
constexpr int kBarWidth = 90;

enum InputColumn {
    NameColumn,
    FormulaColumn,
    ThresholdColumn,
    RangeColumn,
    MeasuredColumn,
    ConvertedColumn,
    BarColumn,
    ThermocoupleColumn
};

} // namespace

AnalogInputPage::AnalogInputPage(PanelPageContext& context, PanelContext panelContext, int unitId,
                                 AnalogInputShape shape, const PanelMaker& makePanel)
    : PanelPage(context.parent), dialogs_(context.window)
{
    PanelWindow& window = *context.window;
    auto* inputs = new QGroupBox(QStringLiteral("AI"), this);
    buildInputs(*inputs, window, shape);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(inputs);
    if (shape.outputs > 0) {
        auto* outputs = new QGroupBox(QStringLiteral("DO"), this);
        buildOutputs(*outputs, window, shape);
        layout->addWidget(outputs);
    }
    FinishPage(*this, *layout, window);

    panelContext.dialogs = &dialogs_;
    PanelPtr<AnalogInputPanel> panel =
        makePanel(std::move(panelContext), ContainerPage{context.kind, unitId, context.canvas, context.graphPage});
    panel_ = panel.get();
    window.setPanel(std::move(panel));
}

void AnalogInputPage::clicked(int id)
{
    if (panel_ != nullptr)
        panel_->onControlClicked(id);
}

void AnalogInputPage::buildInputs(QGroupBox& group, PanelWindow& window, const AnalogInputShape& shape)
{
    auto* grid = new QGridLayout(&group);
    grid->addWidget(new QLabel(QString::fromUtf8(kMeasuredCaption), &group), 0, MeasuredColumn);
    grid->addWidget(new QLabel(QString::fromUtf8(kShownValueCaption), &group), 0, ConvertedColumn);
    auto onClick = [this](int id) { clicked(id); };
    for (int row = 0; row < shape.inputs; ++row) {
        const Row& ids = Rows.at(static_cast<std::size_t>(row));
        const int line = row + 1;
        auto* name = MakeBox(group, kNameBoxWidth);
        window.bindNameBox(ids.name, name);
        grid->addWidget(name, line, NameColumn);
        auto* formula = new QPushButton(QString::fromUtf8(kFormulaButtonCaption), &group);
        BindClick(window, ids.formula, formula, onClick);
        grid->addWidget(formula, line, FormulaColumn);
        auto* threshold = new QPushButton(QString::fromUtf8(kThresholdButtonCaption), &group);
        BindClick(window, ids.threshold, threshold, onClick);
        grid->addWidget(threshold, line, ThresholdColumn);
        auto* range = new QComboBox(&group);
        range->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        window.bind(ids.range, range);
        connect(range, &QComboBox::activated, this, [this, row] {
            if (panel_ != nullptr)
                panel_->onRangeSelected(row);
        });
        grid->addWidget(range, line, RangeColumn);
        for (const auto& [id, column] :
             {std::pair{ids.measured, MeasuredColumn}, std::pair{ids.converted, ConvertedColumn}}) {
            auto* value = new QLabel(&group);
            value->setMinimumWidth(kValueWidth);
            window.bind(id, value);
            grid->addWidget(value, line, column);
        }
        auto* bar = MakeLevelBar(group, kBarWidth);
        window.bind(ids.bar, bar);
        grid->addWidget(bar, line, BarColumn);
        if (shape.thermocouple) {
            auto* thermocouple = new QPushButton(QString::fromUtf8(kThermocoupleButtonCaption), &group);
            BindClick(window, ids.thermocouple, thermocouple, onClick);
            grid->addWidget(thermocouple, line, ThermocoupleColumn);
        }
    }
    const int last = shape.inputs + 1;
    auto* read = new QPushButton(QString::fromUtf8(kReadInputsCaption), &group);
    BindClick(window, ReadInputs, read, onClick);
    auto* autoBox = new QCheckBox(QString::fromUtf8(kAutoCaption), &group);
    window.bindAutoBox(InputAuto, autoBox);
    auto* period = MakeBox(group, kPeriodBoxWidth);
    window.bind(InputPeriod, period);
    grid->addWidget(read, last, FormulaColumn);
    grid->addWidget(autoBox, last, ThresholdColumn);
    grid->addWidget(period, last, RangeColumn);
    grid->addWidget(new QLabel(QString::fromUtf8(shape.periodUnit), &group), last, MeasuredColumn);
    if (shape.sampleRate) {
        auto* rate = new QPushButton(QString::fromUtf8(kAdcSpsCaption), &group);
        BindClick(window, SampleRate, rate, onClick);
        grid->addWidget(rate, last, BarColumn);
    }
}

void AnalogInputPage::buildOutputs(QGroupBox& group, PanelWindow& window, const AnalogInputShape& shape)
{
    auto* grid = new QGridLayout(&group);
    auto onClick = [this](int id) { clicked(id); };
    for (int output = 0; output < shape.outputs; ++output) {
        const Output& ids = Outputs.at(static_cast<std::size_t>(output));
        auto* name = MakeBox(group, kNameBoxWidth);
        window.bindNameBox(ids.name, name);
        auto* indicator = MakeIndicator(group);
        window.bind(ids.indicator, indicator);
        window.setIndicator(ids.indicator, false);
        auto* button = new QPushButton(QString::fromUtf8(kOnOffButtonCaption), &group);
        BindClick(window, ids.button, button, onClick);
        auto* autoBox = new QCheckBox(QString::fromUtf8(kAutoCaption), &group);
        window.bindAutoBox(ids.autoBox, autoBox);
        auto* period = MakeBox(group, kPeriodBoxWidth);
        window.bind(ids.period, period);
        int column = 0;
        for (QWidget* widget :
             {static_cast<QWidget*>(name), static_cast<QWidget*>(indicator), static_cast<QWidget*>(button),
              static_cast<QWidget*>(autoBox), static_cast<QWidget*>(period)})
            grid->addWidget(widget, output, column++);
        grid->addWidget(new QLabel(QString::fromUtf8(shape.periodUnit), &group), output, column++);
        if (shape.outputAlerts) {
            auto* alert = new QCheckBox(QString::fromUtf8(kOutputAlertCaption), &group);
            BindClick(window, ids.alert, alert, onClick);
            auto* settings = new QPushButton(QString::fromUtf8(kSettingsButtonCaption), &group);
            BindClick(window, ids.alertSettings, settings, onClick);
            grid->addWidget(alert, output, column++);
            grid->addWidget(settings, output, column++);
        }
    }
    grid->setColumnStretch(grid->columnCount(), 1);
}

} // namespace vantel
