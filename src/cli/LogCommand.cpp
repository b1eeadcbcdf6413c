#include "cli/LogCommand.h"

#include "cli/CommonArgs.h"
#include "logging/FileSwitching.h"
#include "panels/AutoFunction.h"
#include "panels/CVantelDIGITAL.h"
#include "panels/HeadlessPanelView.h"
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
UnitRecord* FindDigitalUnit(UnitList& list, const std::string& name, std::ostream& err)
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
    if (model.isAnalog() || model.isGateway()) {
        err << "\"" << name << "\" is a " << model.displayName
            << ", not a digital unit on the LAN; vantelctl log runs the digital panel only\n";
        return nullptr;
    }
    if (model.inputCount == 0) {
        err << "\"" << name << "\" (" << model.displayName
            << ") has no digital inputs; the panel logs only while it polls them\n";
        return nullptr;
    }
    return found;
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
    UnitRecord* unit = FindDigitalUnit(opened.list, options->unitName, err);
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
    auto panel = MakePanel<CVantelDIGITAL>(view, context);
    if (!panel->start())
        return kExitRefused; // the panel has said why

    if (options->period)
        view.setText(DigitalId::InputPeriod, *options->period);
    view.setChecked(DigitalId::InputAuto, true);
    panel->onAutoClicked(DigitalId::InputAuto);
    if (!view.isChecked(DigitalId::InputAuto)) {
        view.closeAndWait(*panel);
        return kExitUsage;
    }
    out << "logging \"" << options->unitName << "\" into " << options->folder << " every "
        << view.text(DigitalId::InputPeriod) << " x100 ms; Ctrl+C stops\n"
        << std::flush;

    const auto until = options->duration ? std::chrono::steady_clock::now() + *options->duration
                                         : std::chrono::steady_clock::time_point::max();
    const auto end =
        view.runUntil(*panel, [&] { return !signals.raised() && std::chrono::steady_clock::now() < until; });
    if (end == HeadlessPanelView::End::ClosedByPanel)
        return kExitRefused; // a failed exchange; the panel's message is out
    out << "stopped\n";
    return kExitOk;
}

const CtlCommand kLogCommand{"log",
                             "log --unit NAME [--list FILE] [--period TICKS] [--switch LINES] [--folder DIR]\n"
                             "      [--seconds S] [--codepage CP]\n"
                             "      runs the unit's digital panel without a window, DI auto on, logging to CSV,\n"
                             "      until Ctrl+C, SIGTERM or S seconds",
                             RunLog};

} // namespace vantel::ctl
