#pragma once

#include "logging/CsvLogger.h"
#include "logging/LocalTime.h"
#include "logging/Reading.h"
#include "platform/Clock.h"
#include "platform/Ticker.h"
#include "registry/AppState.h"
#include "registry/UnitList.h"

#include <stop_token>
#include <string>

namespace vantel {

class SettingsDialogs;

// What the main window's connect hands to the panel it opens.
struct ConnectRequest {
    int listIndex = -1;
    bool loggingEnabled = false;
    std::string logFolder;
    int fileSwitchLines = CsvLogger::kSwitchingOff;
};

// What a panel is given when it opens for a unit.
struct PanelContext {
    PanelContext(UnitList& unitList, AppState& appState, UnitId unitId) : list(unitList), app(appState), unit(unitId) {}

    UnitList& list;
    AppState& app;
    UnitId unit;
    std::string logFolder;
    int fileSwitchLines = CsvLogger::kSwitchingOff;
    bool loggingEnabled = false;
    const LocalTimeSource* localTime = &SystemLocalTime::instance();
    const TextCodec* codec = &FileCodec();
    // Milliseconds for sweeps and reply watchdogs.
    const Clock* clock = &SteadyClock::instance();
    // Manual: no ticker thread; the test calls tick() itself.
    Ticker::Mode tickMode = Ticker::Mode::Thread;
    // Off where the list file belongs to someone else (a headless run next to
    // the program): closing must not write back a list read long ago.
    bool saveListOnClose = true;
    // The settings dialogs a panel opens; none in headless runs, where the
    // buttons that open them do nothing.
    SettingsDialogs* dialogs = nullptr;
    // Requested when whoever runs the panel stops waiting for its unit (a
    // headless run that is stopping and whose close grace has passed): the
    // unit is given up and every exchange with it fails at once, also one
    // under way during start-up.
    std::stop_token giveUp;
    // Where each logged reading goes besides the panel's CSV file (the MQTT
    // publisher of a headless run); must outlive the panel.
    ReadingSink* readings = nullptr;
};

// The context of a panel opened from the main window's connect.
PanelContext ContextFor(UnitList& list, AppState& app, const UnitRecord& unit, const ConnectRequest& request);

} // namespace vantel
