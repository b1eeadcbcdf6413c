#pragma once

#include "ui/ControlView.h"

namespace vantel {

namespace TCSettingId {
inline constexpr int Type = 1261;
inline constexpr int ColdJunction = 1262;
inline constexpr int OpenCircuitDetection = 1263;
inline constexpr int OpenCircuitOutput = 1264;
} // namespace TCSettingId

// Thermocouple settings of one input as the unit reports them (TJ) and takes
// them (TC): the type index and the setting byte.
struct ThermocoupleSetting {
    int type = 0;
    int setting = 0;
};

// Bits of the setting byte.
namespace TCSettingBit {
inline constexpr int ColdJunction = 0x1;
inline constexpr int OpenCircuitDetection = 0x2;
inline constexpr int OpenCircuitHigh = 0x4; // open-circuit output: 0 lowest, 1 highest value
} // namespace TCSettingBit

// Thermocouple type, cold-junction compensation, open-circuit detection and
// what the input reads when the wire is open.
class CEditTCSetting {
public:
    explicit CEditTCSetting(ControlView& view) : view_(view) {}

    int type = 0;
    int setting = 0;           // the byte the check boxes start from
    int openCircuitOutput = 0; // index into "最低値", "最高値"
    int flags = 0;             // after OK: the two check boxes as bits 0 and 1

    void onInitDialog();
    void onOK();

private:
    ControlView& view_;
};

void PrepareTCSetting(CEditTCSetting& dialog, const ThermocoupleSetting& current);

// The setting to send after OK. Bits the dialog does not show are kept as the
// unit reported them, and a type the list could not show stays as it was.
ThermocoupleSetting TCSettingAfterOK(const CEditTCSetting& dialog, const ThermocoupleSetting& current);

} // namespace vantel
