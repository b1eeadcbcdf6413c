#pragma once

#include "cli/LoggablePanels.h"
#include "logging/LocalTime.h"
#include "platform/Clock.h"
#include "platform/TextCodec.h"
#include "registry/UnitRecord.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace vantel::ctl {

struct LogServiceSettings {
    std::optional<std::string> period; // the panel's own start value when absent
    // Answers OK where the panel asks before it takes a short period
    // (gateway units under 10 s); otherwise the run refuses it.
    bool confirmShortPeriods = false;
    int fileSwitchLines = CsvLogger::kSwitchingOff;
    std::string folder;
    const TextCodec* codec = &FileCodec();
    // A unit whose connection or exchange fails is opened again after a
    // back-off instead of ending.
    bool keepGoing = false;
    // The panel's messages exactly as it shows them, instead of one line
    // each with the time and the unit's name (a single unit, as before).
    bool plainMessages = false;
    // Drives the back-off; tests hand in a manual clock.
    const Clock* clock = &SteadyClock::instance();
    // The time of the status lines, of the log lines and in the names of the
    // log files.
    const LocalTimeSource* localTime = &SystemLocalTime::instance();
    // Every unit's time-out in ms, as the program's -T sets it; 0 keeps the
    // models' own.
    int unitTimeoutMs = 0;
    // Where each reading goes besides the unit's CSV file (the MQTT
    // publisher); must outlive the service.
    ReadingSink* readings = nullptr;
    // Told (on the service's desk thread) when a unit first logs, when an
    // outage begins and when it ends.
    std::function<void(const std::string& unitName, bool available)> availabilityChanged;
    // One more line for the status (the MQTT queue's), if any.
    std::function<std::string()> extraStatus;
};

// What one unit has done so far.
struct UnitLogStatus {
    std::string name;
    long lines = 0;  // data lines written, over every reopening
    int outages = 0; // failures that were not followed by a good run in between
    std::optional<LocalDateTime> lastLine;
    std::optional<std::int64_t> reopenAtMs; // Clock time of the next try while it waits
    bool failed = false;                    // it ended by itself (without keepGoing)
};

// Logs several units at once, each with its own panel run headless. A panel
// waits for its unit only on threads of its own (the opening, its worker), so
// a unit that hangs in a connect or a slow exchange holds up no other unit's
// lines; one desk thread plays the GUI thread of every running panel. Each
// unit writes its own file exactly as a one-unit run does.
//
// A unit that fails ends (without keepGoing) or is opened again after a
// RetryBackOff wait. Its message goes out once per outage. An outage is
// over, and the back-off starts again from 1 s, once the reopened panel has
// written two lines: the first carries what its start-up read found, the
// second what its first poll brought back. With file switching on, a
// reopened panel starts a new time-stamped series, as reconnecting in the
// program does: the names then show where each unbroken stretch began.
class LogService {
public:
    LogService(LogServiceSettings settings, std::ostream& messages);
    // Stops every unit still running.
    ~LogService();
    LogService(const LogService&) = delete;
    LogService& operator=(const LogService&) = delete;

    // Before start(): one more unit, with its record as it is now.
    void add(const UnitRecord& unit, OpenForLogging open);
    void start();
    // Every unit closes as by "切断". A unit that has not closed within
    // kStopGrace (one still waiting for its unit while opening, say) is given
    // up: its exchanges fail at once. Returns once all have ended.
    void stop();

    static constexpr std::chrono::milliseconds kStopGrace{1000};

    // True while any unit still logs or waits to be opened again.
    bool running() const;
    // Waits until no unit runs any more or `timeout` has passed.
    void waitWhileRunning(std::chrono::milliseconds timeout) const;
    std::vector<UnitLogStatus> status() const;
    bool anyFailed() const;
    // Describe() of every unit on the message stream, between the units' own messages.
    void printStatus();

    // The status as one line per unit: name, lines, outages, time of the last line.
    static std::string Describe(const UnitLogStatus& status);

    // Runs `action` on the desk thread with the unit's panel and window, as
    // a user's click runs. False when no unit has that name or its panel is
    // not open (waiting out an outage, ended).
    using PanelAction = std::function<void(PanelBase& panel)>;
    bool post(const std::string& unitName, PanelAction action);

    // A message of the run's own, between the units' messages.
    void say(const std::string& text);

private:
    class UnitRun;

    void unitEnded();
    // The desk thread: serves every unit after each post of a panel and at
    // least every kDeskRound (lines, back-off deadlines, the stop).
    void runDesk();
    void wakeDesk();

    // Paces the "logging again" notice, the status lines' counts and the
    // back-off deadlines; a post or a stop wakes the desk at once.
    static constexpr std::chrono::milliseconds kDeskRound{100};

    LogServiceSettings settings_;
    std::ostream& messages_;
    std::mutex messagesMutex_;
    std::vector<std::unique_ptr<UnitRun>> units_;
    std::atomic<bool> stopping_{false};
    std::stop_source giveUp_;
    mutable std::mutex runningMutex_;
    mutable std::condition_variable changed_;
    int running_ = 0;
    std::mutex deskMutex_;
    std::condition_variable deskWake_;
    bool deskWoken_ = false;
    std::thread desk_; // last: joined before the units go
};

} // namespace vantel::ctl
