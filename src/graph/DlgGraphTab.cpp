#include "graph/DlgGraphTab.h"

#include "comm/protocol/AnalogRanges.h"
#include "graph/GraphPageIds.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace vantel {
namespace {

using namespace GraphPageId;

constexpr std::array<Colour, Rows> kRowColours{{
    {255, 255, 80},
    {80, 255, 255},
    {255, 80, 255},
    {80, 255, 80},
    {255, 80, 80},
    {80, 80, 255},
}};

std::vector<std::string> SeriesItems(const GraphPageLayout& layout)
{
    std::vector<std::string> items;
    for (int i = 0; i < layout.seriesCount; ++i)
        items.emplace_back(layout.series[static_cast<std::size_t>(i)]);
    return items;
}

bool validRow(int row)
{
    return row >= 0 && row < Rows;
}

} // namespace

DlgGraphTab::DlgGraphTab(ControlView& view, const GraphPageLayout& layout) : view_(view), layout_(layout) {}

void DlgGraphTab::setCanvas(std::shared_ptr<LECanvas> canvas)
{
    canvas_ = std::move(canvas);
}

Colour DlgGraphTab::RowColour(int row)
{
    return validRow(row) ? kRowColours[static_cast<std::size_t>(row)] : Colour{};
}

void DlgGraphTab::onInitDialog()
{
    view_.setCurrentIndex(Period, 0);
    const bool outputs = layout_.analogOutputs;
    // A five-input unit shows its fourth and fifth input in the second row.
    const bool fiveInputs = analogRows() == 5;
    for (int row = 0; row < 3; ++row) {
        view_.setChecked(CheckOfRow(row), true);
        if (outputs)
            view_.setText(CheckOfRow(row), "AO" + std::to_string(row + 1));
    }
    for (int row = 3; row < Rows; ++row) {
        view_.setChecked(CheckOfRow(row), fiveInputs);
        if (outputs)
            view_.setText(CheckOfRow(row), "DI" + std::to_string(row - 2));
        else if (fiveInputs && row < 5)
            view_.setText(CheckOfRow(row), "AI" + std::to_string(row + 1));
    }
    for (std::string_view name : layout_.hiddenControls)
        if (const std::optional<int> id = ControlNamed(name))
            view_.setVisible(*id, false);
    view_.setItems(SeriesList, SeriesItems(layout_));
    view_.setCurrentIndex(SeriesList, 0);
}

void DlgGraphTab::onPeriodSelected()
{
    if (panel_ != nullptr)
        panel_->selectDisplayPeriod(view_.currentIndex(Period));
}

void DlgGraphTab::onSeriesSelected()
{
    if (canvas_)
        canvas_->SelectSeries(view_.currentIndex(SeriesList));
    if (panel_ != nullptr)
        panel_->refreshGraph();
}

void DlgGraphTab::onCheckClicked(int controlId)
{
    int row = -1;
    if (controlId >= FirstRowCheck && controlId < FirstRowCheck + 3)
        row = controlId - FirstRowCheck;
    else if (controlId >= SecondRowCheck && controlId < SecondRowCheck + 3)
        row = controlId - SecondRowCheck + 3;
    if (row < 0)
        return;
    // The 2-AO unit has only two analog series, so its DI rows sit one lower.
    const int unusedAnalogRows = std::max(0, 3 - layout_.analogSeries);
    const int series = row >= 3 ? row - unusedAnalogRows : row;
    if (canvas_) {
        if (LECanvasSeries* target = canvas_->GetSeries(series))
            target->SetVisible(view_.isChecked(controlId));
    }
    if (panel_ != nullptr)
        panel_->refreshGraph();
}

void DlgGraphTab::onScaleClicked(int controlId)
{
    const int row = controlId - FirstScale;
    if (validRow(row) && panel_ != nullptr)
        panel_->openScaleDialog(row);
}

LECanvasSeries* DlgGraphTab::seriesOfRow(int row) const
{
    return canvas_ ? canvas_->GetSeries(row) : nullptr;
}

void DlgGraphTab::SetRowValue(int row, std::string_view text)
{
    if (!validRow(row))
        return;
    std::string shown(text);
    if (row < analogRows()) {
        const LECanvasSeries* series = seriesOfRow(row);
        shown += " ";
        shown += series ? series->GetUnit() : std::string();
    }
    view_.setText(FirstValue + row, shown);
}

void DlgGraphTab::setRowLabel(int row, std::string_view text)
{
    if (validRow(row))
        view_.setText(FirstLabel + row, text);
}

void DlgGraphTab::enableRow(int row, bool enabled)
{
    if (validRow(row))
        view_.setEnabled(FirstScale + row, enabled);
}

void DlgGraphTab::SetRowUnit(int row, int rangeCode, double multiplier, double offset, std::string_view unit)
{
    if (LECanvasSeries* series = seriesOfRow(row))
        series->SetUnit(RowUnitText(layout_, rangeCode, multiplier, offset, unit));
}

std::string RowUnitText(const GraphPageLayout& layout, int rangeCode, double multiplier, double offset,
                        std::string_view unit)
{
    if (!unit.empty() || multiplier != 1.0 || offset != 0.0)
        return std::string(unit);
    // A code the tables do not list shows no unit rather than a guessed one.
    if (layout.analogOutputs) {
        const OutputModeInfo& mode = OutputModeOf(rangeCode);
        return mode.known ? std::string(mode.unit) : "";
    }
    const InputRangeInfo& range = InputRangeOf(rangeCode);
    return range.known ? std::string(range.unit) : "";
}

} // namespace vantel
