#pragma once

#include "comm/protocol/AnalogRanges.h"
#include "dialogs/CEditAnalogCalc.h"
#include "dialogs/DialogTexts.h"
#include "graph/DlgGraphTab.h"
#include "graph/LECanvasSeries.h"
#include "registry/UnitRecord.h"

namespace vantel {

// One analog row of a panel as the formula dialog sees it.
struct AnalogCalcRow {
    int row = 0;
    int rangeCode = 0;
    bool outputs = false;              // analog-output panels label the formula differently
    ChannelFormula* formula = nullptr; // in the unit record
    double* graphMin = nullptr;        // in the unit record
    double* graphMax = nullptr;
    GraphRange currentRange;          // the range the trace is drawn in now
    GraphRange defaultRange;          // of the row's measuring range
    LECanvasSeries* series = nullptr; // may be null: no graph
    DlgGraphTab* graphPage = nullptr; // may be null
};

// Fills the dialog for a row: labels of the panel family, formula, unit, range.
void PrepareAnalogCalc(CEditAnalogCalc& dialog, const AnalogCalcRow& row);

// After OK: stores formula and unit, applies the graph range (or, when it is
// empty or inverted, tells the user and applies the default range), stores the
// range and sets the series unit. Returns the range now in force; the panel
// then refreshes its displays and the graph.
GraphRange ApplyAnalogCalcResult(const CEditAnalogCalc& dialog, const AnalogCalcRow& row, ControlView& messages);

} // namespace vantel
