#include "cli/LogCommand.h"

#include "cli/CommonArgs.h"
#include "cli/LogService.h"
#include "cli/LoggablePanels.h"
#include "cli/MqttSession.h"
#include "cli/TerminalText.h"
#include "logging/FileSwitching.h"
#include "panels/framework/AutoFunction.h"
#include "panels/framework/PanelTexts.h"
#include "platform/AppPaths.h"
#include "platform/StopSignals.h"
#include "registry/ModelCatalogue.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>

namespace vantel::ctl {
namespace {

using Steady = std::chrono::steady_clock;

// The program's -T takes 1-19999 ms.
constexpr int kMaxUnitTimeoutMs = 19999;

// What the command line asks for, checked before any unit is touched.
struct LogOptions {
    std::vector<std::string> unitNames;
    bool all = false;
    bool keepGoing = false;
    bool confirm = false;              // --yes: periods the panel asks about are taken
    std::optional<std::string> period; // the panel's own start value when absent
    int fileSwitchLines = CsvLogger::kSwitchingOff;
    std::string folder;
    std::optional<std::chrono::seconds> duration;    // until a signal when absent
    std::optional<std::chrono::seconds> statusEvery; // no status lines when absent
    int unitTimeoutMs = 0;                           // the models' own when 0
    std::optional<MqttOptions> mqtt;                 // no publishing when absent
};

std::optional<std::chrono::seconds> PositiveSeconds(const std::optional<int>& value, const char* option,
                                                    std::ostream& err, bool& bad)
{
    if (!value)
        return std::nullopt;
    if (*value <= 0) {
        err << option << " needs a number above 0\n";
        bad = true;
        return std::nullopt;
    }
    return std::chrono::seconds(*value);
}

std::optional<LogOptions> ReadOptions(CtlArgs& args, std::ostream& err)
{
    std::set<std::string> known = {"--list",   "--codepage", "--unit",       "--all",    "--period", "--switch",
                                   "--folder", "--seconds",  "--keep-going", "--status", "--yes",    "--timeout"};
    LogOptions options;
    options.unitNames = args.options("--unit");
    options.all = args.flag("--all");
    options.keepGoing = args.flag("--keep-going");
    options.confirm = args.flag("--yes");
    options.period = args.option("--period");
    const auto switchLines = args.number("--switch");
    const auto seconds = args.number("--seconds");
    const auto statusEvery = args.number("--status");
    const auto timeout = args.number("--timeout");
    known.insert(kMqttOptions.begin(), kMqttOptions.end());
    known.insert(kMqttCommandsFlag);
    if (!UsableArgs(args, known, err))
        return std::nullopt;
    if (!args.positional().empty()) {
        err << "unexpected argument " << args.positional().front() << "\n";
        return std::nullopt;
    }
    if (options.unitNames.empty() == !options.all) {
        err << "--unit NAME (one or more) or --all is required, not both\n";
        return std::nullopt;
    }
    for (auto it = options.unitNames.begin(); it != options.unitNames.end(); ++it)
        if (std::find(options.unitNames.begin(), it, *it) != it) {
            err << "--unit " << *it << " is given twice\n";
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
    if (timeout) {
        if (*timeout < 1 || *timeout > kMaxUnitTimeoutMs) {
            err << "--timeout needs 1-" << kMaxUnitTimeoutMs << " ms\n";
            return std::nullopt;
        }
        options.unitTimeoutMs = *timeout;
    }
    bool bad = false;
    options.mqtt = ReadMqttOptions(args, err, bad);
    options.duration = PositiveSeconds(seconds, "--seconds", err, bad);
    options.statusEvery = PositiveSeconds(statusEvery, "--status", err, bad);
    if (bad)
        return std::nullopt;
    // Beside the list, as the program keeps it: a named list's folder, else the program's.
    options.folder = WithTrailingSlash(args.option("--folder", AppPathsForList(args.option("--list", "")).logFolder));
    return options;
}

const UnitRecord* FindUnit(const UnitList& list, const std::string& name)
{
    for (int i = 0; i < list.count(); ++i)
        if (list.at(i).name == name)
            return &list.at(i);
    return nullptr;
}

// What the period counts in for the units of the run: 100 ms ticks, or
// seconds for units behind a gateway.
std::string PeriodUnitOf(const UnitList& list, const LogOptions& options)
{
    bool ticks = false;
    bool seconds = false;
    for (int i = 0; i < list.count(); ++i) {
        const UnitRecord& unit = list.at(i);
        const bool named =
            std::find(options.unitNames.begin(), options.unitNames.end(), unit.name) != options.unitNames.end();
        if ((!options.all && !named) || !LoggingFor(unit).open)
            continue;
        (ModelAt(unit.modelRow).isGateway() ? seconds : ticks) = true;
    }
    if (seconds && !ticks)
        return " x1 s";
    return seconds ? " x100 ms (x1 s behind a gateway)" : " x100 ms";
}

// Hands the service the units asked for. --all takes every unit that can be
// logged and names the others; a unit named with --unit that cannot be
// logged refuses the whole run.
bool AddUnits(LogService& service, const UnitList& list, const LogOptions& options, std::ostream& err)
{
    if (options.all) {
        int added = 0;
        for (int i = 0; i < list.count(); ++i) {
            LoggingSupport support = LoggingFor(list.at(i));
            if (!support.open) {
                err << "not logged: " << support.whyNot << "\n";
                continue;
            }
            service.add(list.at(i), std::move(support.open));
            ++added;
        }
        if (added == 0)
            err << "no unit in " << list.filePath() << " can be logged\n";
        return added > 0;
    }
    for (const std::string& name : options.unitNames) {
        const UnitRecord* unit = FindUnit(list, name);
        if (!unit) {
            err << "no unit named \"" << Printable(name) << "\" in " << Printable(list.filePath()) << "\n";
            return false;
        }
        LoggingSupport support = LoggingFor(*unit);
        if (!support.open) {
            err << support.whyNot << "\n";
            return false;
        }
        service.add(*unit, std::move(support.open));
    }
    return true;
}

} // namespace

int RunLog(const std::vector<std::string>& rawArgs, std::ostream&, std::ostream& err)
{
    CtlArgs args(rawArgs, {"--all", "--keep-going", "--yes", kMqttCommandsFlag});
    const auto options = ReadOptions(args, err);
    if (!options)
        return kExitUsage;
    if (!std::filesystem::is_directory(options->folder)) {
        // The panels would lose every line quietly; a run nobody watches must say so.
        err << "log folder not found: " << options->folder << "\n";
        return kExitRefused;
    }
    OpenedList opened(args);
    if (!opened.loadExisting(err))
        return kExitRefused;

    LogServiceSettings settings;
    settings.period = options->period;
    settings.confirmShortPeriods = options->confirm;
    settings.fileSwitchLines = options->fileSwitchLines;
    settings.folder = options->folder;
    settings.codec = &opened.codec;
    settings.keepGoing = options->keepGoing;
    settings.unitTimeoutMs = options->unitTimeoutMs;
    // A single unit without --keep-going reports as it always has.
    const bool single = options->unitNames.size() == 1 && !options->keepGoing;
    settings.plainMessages = single;
    std::optional<MqttSession> mqtt;
    if (options->mqtt) {
        mqtt.emplace(*options->mqtt);
        ReadingPublisher& publisher = mqtt->publisher();
        settings.readings = &publisher;
        settings.availabilityChanged = [&publisher](const std::string& unit, bool available) {
            publisher.availability(unit, available);
        };
        settings.extraStatus = [&mqtt] { return mqtt->statusLine(); };
    }
    LogService service(settings, err);
    if (!AddUnits(service, opened.list, *options, err))
        return kExitRefused;
    if (mqtt) {
        mqtt->takeCommands(service);
        if (!mqtt->connect(err))
            return kExitRefused;
    }

    err << "logging into " << options->folder << " every " << options->period.value_or(kPeriodBoxStart)
        << PeriodUnitOf(opened.list, *options) << "; Ctrl+C stops\n"
        << std::flush;
    // From here on a signal closes the panels properly, even during start-up;
    // until stop() only the service writes to `err`.
    const StopSignals signals;
    service.start();

    const auto started = Steady::now();
    const auto until = options->duration ? started + *options->duration : Steady::time_point::max();
    auto nextStatus = options->statusEvery ? started + *options->statusEvery : Steady::time_point::max();
    constexpr std::chrono::milliseconds kLookEvery{100};
    bool stoppedHere = false;
    while (service.running()) {
        if (signals.raised() || Steady::now() >= until) {
            stoppedHere = true;
            break;
        }
        service.waitWhileRunning(kLookEvery);
        if (mqtt)
            if (const std::string drops = mqtt->newDrops(); !drops.empty())
                service.say(drops);
        if (Steady::now() >= nextStatus) {
            service.printStatus();
            nextStatus += *options->statusEvery;
        }
    }
    service.stop();
    if (mqtt) {
        std::vector<std::string> units;
        for (const UnitLogStatus& unit : service.status())
            units.push_back(unit.name);
        err << mqtt->finish(units);
    }
    if (single && !options->statusEvery) {
        if (stoppedHere)
            err << "stopped\n";
    } else {
        service.printStatus();
    }
    return service.anyFailed() ? kExitRefused : kExitOk;
}

const CtlCommand kLogCommand{
    "log",
    "log --unit NAME [--unit NAME ...] | --all [--keep-going] [--status S] [--list FILE]\n"
    "      [--period TICKS] [--yes] [--switch LINES] [--folder DIR] [--seconds S] [--timeout MS]\n"
    "      [--codepage CP] [--mqtt URL [--mqtt-topic PREFIX] [--mqtt-queue N] [--mqtt-user USER]\n"
    "      [--mqtt-password-file FILE] [--mqtt-ca FILE] [--mqtt-cert FILE [--mqtt-key FILE]] [--mqtt-commands]]\n"
    "      runs each unit's panel without a window with its inputs polled (DI auto of digital and\n"
    "      analog-output units, AI auto of analog-input units), logging to its CSV file,\n"
    "      until Ctrl+C, SIGTERM or S seconds; --keep-going opens a failed unit again (1 s to 60 s later);\n"
    "      units behind a gateway share one link and take --period in seconds (1-9999, under 10 with --yes);\n"
    "      --timeout replaces every unit's reply time-out, as the program's -T does;\n"
    "      --mqtt mqtt://host[:1883] or mqtts://host[:8883] also publishes every reading (PREFIX/UNIT/reading,\n"
    "      retained on PREFIX/UNIT/state; PREFIX is vantel/<host name> by default); the password comes from\n"
    "      VANTEL_MQTT_PASSWORD or --mqtt-password-file; --mqtt-commands takes PREFIX/UNIT/set/DOn and /AOn",
    RunLog};

} // namespace vantel::ctl
