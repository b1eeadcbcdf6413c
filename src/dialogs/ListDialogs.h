#pragma once

#include "dialogs/ListChoiceLogic.h"

namespace vantel {

namespace ADCspsId {
inline constexpr int Rate = 1068;
} // namespace ADCspsId

namespace RangeId {
inline constexpr int Mode = 1076;
inline constexpr int Output = 1077; // the output the mode is for
} // namespace RangeId

// Sample rate of the unit's converter, as an index into the rate list.
class CEditADCsps : public ListChoiceLogic {
public:
    explicit CEditADCsps(ControlView& view);
};

// Output mode of one analog output: 0 voltage, 1 current. `subject` names
// the output ("AO2: name"), so that the user knows which one changes.
class CEditRange : public ListChoiceLogic {
public:
    explicit CEditRange(ControlView& view);
};

} // namespace vantel
