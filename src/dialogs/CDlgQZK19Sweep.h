#pragma once

#include "dialogs/SweepSettings.h"
#include "ui/ControlView.h"

#include <cstddef>
#include <string>

namespace vantel {

namespace SweepId {
inline constexpr int Picture = 1054;
inline constexpr int V1 = 1055;
inline constexpr int V2 = 1056;
inline constexpr int T1 = 1057;
inline constexpr int T2 = 1058;
inline constexpr int UnitOfV1 = 1081;
inline constexpr int UnitOfV2 = 1082;
} // namespace SweepId

// Sweep settings of one analog output row. The unit text ("V" or "mA") is
// shown beside both values.
class CDlgQZK19Sweep : public SweepSettings {
public:
    static constexpr std::size_t kTimeMaxCharacters = 6;

    explicit CDlgQZK19Sweep(ControlView& view) : view_(view) {}

    std::string unit;

    void onInitDialog();
    // Change of one of the four boxes.
    void onBoxChanged(int controlId);
    // Reads the boxes; false (the dialog stays open) when V1 > V2.
    bool onOK();

private:
    ControlView& view_;
};

} // namespace vantel
