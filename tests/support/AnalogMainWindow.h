#pragma once

#include "app/MainWindow.h"
#include "app/PanelLauncher.h"
#include "panels/framework/ContainerWindow.h"
#include "platform/Adapters.h"

#include <string>
#include <utility>

namespace vantel::test {

// The main window as the program makes it, on the loopback adapter, opening
// the analog units it connects in their tab containers, for runs that drive
// many analog panels through it.
class AnalogMainWindow {
public:
    AnalogMainWindow(UnitList& list, AppState& state, const std::string& logFolder)
        : window_(list, state, logFolder),
          launcher_(state, {},
                    [&list, &state](UnitRecord& record, const ConnectRequest& request, ConnectedAnalogUnit unit) {
                        OpenAnalogContainer(list, state, record, request, std::move(unit.channel), unit.unitId);
                    })
    {
        window_.logic().setConnector(&launcher_);
    }

    // Shown, with logging switched on; false when the window cannot start.
    bool start()
    {
        if (!window_.start({LoopbackAdapter()}))
            return false;
        window_.show();
        window_.controls().setChecked(MainId::LoggingEnabled, true);
        return true;
    }

    MainWindow& window() { return window_; }

private:
    MainWindow window_;
    PanelLauncher launcher_;
};

} // namespace vantel::test
