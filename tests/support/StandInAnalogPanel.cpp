#include "support/StandInAnalogPanel.h"

#include "registry/ModelCatalogue.h"

namespace vantel {

StandInAnalogPanel::StandInAnalogPanel(PanelView& view, PanelContext context, ContainerPage page,
                                       std::unique_ptr<PanelLink> link)
    : ContainerPanel(view, std::move(context), std::move(page), std::move(link))
{
}

StandInAnalogPanel::~StandInAnalogPanel()
{
    // Deleted without PanelDeleter: the threads still have to stop while
    // the link exists.
    shutDown();
}

void StandInAnalogPanel::start()
{
    markUnitOpen();
    showTitle(false);
    showStatus(statusText());
    restoreWindowPosition();
    startTicking();
}

std::string StandInAnalogPanel::statusText()
{
    const UnitRecord* unit = record();
    if (unit == nullptr)
        return {};
    return "接続デバイス : " + std::string(ModelAt(unit->modelRow).displayName) + " ( " + unit->host + " : " +
           std::to_string(unit->controlPort) + " ) : ID " + std::to_string(unitIdReported());
}

} // namespace vantel
