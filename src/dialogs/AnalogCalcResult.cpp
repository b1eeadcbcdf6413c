#include "dialogs/AnalogCalcResult.h"

namespace vantel {

void PrepareAnalogCalc(CEditAnalogCalc& dialog, const AnalogCalcRow& row)
{
    if (row.outputs) {
        dialog.leftLabel = kOutputLeftLabel;
        dialog.rightLabel = kOutputRightLabel;
        dialog.unitLabel = kOutputUnitLabel;
    } else {
        dialog.leftLabel = kInputLeftLabel;
        dialog.rightLabel = kInputRightLabel;
        dialog.unitLabel = kInputUnitLabel;
    }
    if (row.formula != nullptr) {
        dialog.multiplier = row.formula->gain;
        dialog.offset = row.formula->offset;
        dialog.unit = row.formula->unit;
    }
    dialog.graphMin = row.currentRange.min;
    dialog.graphMax = row.currentRange.max;
}

GraphRange ApplyAnalogCalcResult(const CEditAnalogCalc& dialog, const AnalogCalcRow& row, ControlView& messages)
{
    if (row.formula != nullptr)
        *row.formula = {dialog.multiplier, dialog.offset, dialog.unit};
    GraphRange range{dialog.graphMin, dialog.graphMax};
    if (!(range.min < range.max)) {
        messages.showMessage(kInvalidGraphRangeMessage);
        range = row.defaultRange;
    }
    if (row.graphMin != nullptr && row.graphMax != nullptr) {
        *row.graphMin = range.min;
        *row.graphMax = range.max;
    }
    if (row.series != nullptr)
        row.series->SetScale(range.min, range.max);
    if (row.graphPage != nullptr)
        row.graphPage->SetRowUnit(row.row, row.rangeCode, dialog.multiplier, dialog.offset, dialog.unit);
    return range;
}

} // namespace vantel
