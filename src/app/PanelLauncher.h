#pragma once

#include "app/AppState.h"
#include "app/UnitConnector.h"

namespace vantel {

// Opens what fits a unit's model when the user connects to it. Analog units
// are connected and their model checked here; their panels, the digital
// panels and the gateway panels plug in as they are built.
class PanelLauncher : public UnitConnector {
public:
    explicit PanelLauncher(AppState& state) : state_(state) {}
    void connect(UnitRecord& record, const ConnectRequest& request, MainWindowView& view) override;

private:
    AppState& state_;
};

} // namespace vantel
