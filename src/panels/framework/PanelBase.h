#pragma once

#include "logging/CsvLogger.h"
#include "logging/LocalTime.h"
#include "logging/Reading.h"
#include "panels/framework/AutoFunction.h"
#include "panels/framework/PanelContext.h"
#include "panels/framework/PanelLink.h"
#include "panels/framework/PanelView.h"
#include "platform/Clock.h"
#include "platform/Ticker.h"
#include "registry/UnitList.h"

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace vantel {

enum class SignalSide { Output, Input };

// What a panel does after telling the user that an exchange failed: stay
// open as it is, close, or stay open with its tick stopped (no more polling).
enum class AfterFailure { KeepOpen, Close, StopPolling };

// Where a panel is in its life. The phases only move forward (a later
// phase never returns to an earlier one): opening until the tick starts,
// running, stopped (polling has ended for good while the panel stays open),
// then the close: dropping (results are dropped, a failure message is up),
// close requested (the next tick posts the close), close posted, closing
// (the close routine has saved the list), shutting down and closed.
enum class PanelPhase {
    Opening,
    Running,
    Stopped,
    Dropping,
    CloseRequested,
    ClosePosted,
    Closing,
    ShuttingDown,
    Closed
};

// What every unit panel does alike: the 100 ms tick and its counters, period
// entry, signal-name boxes, title and status line, window position, logging,
// the reaction to a failed exchange and the orderly close. A panel class adds
// its controls, its requests and its periodicWork().
//
// Threads: the GUI thread constructs the panel, runs start-up, the control
// handlers and the close routine, and destroys it. The tick runs on the
// shared tick thread (see Ticker), communication callbacks on the worker
// thread; both talk to the window only through the thread-safe calls of
// PanelView and never touch the unit list. Destroy panels through PanelPtr,
// which stops every thread before any part of the panel goes away.
//
// Whatever shows the panel (its own window or the tab container) is its
// PanelHost, and whatever it talks through is its PanelLink. The close runs
// in one order for every panel: waits for the unit are cancelled, the tick
// stops, the link stops (no callback runs after it) and is released, the
// list is saved with the window position, and the host destroys the view.
class PanelBase : public UnitPanel {
public:
    ~PanelBase() override;
    PanelBase(const PanelBase&) = delete;
    PanelBase& operator=(const PanelBase&) = delete;

    // Any thread: the panel closes at its next tick.
    void requestClose() override;
    void setLoggingEnabled(bool enabled) override { loggingEnabled_ = enabled; }
    bool loggingEnabled() const { return loggingEnabled_.load(); }

    // Every 100 ms on the tick thread (tests call it directly).
    void tick();

    // GUI thread: "切断", the close box and every posted close end here. The
    // window goes (PanelView::closeWindow) once no callback is half-way through.
    void onCloseCommand();
    // GUI thread: the user changed the text of a signal-name box. A name
    // that would not fit its slot in the list file (20 bytes in the file
    // code page) is refused: the box goes back to the last text that fits.
    void onNameBoxEdited(int boxId);
    // GUI thread: a signal-name box lost the focus.
    void onNameBoxLeft(int boxId);
    // GUI thread: the 自動 box of an automatic function was clicked.
    void onAutoClicked(int checkBoxId);

    UnitId unit() const { return unit_; }
    const std::string& unitName() const { return unitName_; }
    PanelPhase phase() const { return phase_.load(); }
    // True once a close is asked for and until the close routine begins.
    bool closeRequested() const
    {
        const PanelPhase now = phase();
        return now == PanelPhase::CloseRequested || now == PanelPhase::ClosePosted;
    }
    // True from the moment the panel starts to close: results are dropped.
    bool closing() const { return phase() >= PanelPhase::Dropping; }
    // True once the close routine has let the window go.
    bool finished() const { return phase() == PanelPhase::Closed; }
    // False before start-up and once polling or the panel has stopped.
    bool ticking() const { return ticker_.running(); }
    // What the panel has logged (lines written), for whoever runs it headless.
    const CsvLogger& logger() const { return logger_; }

    // Stops the tick, the start-up work and the link, releases the link and
    // the unit (panel-open mark, open-panel count). Idempotent; the close
    // routine and PanelDeleter call it.
    void shutDown();

protected:
    PanelBase(PanelView& view, PanelContext context);

    // The panel's own tick work; only while no message box is open and no
    // close is pending.
    virtual void periodicWork() = 0;
    // The first step of every tick, even while a message box is open: where
    // a panel checks that its unit still answers (see ReplyWatchdog).
    virtual void checkReplies() {}
    // What the panel talks through; stopped and released by the close.
    virtual PanelLink& link() = 0;

    // Start-up, GUI thread, roughly in this order.
    void markUnitOpen();
    void addNameBox(int boxId, SignalSide side, int slot);
    // The period box starts with "10"; returns the function's index.
    int addAutoFunction(AutoControls controls);
    void restoreWindowPosition();
    // The CSV file's header names these columns; each logged reading too.
    void openLog(std::vector<ColumnHeading> headings);
    // A panel whose tick waits for its unit says so: its tick then gets a
    // thread of its own instead of the process's shared tick.
    void startTicking(Ticker::Waits waits = Ticker::Waits::Never);
    // Start-up failed: show why, release the unit and close the window. No
    // tick has started.
    void abandonStartUp(std::string_view message);
    // Start-up work that waits for the unit, on a thread of its own so the
    // window stays responsive. The close cancels `closeToken()` and joins it.
    void startUpInBackground(std::function<void()> work);
    // Cancelled as soon as the panel starts to close: every wait for a unit
    // takes it, so that neither the tick nor the start-up work holds the
    // close up.
    std::stop_token closeToken() const { return closeSource_.get_token(); }

    // Any thread.
    void showTitle(bool withLoggingMark);
    void showStatus(std::string_view text);
    AutoFunction& autoFunction(int index) { return autos_.at(static_cast<std::size_t>(index)).function; }
    // Clears the flag, unticks the box and unlocks the function's controls.
    void switchOffAuto(int index);
    void switchOffAllAutos();
    // Polling has stopped for good while the panel stays open: every
    // automatic function is off and its 自動 box can no longer be ticked, so
    // that nothing on the panel looks live.
    void retireAllAutos();
    // While logging is on: one reading of `values` (in the order of the
    // headings) to the CSV file, as the line "date,time,values...", and to
    // the context's reading sink. A line is lost silently when the file
    // cannot be written.
    void logValues(const ReadingValues& values);
    // Shows "ORVEX通信エラー" (once while it is up); with Close the panel
    // ignores every later result and closes at the first tick after the
    // message was dismissed; with StopPolling the tick ends at once.
    void reportCommunicationFailure(AfterFailure after);
    // The same with a message of the panel's own.
    void reportFailure(std::string_view text, AfterFailure after);

    // Any thread: a message box that does not wait for the user; the tick
    // stands still until it is dismissed, then `afterDismissal` runs on the
    // GUI thread (not at all if the panel has gone by then).
    void postMessageBox(std::string_view text, std::function<void()> afterDismissal = {});
    // Any thread: `task` runs later on the GUI thread, not at all if the
    // panel has gone by then (for what only the GUI thread may touch, such as
    // the unit record).
    void runOnGuiThread(std::function<void()> task);
    // GUI thread: modal boxes during which the tick stands still.
    void showModalMessage(std::string_view text);
    bool askModal(std::string_view question);

    // GUI thread only: the unit's record, nullptr if it has gone.
    UnitRecord* record() { return list_.find(unit_); }
    std::string signalName(SignalSide side, int slot);

    PanelView& view() { return view_; }
    const TextCodec& codec() const { return codec_; }
    const Clock& clock() const { return clock_; }
    const std::string& logBaseName() const { return logBaseName_; }

    // Marks a communication callback as running for its lifetime. A callback
    // starts with `CallbackScope scope(*this); if (!scope) return;` so that a
    // panel that is closing drops results, and the close routine waits for
    // a callback that is half-way through.
    class CallbackScope {
    public:
        explicit CallbackScope(PanelBase& panel);
        ~CallbackScope();
        CallbackScope(const CallbackScope&) = delete;
        CallbackScope& operator=(const CallbackScope&) = delete;
        explicit operator bool() const { return live_; }

    private:
        PanelBase& panel_;
        bool live_;
    };

    // A worker callback that runs under a CallbackScope and is dropped once
    // the panel is closing: `ReadInputs{guarded<int>([this](int bits) {...})}`.
    template <typename... Args, typename Handler> std::function<void(Args...)> guarded(Handler handler)
    {
        return [this, handler = std::move(handler)](Args... args) {
            const CallbackScope scope(*this);
            if (scope)
                handler(args...);
        };
    }

private:
    struct AutoEntry {
        explicit AutoEntry(AutoControls c) : controls(std::move(c)) {}
        AutoControls controls;
        AutoFunction function;
    };
    struct NameSlot {
        SignalSide side;
        int slot;
        std::string fitting; // the box's last text that fits the slot
    };

    void lockAutoControls(const AutoEntry& entry, bool locked);
    void storeWindowPosition();
    void releaseUnit();
    // Moves the phase forward to `next` unless it is there or beyond;
    // returns the phase it was in.
    PanelPhase advanceTo(PanelPhase next);

    PanelView& view_;
    UnitList& list_;
    AppState& app_;
    const UnitId unit_;
    const LocalTimeSource& localTime_;
    const TextCodec& codec_;
    const Clock& clock_;
    const std::string unitName_;
    const std::string logBaseName_;
    const int fileSwitchLines_;
    const bool saveListOnClose_;

    CsvLogger logger_;
    std::vector<ColumnHeading> logHeadings_; // set before logOpen_
    ReadingSink* const readings_;
    const std::string modelName_;
    std::deque<AutoEntry> autos_; // filled at start-up only, read by the tick
    std::map<int, NameSlot> nameBoxes_;

    std::atomic<PanelPhase> phase_{PanelPhase::Opening};
    std::atomic<bool> loggingEnabled_;
    std::atomic<bool> logOpen_{false};
    // A failure message is up; a panel that stays open clears it when the
    // message is dismissed, so it is not part of the phase.
    std::atomic<bool> failureShown_{false};
    // This panel holds the unit's open mark and the open-panel count.
    std::atomic<bool> counted_{false};
    std::atomic<int> callbacksRunning_{0};
    std::atomic<int> messageBoxesOpen_{0};
    // Lets a message dismissed after the panel has gone find nothing to do.
    std::shared_ptr<std::atomic<bool>> alive_ = std::make_shared<std::atomic<bool>>(true);

    std::stop_source closeSource_;
    std::thread startUp_;
    Ticker ticker_; // last: stopped before anything it calls is destroyed
};

// Destroys a panel after stopping its threads, while all of it still exists.
struct PanelDeleter {
    void operator()(PanelBase* panel) const
    {
        panel->shutDown();
        delete panel;
    }
};

template <typename Panel> using PanelPtr = std::unique_ptr<Panel, PanelDeleter>;

template <typename Panel, typename... Args> PanelPtr<Panel> MakePanel(Args&&... args)
{
    return PanelPtr<Panel>(new Panel(std::forward<Args>(args)...));
}

} // namespace vantel
