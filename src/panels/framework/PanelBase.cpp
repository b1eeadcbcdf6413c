#include "panels/framework/PanelBase.h"

#include "logging/CsvText.h"
#include "logging/LogFileName.h"
#include "panels/framework/WindowPlacement.h"
#include "registry/ListFieldText.h"
#include "registry/ModelCatalogue.h"

#include <array>

namespace vantel {

namespace {

std::string NameOf(UnitList& list, UnitId unit)
{
    const UnitRecord* record = list.find(unit);
    return record ? record->name : std::string();
}

std::string ModelNameOf(UnitList& list, UnitId unit)
{
    const UnitRecord* record = list.find(unit);
    return record ? std::string(ModelAt(record->modelRow).displayName) : std::string();
}

std::array<std::string, kChannelsPerSide>& NamesOf(UnitRecord& record, SignalSide side)
{
    return side == SignalSide::Output ? record.outputNames : record.inputNames;
}

} // namespace

PanelBase::PanelBase(PanelView& view, PanelContext context)
    : view_(view), list_(context.list), app_(context.app), unit_(context.unit), localTime_(*context.localTime),
      codec_(*context.codec), clock_(*context.clock), unitName_(NameOf(context.list, context.unit)),
      logBaseName_(
          LogBaseName(context.logFolder, MakeLogName(unitName_), context.fileSwitchLines, context.localTime->now())),
      fileSwitchLines_(context.fileSwitchLines), saveListOnClose_(context.saveListOnClose), logger_(*context.codec),
      readings_(context.readings), modelName_(ModelNameOf(context.list, context.unit)),
      loggingEnabled_(context.loggingEnabled), ticker_(context.tickMode)
{
}

PanelBase::~PanelBase()
{
    // Normally shutDown() has run already (PanelDeleter); the subclass is
    // gone by now, so only what is left of the base can be stopped here.
    closeSource_.request_stop();
    ticker_.stop();
    if (startUp_.joinable())
        startUp_.join();
    releaseUnit();
    *alive_ = false;
}

PanelPhase PanelBase::advanceTo(PanelPhase next)
{
    PanelPhase now = phase_.load();
    while (now < next && !phase_.compare_exchange_weak(now, next)) {
    }
    return now;
}

void PanelBase::requestClose()
{
    advanceTo(PanelPhase::CloseRequested);
    // A tick or start-up waiting for a reply gives up now, so the close is
    // not held up by a unit that does not answer.
    closeSource_.request_stop();
}

void PanelBase::tick()
{
    if (finished())
        return;
    checkReplies();
    PanelPhase requested = PanelPhase::CloseRequested;
    if (phase_.compare_exchange_strong(requested, PanelPhase::ClosePosted)) {
        ticker_.stop();
        view_.postClose();
        return;
    }
    if (closing() || messageBoxesOpen_.load() > 0)
        return;
    periodicWork();
}

void PanelBase::onCloseCommand()
{
    if (finished())
        return;
    // Set before the waits are cancelled, or the ticker could start one more
    // tick's work between the cancel and its stop; and before looking at the
    // callbacks: a callback that starts now sees it and drops its result, one
    // that started earlier is waited for. A close deferred for a running
    // callback comes back here; the list is saved once.
    const PanelPhase before = advanceTo(PanelPhase::Closing);
    closeSource_.request_stop();
    if (before < PanelPhase::Closing && saveListOnClose_) {
        storeWindowPosition();
        list_.Save();
    }
    ticker_.stop();
    if (callbacksRunning_.load() > 0) {
        view_.postClose();
        return;
    }
    shutDown();
    view_.closeWindow();
}

void PanelBase::shutDown()
{
    if (advanceTo(PanelPhase::ShuttingDown) >= PanelPhase::ShuttingDown)
        return;
    closeSource_.request_stop();
    ticker_.stop();
    if (startUp_.joinable())
        startUp_.join();
    link().stop();
    link().release();
    phase_ = PanelPhase::Closed;
    releaseUnit();
}

void PanelBase::releaseUnit()
{
    if (!counted_.exchange(false))
        return;
    if (UnitRecord* unit = record()) {
        unit->panelOpen = false;
        if (unit->panel == this)
            unit->panel = nullptr;
    }
    --app_.openPanelCount;
}

void PanelBase::markUnitOpen()
{
    if (counted_.exchange(true))
        return;
    if (UnitRecord* unit = record()) {
        unit->panelOpen = true;
        unit->panel = this;
    }
    ++app_.openPanelCount;
}

void PanelBase::addNameBox(int boxId, SignalSide side, int slot)
{
    const std::string name = signalName(side, slot);
    nameBoxes_[boxId] = NameSlot{side, slot, name};
    view_.setText(boxId, name);
    view_.setMaxLength(boxId, static_cast<int>(kMaxSignalNameBytes));
}

std::string PanelBase::signalName(SignalSide side, int slot)
{
    UnitRecord* unit = record();
    if (!unit || slot < 0 || slot >= kChannelsPerSide)
        return {};
    return NamesOf(*unit, side)[static_cast<std::size_t>(slot)];
}

void PanelBase::onNameBoxEdited(int boxId)
{
    const auto box = nameBoxes_.find(boxId);
    if (box == nameBoxes_.end())
        return;
    std::string text = view_.text(boxId);
    if (FitsListField(text, kMaxSignalNameBytes, codec_))
        box->second.fitting = std::move(text);
    else
        view_.setText(boxId, box->second.fitting);
}

void PanelBase::onNameBoxLeft(int boxId)
{
    const auto box = nameBoxes_.find(boxId);
    if (box == nameBoxes_.end())
        return;
    std::string text = view_.text(boxId);
    // Quotes would break the list file's fields: they are taken out and the
    // user sees the cleaned name, which is stored at the next focus loss.
    if (text.find('"') != std::string::npos) {
        std::erase(text, '"');
        view_.setText(boxId, text);
        return;
    }
    UnitRecord* unit = record();
    if (!unit || box->second.slot < 0 || box->second.slot >= kChannelsPerSide)
        return;
    NamesOf(*unit, box->second.side)[static_cast<std::size_t>(box->second.slot)] =
        codec_.truncateToBytes(text, kMaxSignalNameBytes);
}

int PanelBase::addAutoFunction(AutoControls controls)
{
    view_.setText(controls.periodBox, kPeriodBoxStart);
    view_.setMaxLength(controls.periodBox, controls.rule.maxCharacters);
    autos_.emplace_back(std::move(controls));
    return static_cast<int>(autos_.size()) - 1;
}

void PanelBase::onAutoClicked(int checkBoxId)
{
    // A click that was on its way when polling stopped.
    if (phase() >= PanelPhase::Stopped) {
        view_.setChecked(checkBoxId, false);
        return;
    }
    for (AutoEntry& entry : autos_) {
        const AutoControls& controls = entry.controls;
        if (controls.checkBox != checkBoxId)
            continue;
        if (!view_.isChecked(checkBoxId)) {
            entry.function.switchOff();
            lockAutoControls(entry, false);
            return;
        }
        const auto period = ParsePeriod(view_.text(controls.periodBox), controls.rule);
        if (!period) {
            showModalMessage(controls.rule.invalidMessage);
        } else if (*period >= controls.rule.confirmBelow || askModal(controls.rule.confirmQuestion)) {
            entry.function.switchOn(*period * controls.rule.ticksPerUnit);
            lockAutoControls(entry, true);
            return;
        }
        entry.function.switchOff();
        view_.setChecked(checkBoxId, false);
        return;
    }
}

void PanelBase::lockAutoControls(const AutoEntry& entry, bool locked)
{
    view_.setEnabled(entry.controls.periodBox, !locked);
    for (const int id : entry.controls.lockedWhileOn)
        view_.setEnabled(id, !locked);
}

void PanelBase::switchOffAuto(int index)
{
    AutoEntry& entry = autos_.at(static_cast<std::size_t>(index));
    entry.function.switchOff();
    view_.setChecked(entry.controls.checkBox, false);
    lockAutoControls(entry, false);
}

void PanelBase::switchOffAllAutos()
{
    for (std::size_t i = 0; i < autos_.size(); ++i)
        switchOffAuto(static_cast<int>(i));
}

void PanelBase::retireAllAutos()
{
    advanceTo(PanelPhase::Stopped);
    switchOffAllAutos();
    for (const AutoEntry& entry : autos_)
        view_.setEnabled(entry.controls.checkBox, false);
}

void PanelBase::restoreWindowPosition()
{
    const UnitRecord* unit = record();
    if (!unit)
        return;
    if (const auto origin =
            RestoredWindowOrigin(view_.windowRect(), view_.desktopRect(), unit->windowLeft, unit->windowTop))
        view_.moveWindow(origin->left, origin->top);
}

void PanelBase::storeWindowPosition()
{
    if (UnitRecord* unit = record()) {
        const WindowRect rect = view_.windowRect();
        unit->windowLeft = rect.left;
        unit->windowTop = rect.top;
    }
}

void PanelBase::openLog(std::vector<ColumnHeading> headings)
{
    logger_.Open(logBaseName_, CsvHeaderLine(headings), fileSwitchLines_);
    logHeadings_ = std::move(headings);
    logOpen_ = true;
}

void PanelBase::logValues(const ReadingValues& values)
{
    if (!loggingEnabled_.load() || !logOpen_.load())
        return;
    const Reading reading = MakeReading(unitName_, modelName_, localTime_.now(), logHeadings_, values);
    logger_.take(reading);
    if (readings_)
        readings_->take(reading);
}

void PanelBase::startTicking(Ticker::Waits waits)
{
    advanceTo(PanelPhase::Running);
    ticker_.start([this] { tick(); }, Ticker::kDefaultPeriod, waits);
}

void PanelBase::startUpInBackground(std::function<void()> work)
{
    startUp_ = std::thread(std::move(work));
}

void PanelBase::abandonStartUp(std::string_view message)
{
    showModalMessage(message);
    shutDown();
    view_.closeWindow();
}

void PanelBase::showTitle(bool withLoggingMark)
{
    view_.setCaption(withLoggingMark ? unitName_ + kLoggingMark : unitName_);
}

void PanelBase::showStatus(std::string_view text)
{
    view_.setText(PanelId::Status, text);
}

void PanelBase::reportCommunicationFailure(AfterFailure after)
{
    reportFailure(kCommunicationError, after);
}

void PanelBase::reportFailure(std::string_view text, AfterFailure after)
{
    if (after == AfterFailure::Close) {
        advanceTo(PanelPhase::Dropping);
        if (failureShown_.exchange(true))
            return;
        postMessageBox(text, [this] {
            requestClose();
            // Without a tick (start-up still running, polling stopped) no
            // tick would carry the close out.
            if (!ticking())
                view_.postClose();
        });
        return;
    }
    // Stopping from inside a tick only asks the ticker to end after it.
    if (after == AfterFailure::StopPolling)
        ticker_.stop();
    // A panel that stays open does not stack a second box on the first.
    if (failureShown_.exchange(true))
        return;
    postMessageBox(text, [this] { failureShown_ = false; });
}

void PanelBase::runOnGuiThread(std::function<void()> task)
{
    view_.postTask([alive = alive_, task = std::move(task)] {
        if (alive->load())
            task();
    });
}

void PanelBase::postMessageBox(std::string_view text, std::function<void()> afterDismissal)
{
    ++messageBoxesOpen_;
    view_.postMessage(text, [this, alive = alive_, afterDismissal = std::move(afterDismissal)] {
        if (!alive->load())
            return;
        --messageBoxesOpen_;
        if (afterDismissal)
            afterDismissal();
    });
}

void PanelBase::showModalMessage(std::string_view text)
{
    ++messageBoxesOpen_;
    view_.showMessage(text);
    --messageBoxesOpen_;
}

bool PanelBase::askModal(std::string_view question)
{
    ++messageBoxesOpen_;
    const bool ok = view_.ask(question);
    --messageBoxesOpen_;
    return ok;
}

PanelBase::CallbackScope::CallbackScope(PanelBase& panel) : panel_(panel)
{
    ++panel_.callbacksRunning_;
    live_ = !panel_.closing();
}

PanelBase::CallbackScope::~CallbackScope()
{
    --panel_.callbacksRunning_;
}

} // namespace vantel
