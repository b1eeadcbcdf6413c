#include "cli/LogService.h"

#include "cli/RetryBackOff.h"
#include "cli/TerminalText.h"
#include "registry/AppState.h"
#include "registry/UnitList.h"

#include <cstdio>
#include <ostream>
#include <sstream>

namespace vantel::ctl {
namespace {

// An outage is over once a reopened panel has written this many lines (see
// the class comment).
constexpr long kLinesOfAGoodRun = 2;
// Longest sleep between two looks at the clock and the stop request while a
// unit waits out its back-off.
constexpr std::int64_t kWaitSliceMs = 100;

std::string DateTimeText(const LocalDateTime& t)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

// A panel's messages (each ended by "\n", some spanning lines) as one line.
std::string OneLine(const std::string& shown)
{
    std::string line;
    for (const char c : shown)
        line += c == '\n' ? ' ' : c;
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

} // namespace

// One unit: its panel on its own thread, opened again after failures while
// keepGoing is set. The unit gets a list of its own holding only its record,
// so no two threads ever share a record.
class LogService::UnitRun {
public:
    UnitRun(LogService& service, const UnitRecord& unit, OpenForLogging open)
        : service_(service), list_(std::string(), *service.settings_.codec), open_(std::move(open))
    {
        list_.Add(-1, unit);
        UnitRecord own = unit;
        own.id = list_.at(0).id;
        list_.at(0) = own;
        status_.name = unit.name;
        app_.commandLineTimeoutMs = service.settings_.unitTimeoutMs;
    }

    void start()
    {
        thread_ = std::thread([this] { run(); });
    }
    void wake() { wake_.notify_all(); }
    void join()
    {
        wake();
        if (thread_.joinable())
            thread_.join();
    }
    UnitLogStatus status() const
    {
        const std::lock_guard lock(mutex_);
        return status_;
    }
    const std::string& name() const { return status_.name; }
    bool post(PanelAction action)
    {
        const std::lock_guard lock(mutex_);
        if (!openView_ || !openPanel_)
            return false;
        openView_->postTask([panel = openPanel_, action = std::move(action)] { action(*panel); });
        return true;
    }

private:
    const LogServiceSettings& settings() const { return service_.settings_; }

    void run()
    {
        while (!service_.stopping_.load()) {
            std::ostringstream shown;
            const bool stopped = runPanel(shown);
            if (stopped || service_.stopping_.load())
                break;
            failed(shown.str());
            if (!settings().keepGoing) {
                const std::lock_guard lock(mutex_);
                status_.failed = true;
                break;
            }
            waitUntil(backOff_.failedAt(settings().clock->nowMs()));
        }
        service_.unitEnded();
    }

    // True when the service stopped the panel; false when it failed to start
    // or closed by itself, having shown why on `shown`.
    bool runPanel(std::ostringstream& shown)
    {
        const UnitRecord& unit = list_.at(0);
        HeadlessPanelControls view(shown, unit.windowLeft, unit.windowTop);
        if (settings().confirmShortPeriods)
            view.answer = [](std::string_view) { return true; };
        PanelContext context(list_, app_, unit.id);
        context.logFolder = settings().folder;
        context.fileSwitchLines = settings().fileSwitchLines;
        context.loggingEnabled = true;
        // The program may change the list while the units log; nothing here
        // is worth writing back over that.
        context.saveListOnClose = false;
        context.codec = settings().codec;
        context.localTime = settings().localTime;
        context.giveUp = service_.giveUp_.get_token();
        context.readings = settings().readings;
        LoggingPanel opened = open_(view, context, settings().period);
        if (!opened)
            return false;
        const CsvLogger& log = *opened.log;
        showOpen(&view, opened.panel.get());
        bool failedOpen = false;
        const auto end = view.runUntil(*opened.panel, [&] {
            noteLines(log.linesWritten());
            failedOpen = opened.failed && opened.failed();
            return !service_.stopping_.load() && !failedOpen;
        });
        noteLines(log.linesWritten());
        showOpen(nullptr, nullptr);
        {
            const std::lock_guard lock(mutex_);
            linesBefore_ += log.linesWritten();
        }
        opened.panel.reset();
        return end == HeadlessPanelControls::End::Stopped && !failedOpen;
    }

    // The panel that actions are posted to, while it runs.
    void showOpen(HeadlessPanelControls* view, PanelBase* panel)
    {
        const std::lock_guard lock(mutex_);
        openView_ = view;
        openPanel_ = panel;
    }

    void noteLines(long panelLines)
    {
        bool back = false;
        bool first = false;
        {
            const std::lock_guard lock(mutex_);
            const long total = linesBefore_ + panelLines;
            first = status_.lines == 0 && total > 0;
            if (total > status_.lines) {
                status_.lines = total;
                status_.lastLine = settings().localTime->now();
            }
            if (inOutage_ && panelLines >= kLinesOfAGoodRun) {
                inOutage_ = false;
                backOff_.succeeded();
                back = true;
            }
        }
        if (first || back)
            availability(true);
        if (back)
            service_.say(stamped("logging again") + "\n");
    }

    void failed(const std::string& shown)
    {
        bool firstOfOutage = false;
        {
            const std::lock_guard lock(mutex_);
            firstOfOutage = !inOutage_;
            if (firstOfOutage)
                ++status_.outages;
            inOutage_ = true;
        }
        if (firstOfOutage)
            availability(false);
        if (settings().plainMessages)
            service_.say(shown);
        else if (firstOfOutage)
            service_.say(stamped(OneLine(shown) + (settings().keepGoing ? "; trying again until it answers" : "")) +
                         "\n");
    }

    void availability(bool available) const
    {
        if (settings().availabilityChanged)
            settings().availabilityChanged(status_.name, available);
    }

    std::string stamped(const std::string& text) const
    {
        return DateTimeText(settings().localTime->now()) + " " + Printable(status_.name) + ": " + text;
    }

    void waitUntil(std::int64_t deadlineMs)
    {
        std::unique_lock lock(mutex_);
        status_.reopenAtMs = deadlineMs;
        for (;;) {
            const std::int64_t left = deadlineMs - settings().clock->nowMs();
            if (service_.stopping_.load() || left <= 0)
                break;
            wake_.wait_for(lock, std::chrono::milliseconds(std::min(left, kWaitSliceMs)));
        }
        status_.reopenAtMs.reset();
    }

    LogService& service_;
    UnitList list_;
    AppState app_;
    const OpenForLogging open_;
    RetryBackOff backOff_; // the unit's thread only
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    UnitLogStatus status_;
    long linesBefore_ = 0; // written by the unit's earlier panels
    bool inOutage_ = false;
    HeadlessPanelControls* openView_ = nullptr;
    PanelBase* openPanel_ = nullptr;
    std::thread thread_; // last: joined before the rest goes
};

LogService::LogService(LogServiceSettings settings, std::ostream& messages)
    : settings_(std::move(settings)), messages_(messages)
{
}

LogService::~LogService()
{
    stop();
}

void LogService::add(const UnitRecord& unit, OpenForLogging open)
{
    units_.push_back(std::make_unique<UnitRun>(*this, unit, std::move(open)));
}

void LogService::start()
{
    {
        const std::lock_guard lock(runningMutex_);
        running_ = static_cast<int>(units_.size());
    }
    for (const auto& unit : units_)
        unit->start();
}

void LogService::stop()
{
    stopping_ = true;
    for (const auto& unit : units_)
        unit->wake();
    waitWhileRunning(kStopGrace);
    giveUp_.request_stop();
    for (const auto& unit : units_)
        unit->join();
}

bool LogService::post(const std::string& unitName, PanelAction action)
{
    for (const auto& unit : units_)
        if (unit->name() == unitName)
            return unit->post(std::move(action));
    return false;
}

bool LogService::running() const
{
    const std::lock_guard lock(runningMutex_);
    return running_ > 0;
}

void LogService::waitWhileRunning(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(runningMutex_);
    changed_.wait_for(lock, timeout, [this] { return running_ == 0; });
}

void LogService::unitEnded()
{
    {
        const std::lock_guard lock(runningMutex_);
        --running_;
    }
    changed_.notify_all();
}

std::vector<UnitLogStatus> LogService::status() const
{
    std::vector<UnitLogStatus> all;
    for (const auto& unit : units_)
        all.push_back(unit->status());
    return all;
}

bool LogService::anyFailed() const
{
    for (const auto& unit : units_)
        if (unit->status().failed)
            return true;
    return false;
}

std::string LogService::Describe(const UnitLogStatus& status)
{
    std::string text = Printable(status.name) + ": " + std::to_string(status.lines) + " lines, " +
                       std::to_string(status.outages) + (status.outages == 1 ? " outage" : " outages") + ", ";
    text += status.lastLine ? "last line " + DateTimeText(*status.lastLine) : std::string("no line yet");
    if (status.failed)
        text += ", ended after a failure";
    else if (status.reopenAtMs)
        text += ", waiting to reopen";
    return text;
}

void LogService::printStatus()
{
    std::string lines;
    for (const UnitLogStatus& unit : status())
        lines += Describe(unit) + "\n";
    if (settings_.extraStatus)
        lines += settings_.extraStatus() + "\n";
    say(lines);
}

void LogService::say(const std::string& text)
{
    const std::lock_guard lock(messagesMutex_);
    messages_ << text << std::flush;
}

} // namespace vantel::ctl
