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

// One unit: its panel, opened again after failures while keepGoing is set.
// The unit gets a list of its own holding only its record, so no two units
// ever share a record.
//
// Opening waits for the unit (connect, start-up reads), so it runs on a
// thread of its own that ends once the panel runs; from then on the
// service's desk thread plays the panel's GUI thread: it runs what the panel
// posts, watches its lines and closes it. Every stage after the opening is a
// step of serve(), which never waits for the unit.
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
    ~UnitRun()
    {
        if (opener_.joinable())
            opener_.join();
    }

    // Before the desk runs: the first opening.
    void start() { beginOpening(); }

    // Desk thread: moves the unit on as far as it can go without waiting.
    // True once it has ended for good.
    bool serve()
    {
        if (stage_ == Stage::Opening && openDone_.load())
            takeOpened();
        if (stage_ == Stage::Running)
            watchRunning();
        if (stage_ == Stage::Closing && !view_->pump(*opened_.panel))
            panelEnded(true);
        if (stage_ == Stage::Waiting)
            waitToReopen();
        return stage_ == Stage::Ended;
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
    // Opening: on the opener thread. Running: polling, the desk pumps.
    // Closing: told to close, the desk pumps until the window has gone.
    // Waiting: out of a back-off before the next opening.
    enum class Stage { Opening, Running, Closing, Waiting, Ended };

    const LogServiceSettings& settings() const { return service_.settings_; }

    void beginOpening()
    {
        {
            const std::lock_guard lock(mutex_);
            status_.reopenAtMs.reset();
        }
        if (opener_.joinable())
            opener_.join();
        const UnitRecord& unit = list_.at(0);
        shown_ = std::make_unique<std::ostringstream>();
        view_ = std::make_unique<HeadlessPanelControls>(*shown_, unit.windowLeft, unit.windowTop);
        if (settings().confirmShortPeriods)
            view_->answer = [](std::string_view) { return true; };
        view_->setPostListener([this] { service_.wakeDesk(); });
        stage_ = Stage::Opening;
        failedOpen_ = false;
        openDone_ = false;
        opener_ = std::thread([this] {
            opened_ = open_(*view_, panelContext(), settings().period);
            openDone_ = true;
            service_.wakeDesk();
        });
    }

    PanelContext panelContext()
    {
        PanelContext context(list_, app_, list_.at(0).id);
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
        return context;
    }

    // The opener has ended: its panel runs, or it failed to start and has
    // shown why.
    void takeOpened()
    {
        opener_.join();
        if (!opened_) {
            afterPanel(false);
            return;
        }
        showOpen(view_.get(), opened_.panel.get());
        stage_ = Stage::Running;
    }

    void watchRunning()
    {
        if (!view_->pump(*opened_.panel)) {
            panelEnded(false);
            return;
        }
        noteLines(opened_.log->linesWritten());
        failedOpen_ = opened_.failed && opened_.failed();
        if (!service_.stopping_.load() && !failedOpen_)
            return;
        opened_.panel->onCloseCommand();
        stage_ = Stage::Closing;
    }

    // The window has gone: closed by the service (`closedHere`) or by the
    // panel itself after a failure.
    void panelEnded(bool closedHere)
    {
        const long panelLines = opened_.log->linesWritten();
        noteLines(panelLines);
        showOpen(nullptr, nullptr);
        {
            const std::lock_guard lock(mutex_);
            linesBefore_ += panelLines;
        }
        opened_.panel.reset();
        afterPanel(closedHere && !failedOpen_);
    }

    // `stopped`: the service ended the panel; otherwise it failed, having
    // shown why.
    void afterPanel(bool stopped)
    {
        if (stopped || service_.stopping_.load()) {
            end();
            return;
        }
        failed(shown_->str());
        if (!settings().keepGoing) {
            {
                const std::lock_guard lock(mutex_);
                status_.failed = true;
            }
            end();
            return;
        }
        const std::int64_t reopenAt = backOff_.failedAt(settings().clock->nowMs());
        const std::lock_guard lock(mutex_);
        status_.reopenAtMs = reopenAt;
        stage_ = Stage::Waiting;
    }

    void waitToReopen()
    {
        if (service_.stopping_.load()) {
            {
                const std::lock_guard lock(mutex_);
                status_.reopenAtMs.reset();
            }
            end();
            return;
        }
        std::int64_t reopenAt = 0;
        {
            const std::lock_guard lock(mutex_);
            reopenAt = status_.reopenAtMs.value_or(0);
        }
        if (settings().clock->nowMs() >= reopenAt)
            beginOpening();
    }

    void end()
    {
        stage_ = Stage::Ended;
        service_.unitEnded();
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

    LogService& service_;
    UnitList list_;
    AppState app_;
    const OpenForLogging open_;
    // The desk's (and the opener's while it runs, handed over by the join).
    Stage stage_ = Stage::Opening;
    RetryBackOff backOff_;
    std::unique_ptr<std::ostringstream> shown_; // what the current panel showed
    std::unique_ptr<HeadlessPanelControls> view_;
    LoggingPanel opened_;
    bool failedOpen_ = false;
    std::atomic<bool> openDone_{false};
    mutable std::mutex mutex_;
    UnitLogStatus status_;
    long linesBefore_ = 0; // written by the unit's earlier panels
    bool inOutage_ = false;
    HeadlessPanelControls* openView_ = nullptr;
    PanelBase* openPanel_ = nullptr;
    std::thread opener_; // last: joined before the rest goes
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
    desk_ = std::thread([this] { runDesk(); });
}

void LogService::stop()
{
    stopping_ = true;
    wakeDesk();
    waitWhileRunning(kStopGrace);
    giveUp_.request_stop();
    if (desk_.joinable())
        desk_.join();
}

void LogService::runDesk()
{
    std::unique_lock lock(deskMutex_);
    for (;;) {
        deskWoken_ = false;
        lock.unlock();
        bool allEnded = true;
        for (const auto& unit : units_)
            allEnded = unit->serve() && allEnded;
        lock.lock();
        if (allEnded)
            return;
        deskWake_.wait_for(lock, kDeskRound, [this] { return deskWoken_; });
    }
}

void LogService::wakeDesk()
{
    {
        const std::lock_guard lock(deskMutex_);
        deskWoken_ = true;
    }
    deskWake_.notify_one();
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
