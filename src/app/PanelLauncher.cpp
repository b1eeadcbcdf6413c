#include "app/PanelLauncher.h"

#include "app/MainWindowView.h"
#include "registry/ModelCatalogue.h"
#include "registry/PanelKind.h"

namespace vantel {

void PanelLauncher::connect(UnitRecord& record, const ConnectRequest& request, MainWindowView& view)
{
    const PanelKind kind = PanelKindOf(ModelAt(record.modelRow));
    switch (kind.panel) {
    case PanelClass::Digital:
        if (openDigitalPanel_)
            openDigitalPanel_(record, request);
        return;
    case PanelClass::Container: {
        if (TraitsOf(kind.container).viaGateway) {
            // The panel opens from the checked "md" reply, with the unit ID
            // it reports, and takes the connect over.
            if (gateway_ && gateway_->openLink(record, state_.adapterAddress.load(), view.controls()))
                gateway_->checkModel(record, view.controls(), showConnecting_,
                                     [this, request](UnitRecord& checked, int unitId) {
                                         if (openGatewayContainer_)
                                             openGatewayContainer_(checked, request, gateway_->link(), unitId);
                                         gateway_->clearConnecting();
                                     });
            return;
        }
        ConnectedAnalogUnit unit = ConnectAnalogUnit(record, state_.adapterAddress.load(),
                                                     state_.commandLineTimeoutMs.load(), view.controls());
        if (unit.channel && openContainer_)
            openContainer_(record, request, std::move(unit));
        return;
    }
    case PanelClass::DigitalGateway:
        if (gateway_ && gateway_->openLink(record, state_.adapterAddress.load(), view.controls())) {
            if (openGatewayPanel_)
                openGatewayPanel_(record, request, gateway_->link());
            gateway_->handedOver();
        }
        return;
    case PanelClass::None:
        return;
    }
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
