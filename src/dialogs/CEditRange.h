#pragma once

#include "dialogs/ListChoiceDialog.h"

namespace vantel {

namespace RangeId {
inline constexpr int Mode = 1076;
} // namespace RangeId

// Output mode of one analog output: 0 voltage, 1 current.
class CEditRange : public ListChoiceDialog {
public:
    static constexpr const char* kCaption = "V/I";

    explicit CEditRange(ControlView& view);
};

} // namespace vantel
