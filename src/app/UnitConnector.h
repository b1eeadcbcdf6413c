#pragma once

#include "registry/UnitRecord.h"

#include <string>

namespace vantel {

class MainWindowView;

// What a panel needs to know when it opens for a unit.
struct ConnectRequest {
    int listIndex = -1;
    bool loggingEnabled = false;
    std::string logFolder;
    int fileSwitchLines = -1; // -1: no file switching
};

// Opens the control panel that fits a unit's model. The main window decides
// when to connect; the connector decides how.
class UnitConnector {
public:
    virtual ~UnitConnector() = default;
    virtual void connect(UnitRecord& record, const ConnectRequest& request, MainWindowView& view) = 0;
};

} // namespace vantel
