#include "app/PanelLauncher.h"

#include "app/AnalogConnect.h"
#include "app/MainWindowView.h"
#include "registry/ModelCatalogue.h"

namespace vantel {

void PanelLauncher::connect(UnitRecord& record, const ConnectRequest& request, MainWindowView& view)
{
    const ModelRow& model = ModelAt(record.modelRow);
    if (model.isAnalog() && !model.isGateway()) {
        // The analog panel container takes the checked channel once it exists;
        // until then the check alone runs and the channel closes again.
        ConnectAnalogUnit(record, state_.adapterAddress.load(), state_.commandLineTimeoutMs.load(), view.controls());
        return;
    }
    if (!model.isAnalog() && !model.isGateway() && openDigitalPanel_)
        openDigitalPanel_(record, request);
}

} // namespace vantel
