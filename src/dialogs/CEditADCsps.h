#pragma once

#include "dialogs/ListChoiceDialog.h"

namespace vantel {

namespace ADCspsId {
inline constexpr int Rate = 1068;
} // namespace ADCspsId

// Sample rate of the unit's converter, as an index into the rate list.
class CEditADCsps : public ListChoiceDialog {
public:
    static constexpr const char* kCaption = "ADC sps";

    explicit CEditADCsps(ControlView& view);
};

} // namespace vantel
