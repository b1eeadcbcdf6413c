#pragma once

#include "app/GatewayConnect.h"
#include "app/UnitConnector.h"
#include "panels/UnitOpen.h"
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

    // Creates the panel of a digital unit behind the gateway, on the open link.
    using GatewayPanelOpener =
        std::function<void(UnitRecord& record, const ConnectRequest& request, CGatewayLink& link)>;

    explicit PanelLauncher(AppState& state, PanelOpener openDigitalPanel = {}, ContainerOpener openContainer = {})
        : state_(state), openDigitalPanel_(std::move(openDigitalPanel)), openContainer_(std::move(openContainer))
    {
    }
    // Creates the tab container of an analog unit behind the gateway whose
    // "md" reply matched, with the unit ID it reported.
    using GatewayContainerOpener =
        std::function<void(UnitRecord& record, const ConnectRequest& request, CGatewayLink& link, int unitId)>;

    // Units behind the gateway: `showConnecting` opens CConnecting for the
    // model check of analog units.
    void setGateway(GatewayConnect* gateway, GatewayPanelOpener openGatewayPanel,
                    GatewayContainerOpener openGatewayContainer, std::function<void()> showConnecting)
    {
        gateway_ = gateway;
        openGatewayPanel_ = std::move(openGatewayPanel);
        openGatewayContainer_ = std::move(openGatewayContainer);
        showConnecting_ = std::move(showConnecting);
    }
    void connect(UnitRecord& record, const ConnectRequest& request, MainWindowView& view) override;
    void onTimer(UnitList& list, MainWindowView& view) override;
    void shutDown() override;

private:
    class Opening;

    AppState& state_;
    PanelOpener openDigitalPanel_;
    ContainerOpener openContainer_;
    GatewayConnect* gateway_ = nullptr;
    GatewayPanelOpener openGatewayPanel_;
    GatewayContainerOpener openGatewayContainer_;
    std::function<void()> showConnecting_;
};

} // namespace vantel
