#pragma once

#include "app/AnalogConnect.h"
#include "app/UnitConnector.h"
#include "registry/AppState.h"

#include <functional>

namespace vantel {

// Opens what fits a unit's model when the user connects to it. Analog units
// are connected and their model checked here; the panels themselves are
// windows, so the program hands in how each kind is opened.
class PanelLauncher : public UnitConnector {
public:
    // Creates a digital unit's panel, which connects and checks the unit itself.
    using PanelOpener = std::function<void(UnitRecord& record, const ConnectRequest& request)>;
    // Creates the tab container of an analog unit, handing it the checked channel.
    using ContainerOpener =
        std::function<void(UnitRecord& record, const ConnectRequest& request, ConnectedAnalogUnit unit)>;

    explicit PanelLauncher(AppState& state, PanelOpener openDigitalPanel = {}, ContainerOpener openContainer = {})
        : state_(state), openDigitalPanel_(std::move(openDigitalPanel)), openContainer_(std::move(openContainer))
    {
    }
    void connect(UnitRecord& record, const ConnectRequest& request, MainWindowView& view) override;

private:
    AppState& state_;
    PanelOpener openDigitalPanel_;
    ContainerOpener openContainer_;
};

} // namespace vantel
