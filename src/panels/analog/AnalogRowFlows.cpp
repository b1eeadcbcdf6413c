#include "panels/analog/AnalogRowFlows.h"

#include "comm/protocol/ValueConversion.h"
#include "logging/CsvText.h"

#include <algorithm>

namespace vantel {
namespace {

bool IsCurrentMode(int mode)
{
    return mode == OutputMode::Current;
}

std::string_view UnitOfRange(int range)
{
    return InputRangeOf(range).unit;
}

std::string_view UnitOfMode(int mode)
{
    return OutputModeOf(mode).unit;
}

GraphRange GraphOfRange(int range)
{
    return InputRangeOf(range).defaultGraph;
}

GraphRange GraphOfMode(int mode)
{
    return OutputModeOf(mode).defaultGraph;
}

} // namespace

const RowScale kInputRowScale{0xFFFFFF,           0x7FFFFF,       0x800000,    8,
                              ScaleKind::ByRange, IsCurrentRange, UnitOfRange, GraphOfRange};
const RowScale kOutputRowScale{0xFFFF,        0x7FFF,     0x8000,     0, ScaleKind::ByOutputMode,
                               IsCurrentMode, UnitOfMode, GraphOfMode};

void RestoreFromRecord(AnalogRow& row, const UnitRecord& unit, bool outputs, int index)
{
    const auto slot = static_cast<std::size_t>(index);
    row.formula = outputs ? unit.outputFormulas[slot] : unit.inputFormulas[slot];
    row.display = {unit.graphMin[slot], unit.graphMax[slot]};
}

void ResetDisplay(AnalogRow& row, LECanvasSeries* trace, const RowScale& scale)
{
    row.display = scale.defaultGraph(row.rangeCode);
    if (trace != nullptr)
        trace->SetScale(row.display.min, row.display.max);
}

LevelBar BarOf(const AnalogRow& row, const RowScale& scale)
{
    const bool current = scale.isCurrent(row.rangeCode);
    const bool inside = (row.low << scale.thresholdShift) <= row.raw && row.raw <= (row.high << scale.thresholdShift);
    LevelBar bar;
    bar.maximum = current ? scale.currentBarMaximum : scale.barMaximum;
    bar.position = current ? std::max(0, row.raw) : row.raw + scale.barOffset;
    bar.alarm = inside == (row.ledWhenOutside == 0);
    return bar;
}

LevelBar EmptyBarOf(int code, const RowScale& scale)
{
    LevelBar empty;
    empty.maximum = scale.isCurrent(code) ? scale.currentBarMaximum : scale.barMaximum;
    return empty;
}

std::optional<RawThresholds> EditThresholds(SettingsDialogs& dialogs, const AnalogRow& row, const RowScale& scale)
{
    const RawThresholds raw{row.low, row.high, row.ledWhenOutside != 0};
    const auto values = dialogs.editThreshold(ThresholdsFromRaw(raw, row.rangeCode, scale.thresholds));
    if (!values)
        return std::nullopt;
    return ThresholdsToRaw(*values, row.rangeCode, scale.thresholds);
}

std::string CsvColumnsOf(const std::string& name, int row)
{
    return "," + name + ",単位" + std::to_string(row + 1);
}

ColumnValue ValueColumnOf(const AnalogRow& row, double value, const RowScale& scale)
{
    const std::string unit = row.formula.unit.empty() ? std::string(scale.unitOf(row.rangeCode)) : row.formula.unit;
    return {FormatCompact(value), unit};
}

std::string CsvValuesOf(const AnalogRow& row, double value, const RowScale& scale)
{
    return CsvValuesText({ValueColumnOf(row, value, scale)});
}

std::string CsvBitsOf(int bits, int count)
{
    return CsvValuesText(BitColumns(bits, count));
}

} // namespace vantel
