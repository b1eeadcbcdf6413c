#pragma once

#include "dialogs/SettingsDialogs.h"
#include "graph/LECanvasSeries.h"
#include "logging/Reading.h"
#include "panels/analog/AnalogRows.h"
#include "panels/framework/PanelView.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantel {

// What tells an input row from an output row where both do the same: the
// span of the level bar, the scale of the thresholds and how the row's code
// names its unit and its first graph range.
struct RowScale {
    int barMaximum;        // of a voltage code; the bar starts at the negative end
    int currentBarMaximum; // of a current code; the bar starts at 0
    int barOffset;         // added to a voltage reading
    int thresholdShift;    // thresholds are 16-bit words; inputs read 24 bits
    ScaleKind thresholds;
    bool (*isCurrent)(int code);
    std::string_view (*unitOf)(int code);
    GraphRange (*defaultGraph)(int code);
};

extern const RowScale kInputRowScale;  // by range code
extern const RowScale kOutputRowScale; // by output mode

// The formula and graph range the unit record keeps for row `index` of
// the outputs (`outputs`) or the inputs.
void RestoreFromRecord(AnalogRow& row, const UnitRecord& unit, bool outputs, int index);
// The row's code's first graph range, on the row and on its trace (if any).
void ResetDisplay(AnalogRow& row, LECanvasSeries* trace, const RowScale& scale);

// The bar of `row` with its LED threshold alarm.
LevelBar BarOf(const AnalogRow& row, const RowScale& scale);
// The bar of a row that has no reading yet in `code`.
LevelBar EmptyBarOf(int code, const RowScale& scale);

// The threshold dialog run on `row`: the thresholds to send, converted
// back with the code the dialog showed them in; nothing after Cancel.
std::optional<RawThresholds> EditThresholds(SettingsDialogs& dialogs, const AnalogRow& row, const RowScale& scale);

// The CSV columns of an analog row: its signal name and its unit.
std::string CsvColumnsOf(const std::string& name, int row);
// The logged value of an analog row showing `value`: the value and the
// formula's unit, or the code's unit where the formula names none.
ColumnValue ValueColumnOf(const AnalogRow& row, double value, const RowScale& scale);
// The same as CSV text, with its leading commas.
std::string CsvValuesOf(const AnalogRow& row, double value, const RowScale& scale);
// One CSV value per digital channel, 1 or 0.
std::string CsvBitsOf(int bits, int count);

} // namespace vantel
