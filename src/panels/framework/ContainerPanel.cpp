#include "panels/framework/ContainerPanel.h"

#include "graph/DisplayPeriod.h"

#include <array>
#include <chrono>

namespace vantel {
namespace {

constexpr std::array<GraphRange, 3> kDigitalWindows{{{-8.8, 1.2}, {-7.5, 2.5}, {-6.2, 3.8}}};

// Where digital trace `index` sits on the graph, so that the digital traces
// lie one above the other.
GraphRange DigitalTraceWindow(int index)
{
    return kDigitalWindows.at(static_cast<std::size_t>(index));
}

} // namespace

ContainerPanel::ContainerPanel(PanelView& view, PanelContext context, ContainerPage page,
                               std::unique_ptr<AnalogUnitLink> link)
    : PanelBase(view, context), page_(std::move(page)), link_(std::move(link)), dialogs_(context.dialogs)
{
}

void ContainerPanel::selectDisplayPeriod(int index)
{
    if (canvas() != nullptr && ApplyDisplayPeriod(*canvas(), index))
        canvas()->Refresh();
}

void ContainerPanel::refreshGraph()
{
    if (canvas() != nullptr)
        canvas()->Refresh();
}

bool ContainerPanel::editFormula(int row, bool outputs, const FormulaState& state, GraphRange defaults)
{
    UnitRecord* unit = record();
    if (unit == nullptr || dialogs_ == nullptr)
        return false;
    const auto slot = static_cast<std::size_t>(row);
    ChannelFormula& formula = outputs ? unit->outputFormulas[slot] : unit->inputFormulas[slot];
    AnalogCalcRow calc;
    calc.row = row;
    calc.outputs = outputs;
    calc.formula = &formula;
    calc.graphMin = &unit->graphMin[slot];
    calc.graphMax = &unit->graphMax[slot];
    calc.defaultRange = defaults;
    calc.series = series(row);
    calc.graphPage = graphPage();
    {
        const std::lock_guard guard(state.lock);
        calc.rangeCode = state.rangeCode;
        calc.currentRange = state.display;
    }
    const std::optional<GraphRange> applied = dialogs_->editAnalogCalc(calc, view());
    if (!applied)
        return false;
    {
        const std::lock_guard guard(state.lock);
        state.formula = formula;
        state.display = *applied;
    }
    refreshGraph();
    return true;
}

std::string ContainerPanel::statusText()
{
    const UnitRecord* unit = record();
    if (unit == nullptr)
        return {};
    return link_->statusText(*unit, unitIdReported());
}

void ContainerPanel::startGraph()
{
    if (canvas() == nullptr)
        return;
    ApplyDisplayPeriod(*canvas(), 0);
    const double now = nowSeconds();
    canvas()->SetRange(now, now + kStartSpanSeconds);
}

LECanvasSeries* ContainerPanel::addSeries(int row, std::string_view name, double scaleMin, double scaleMax)
{
    if (canvas() == nullptr)
        return nullptr;
    LECanvasSeries* added = canvas()->AddSeries(name, scaleMin, scaleMax);
    if (added != nullptr) {
        const Colour colour = DlgGraphTab::RowColour(row);
        added->SetColour(colour.red, colour.green, colour.blue);
    }
    return added;
}

LECanvasSeries* ContainerPanel::addDigitalSeries(int row, std::string_view name, int index)
{
    const GraphRange window = DigitalTraceWindow(index);
    LECanvasSeries* added = addSeries(row, name, window.min, window.max);
    if (added != nullptr)
        added->SetVisible(false);
    return added;
}

LECanvasSeries* ContainerPanel::series(int row) const
{
    return canvas() != nullptr ? canvas()->GetSeries(row) : nullptr;
}

void ContainerPanel::labelGraphRow(int row, const std::string& label)
{
    if (LECanvasSeries* trace = series(row))
        trace->SetName(label);
    if (graphPage() != nullptr)
        graphPage()->setRowLabel(row, label);
}

void ContainerPanel::addSample(int row, double seconds, double value)
{
    if (LECanvasSeries* trace = series(row))
        trace->AppendSample(seconds, value);
}

void ContainerPanel::showGraphValue(int row, std::string_view text)
{
    if (graphPage() != nullptr)
        graphPage()->SetRowValue(row, text);
}

double ContainerPanel::nowSeconds()
{
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

} // namespace vantel
