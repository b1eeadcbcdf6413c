#pragma once

#include "panels/framework/PanelContext.h"
#include "registry/UnitRecord.h"

namespace vantel {

class MainWindowView;

// Opens the control panel that fits a unit's model. The main window decides
// when to connect; the connector decides how.
class UnitConnector {
public:
    virtual ~UnitConnector() = default;
    virtual void connect(UnitRecord& record, const ConnectRequest& request, MainWindowView& view) = 0;
    // The main window's 100 ms timer, and its close.
    virtual void onTimer(UnitList& /*list*/, MainWindowView& /*view*/) {}
    virtual void shutDown() {}
};

} // namespace vantel
