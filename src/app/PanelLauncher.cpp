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
            // Their panels open from the checked "md" reply; until they
            // exist the check runs alone.
            if (gateway_ &&
                gateway_->openLink(record, state_.connectTimeoutMs(), state_.adapterAddress.load(), view.controls()))
                gateway_->checkModel(record, view.controls(), showConnecting_, {});
            return;
        }
        ConnectedAnalogUnit unit = ConnectAnalogUnit(record, state_.adapterAddress.load(),
                                                     state_.commandLineTimeoutMs.load(), view.controls());
        if (unit.channel && openContainer_)
            openContainer_(record, request, std::move(unit));
        return;
    }
    case PanelClass::DigitalGateway:
        if (gateway_ &&
            gateway_->openLink(record, state_.connectTimeoutMs(), state_.adapterAddress.load(), view.controls())) {
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
