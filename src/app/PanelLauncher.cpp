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
        // Units behind the gateway are reached through the gateway link,
        // which is not built yet.
        if (TraitsOf(kind.container).viaGateway)
            return;
        ConnectedAnalogUnit unit = ConnectAnalogUnit(record, state_.adapterAddress.load(),
                                                     state_.commandLineTimeoutMs.load(), view.controls());
        if (unit.channel && openContainer_)
            openContainer_(record, request, std::move(unit));
        return;
    }
    case PanelClass::DigitalGateway:
    case PanelClass::None:
        return;
    }
}

} // namespace vantel
