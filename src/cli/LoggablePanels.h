#pragma once

#include "logging/CsvLogger.h"
#include "panels/framework/HeadlessPanelControls.h"
#include "panels/framework/PanelBase.h"
#include "registry/UnitRecord.h"

#include <functional>
#include <optional>
#include <string>

namespace vantel::ctl {

// A panel started without a window with its logging poll switched on, and
// the logger it writes through.
struct LoggingPanel {
    PanelPtr<PanelBase> panel;
    const CsvLogger* log = nullptr;
    // For panels that stay open after a failed exchange: true once it failed.
    std::function<bool()> failed;
    explicit operator bool() const { return panel != nullptr; }
};

// Opens a unit's panel on `view`, runs its start-up and switches on the
// automatic reading that writes the log, at `period` (the panel's own start
// value when absent; already checked). Empty when start-up failed: the panel
// has told its view why and let the window go.
using OpenForLogging = std::function<LoggingPanel(HeadlessPanelControls& view, PanelContext context,
                                                  const std::optional<std::string>& period)>;

// Whether a unit can be logged without a window, and how. Each panel class
// that can run headless brings its own entry.
struct LoggingSupport {
    OpenForLogging open; // empty when the unit cannot be logged
    std::string whyNot;  // then: the reason, for the user
};

LoggingSupport LoggingFor(const UnitRecord& unit);

} // namespace vantel::ctl
