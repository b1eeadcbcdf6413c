#include "cli/LogCommand.h"

#include "cli/CommonArgs.h"
#include "logging/FileSwitching.h"
#include "panels/AnalogPanels.h"
#include "panels/AutoFunction.h"
#include "panels/CVantelDIGITAL.h"
#include "panels/HeadlessPanelView.h"
#include "panels/UnitCheck.h"
#include "platform/AppPaths.h"
#include "platform/StopSignals.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>

namespace vantel::ctl {
namespace {

// What the command line asks for, checked before any unit is touched.
// A wired analog unit answers within milliseconds: closing gives it this
// long to answer what was queued before it is given up.
constexpr std::chrono::milliseconds kAnalogCloseGrace{100};

struct LogOptions {
    std::string unitName;
    std::optional<std::string> period; // the panel's own start value when absent
    int fileSwitchLines = CsvLogger::kSwitchingOff;
    std::string folder;
    std::optional<std::chrono::seconds> duration; // until a signal when absent
};

std::optional<LogOptions> ReadOptions(CtlArgs& args, std::ostream& err)
{
    const std::set<std::string> known = {"--list",   "--codepage", "--unit",   "--period",
                                         "--switch", "--folder",   "--seconds"};
    LogOptions options;
    options.unitName = args.option("--unit", "");
    options.period = args.option("--period");
    const auto switchLines = args.number("--switch");
    const auto seconds = args.number("--seconds");
    if (!UsableArgs(args, known, err))
        return std::nullopt;
    if (!args.positional().empty()) {
        err << "unexpected argument " << args.positional().front() << "\n";
        return std::nullopt;
    }
    if (options.unitName.empty()) {
        err << "--unit NAME is required\n";
        return std::nullopt;
    }
    // The panel checks the period box again; checking first spares a
    // connection that would only be closed again.
    if (options.period && !ParsePeriod(*options.period, PeriodRule{})) {
        err << kInvalidPeriod << "\n--period needs 1 to 999999 (x100 ms)\n";
        return std::nullopt;
    }
    if (switchLines) {
        if (std::find(kLinesPerFile.begin(), kLinesPerFile.end(), *switchLines) == kLinesPerFile.end()) {
            err << "--switch needs 1000, 10000, 100000 or 1000000 lines per file\n";
            return std::nullopt;
        }
        options.fileSwitchLines = *switchLines;
    }
    if (seconds) {
        if (*seconds <= 0) {
            err << "--seconds needs a number above 0\n";
            return std::nullopt;
        }
        options.duration = std::chrono::seconds(*seconds);
    }
    options.folder = WithTrailingSlash(args.option("--folder", DefaultAppPaths().logFolder));
    return options;
}

// The unit's record, or nullptr after saying why it cannot be logged here.
UnitRecord* FindLoggableUnit(UnitList& list, const std::string& name, std::ostream& err)
{
    UnitRecord* found = nullptr;
    for (int i = 0; i < list.count() && !found; ++i)
        if (list.at(i).name == name)
            found = &list.at(i);
    if (!found) {
        err << "no unit named \"" << name << "\" in " << list.filePath() << "\n";
        return nullptr;
    }
    const ModelRow& model = ModelAt(found->modelRow);
    if (model.isGateway()) {
        err << "\"" << name << "\" is a " << model.displayName
            << ", reached through the gateway; vantelctl log runs the panels of units on the LAN only\n";
        return nullptr;
    }
    if (!model.isAnalog() && model.inputCount == 0) {
        err << "\"" << name << "\" (" << model.displayName
            << ") has no digital inputs; the panel logs only while it polls them\n";
        return nullptr;
    }
    return found;
}

// Switches the panel's input polling on and logs until the run ends.
int Poll(const LogOptions& options, PanelBase& panel, PollingControls polling, HeadlessPanelView& view,
         const StopSignals& signals, std::ostream& out)
{
    if (options.period)
        view.setText(polling.periodBox, *options.period);
    view.setChecked(polling.autoBox, true);
    panel.onAutoClicked(polling.autoBox);
    if (!view.isChecked(polling.autoBox)) {
        view.closeAndWait(panel);
        return kExitUsage;
    }
    out << "logging \"" << options.unitName << "\" into " << options.folder << " every " << view.text(polling.periodBox)
        << " x100 ms; Ctrl+C stops\n"
        << std::flush;

    const auto until = options.duration ? std::chrono::steady_clock::now() + *options.duration
                                        : std::chrono::steady_clock::time_point::max();
    // An analog panel stays open after a failed exchange; nobody is there to
    // read on, so the run ends at the panel's message.
    const auto failed = [&view] {
        const auto shown = view.messages();
        return std::find(shown.begin(), shown.end(), kCommunicationError) != shown.end();
    };
    const auto end = view.runUntil(
        panel, [&] { return !signals.raised() && std::chrono::steady_clock::now() < until && !failed(); });
    if (end == HeadlessPanelView::End::ClosedByPanel || failed())
        return kExitRefused; // a failed exchange; the panel's message is out
    out << "stopped\n";
    return kExitOk;
}

// An analog unit is connected and identified as the main window's connect
// does it, then runs the panel class of its container kind.
int LogAnalogUnit(const LogOptions& options, const UnitRecord& unit, ContainerKind kind, const PanelContext& context,
                  HeadlessPanelView& view, const StopSignals& signals, std::ostream& out, std::ostream& err)
{
    auto channel = std::make_unique<CAnalogChannel>(context.app.commandLineTimeoutMs.load());
    const UnitIdentity identity =
        ConnectAndIdentify(*channel, ModelAt(unit.modelRow), LocationOf(unit), context.app.adapterAddress.load());
    if (!identity.ok()) {
        err << identity.failure << "\n";
        return kExitRefused;
    }
    auto panel = MakeAnalogPanel(view, context, ContainerPage{kind, identity.unitId, nullptr, nullptr},
                                 std::make_unique<AnalogLink>(std::move(channel), kAnalogCloseGrace));
    panel->start();
    return Poll(options, *panel, PollingControlsOf(kind), view, signals, out);
}

} // namespace

int RunLog(const std::vector<std::string>& rawArgs, std::ostream& out, std::ostream& err)
{
    CtlArgs args(rawArgs, {});
    const auto options = ReadOptions(args, err);
    if (!options)
        return kExitUsage;
    if (!std::filesystem::is_directory(options->folder)) {
        // The panel would lose every line quietly; a run nobody watches must say so.
        err << "log folder not found: " << options->folder << "\n";
        return kExitRefused;
    }
    OpenedList opened(args);
    opened.list.Load();
    UnitRecord* unit = FindLoggableUnit(opened.list, options->unitName, err);
    if (!unit)
        return kExitRefused;

    AppState app;
    PanelContext context(opened.list, app, unit->id);
    context.logFolder = options->folder;
    context.fileSwitchLines = options->fileSwitchLines;
    context.loggingEnabled = true;
    // The program may have changed the list during a long run; nothing here is
    // worth writing back over that.
    context.saveListOnClose = false;
    context.codec = &opened.codec;
    // From here on a signal closes the panel properly, even during start-up.
    const StopSignals signals;
    HeadlessPanelView view(err, unit->windowLeft, unit->windowTop);
    const PanelKind kind = PanelKindOf(ModelAt(unit->modelRow));
    if (kind.panel == PanelClass::Container)
        return LogAnalogUnit(*options, *unit, kind.container, context, view, signals, out, err);
    auto panel = MakePanel<CVantelDIGITAL>(view, context);
    if (!panel->start())
        return kExitRefused; // the panel has said why
    return Poll(*options, *panel, {DigitalId::InputAuto, DigitalId::InputPeriod}, view, signals, out);
}

const CtlCommand kLogCommand{"log",
                             "log --unit NAME [--list FILE] [--period TICKS] [--switch LINES] [--folder DIR]\n"
                             "      [--seconds S] [--codepage CP]\n"
                             "      runs the unit's panel without a window with its inputs polled (DI auto of digital\n"
                             "      and analog-output units, AI auto of analog-input units), logging to CSV,\n"
                             "      until Ctrl+C, SIGTERM or S seconds",
                             RunLog};

} // namespace vantel::ctl
