#include "panels/framework/PanelContext.h"

namespace vantel {

PanelContext ContextFor(UnitList& list, AppState& app, const UnitRecord& unit, const ConnectRequest& request)
{
    PanelContext context(list, app, unit.id);
    context.logFolder = request.logFolder;
    context.fileSwitchLines = request.fileSwitchLines;
    context.loggingEnabled = request.loggingEnabled;
    return context;
}

} // namespace vantel
