#include "app/PanelLauncher.h"

#include "app/MainWindowView.h"

namespace vantel {

// The main window's steps of opening a unit: the program's windows, the
// gateway link of the main window and its "MD" check with CConnecting.
class PanelLauncher::Opening final : public UnitOpening {
public:
    Opening(PanelLauncher& launcher, UnitRecord& record, const ConnectRequest& request, MainWindowView& view)
        : launcher_(launcher), record_(record), request_(request), view_(view)
    {
    }

    void openConnectingPanel(const PanelKindRow&) override
    {
        if (launcher_.openDigitalPanel_)
            launcher_.openDigitalPanel_(record_, request_);
    }

    void openOnChannel(const PanelKindRow&, ConnectedAnalogUnit unit) override
    {
        if (launcher_.openContainer_)
            launcher_.openContainer_(record_, request_, std::move(unit));
    }

    CGatewayLink* gatewayLink() override
    {
        GatewayConnect* gateway = launcher_.gateway_;
        if (gateway == nullptr || !gateway->openLink(record_, launcher_.state_.adapterAddress.load(), view_.controls()))
            return nullptr;
        return &gateway->link();
    }

    void openOnGateway(const PanelKindRow&, CGatewayLink& link) override
    {
        if (launcher_.openGatewayPanel_)
            launcher_.openGatewayPanel_(record_, request_, link);
        launcher_.gateway_->handedOver();
    }

    // The panel opens from the checked "md" reply, with the unit ID it
    // reports, and takes the connect over.
    void checkThenOpenOnGateway(const PanelKindRow&, CGatewayLink& link) override
    {
        launcher_.gateway_->checkModel(
            record_, view_.controls(), launcher_.showConnecting_,
            [&launcher = launcher_, &link, request = request_](UnitRecord& checked, int unitId) {
                if (launcher.openGatewayContainer_)
                    launcher.openGatewayContainer_(checked, request, link, unitId);
                launcher.gateway_->clearConnecting();
            });
    }

private:
    PanelLauncher& launcher_;
    UnitRecord& record_;
    const ConnectRequest& request_;
    MainWindowView& view_;
};

void PanelLauncher::connect(UnitRecord& record, const ConnectRequest& request, MainWindowView& view)
{
    Opening opening(*this, record, request, view);
    OpenUnit(record, state_, view.controls(), opening);
}

void PanelLauncher::onTimer(UnitList& list, MainWindowView& view)
{
    if (gateway_)
        gateway_->onTimer(list, view.controls());
}

void PanelLauncher::shutDown()
{
    if (gateway_)
        gateway_->shutDown();
}

} // namespace vantel
