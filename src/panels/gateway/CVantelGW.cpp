#include "panels/gateway/CVantelGW.h"

#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/AsciiReplies.h"
#include "panels/framework/UnitCheck.h"

namespace vantel {

namespace {

bool BitSet(int bits, int index)
{
    return (bits & (1 << index)) != 0;
}

} // namespace

CVantelGW::CVantelGW(PanelView& view, PanelContext context, CGatewayLink& gateway)
    : DigitalPanelBase(view, context), session_(gateway, RecordOf(context).node, RecordOf(context).replyTimeout)
{
    session_.bind(*context.clock, closeToken());
    for (auto& state : outputs_)
        state = Undetermined;
    for (auto& state : inputs_)
        state = Undetermined;
}

CVantelGW::~CVantelGW()
{
    shutDown();
}

CVantelGW::State CVantelGW::StateAt(const States& states, int index)
{
    if (index < 0 || index >= kChannelsPerSide)
        return Undetermined;
    return static_cast<State>(states[static_cast<std::size_t>(index)].load());
}

bool CVantelGW::pulses(int index) const
{
    return index >= 0 && index < kChannelsPerSide && outputConfig_[static_cast<std::size_t>(index)].load() != 0;
}

void CVantelGW::start()
{
    markUnitOpen();
    prepareRows(kSecondsRule);
    showPeriodUnits();
    showStatus(infoText());
    session_.listen([this](std::string_view letters, std::string_view payload) { return onReply(letters, payload); });
    restoreWindowPosition();
    openLog(logHeadings());
    for (int i = 0; i < outputCount(); ++i)
        showOutput(i, Undetermined);
    for (int i = 0; i < inputCount(); ++i)
        showInput(i, Undetermined);
    session_.startUp([this] { return runStartUp(); },
                     [this](bool answered) {
                         // The unit record and the ticker belong to the GUI thread.
                         runOnGuiThread([this, answered] { afterStartUp(answered); });
                     });
}

void CVantelGW::showPeriodUnits()
{
    for (std::size_t i = 0; i < kChannelsPerSide; ++i)
        view().setText(DigitalId::OutputPeriodLabel[i], kSecondsUnit);
    view().setText(DigitalId::InputPeriodLabel, kSecondsUnit);
}

bool CVantelGW::runStartUp()
{
    bool answered = exchange(ascii::SN().bytes);
    if (answered && outputCount() > 0)
        answered = exchange(ascii::MR(ascii::kMemoryOutputConfig, ascii::kMemoryOutputConfigCount).bytes) &&
                   exchange(ascii::DY(ChannelKind::Gateway).bytes);
    if (answered && inputCount() > 0)
        answered = exchange(ascii::DI(ChannelKind::Gateway).bytes);
    return answered;
}

void CVantelGW::afterStartUp(bool answered)
{
    if (finished())
        return;
    if (closeRequested()) {
        // Shutdown or a wrong model asked for the close while the reads ran.
        view().postClose();
        return;
    }
    if (closing())
        return;
    if (!answered) {
        timedOut();
        return;
    }
    startedUp_ = true;
    // The tick reads and switches through the radio and waits for the answers.
    startTicking(Ticker::Waits::MayWait);
}

bool CVantelGW::exchange(std::string_view command)
{
    return session_.exchange(command);
}

void CVantelGW::timedOut()
{
    switchOffAllAutos();
    reportFailure(kWirelessTimeout, AfterFailure::Close);
}

void CVantelGW::checkReplies()
{
    if (session_.overdue())
        timedOut();
}

std::string CVantelGW::infoText() const
{
    return GatewayInfoText(model().displayName, session_.node(), unitId_.load());
}

ReadingValues CVantelGW::readingValues() const
{
    ReadingValues values;
    for (int i = 0; i < outputCount(); ++i)
        values.push_back({outputState(i) == On ? "1" : "0", std::nullopt});
    for (int i = 0; i < inputCount(); ++i)
        values.push_back({inputState(i) == On ? "1" : "0", std::nullopt});
    return values;
}

void CVantelGW::periodicWork()
{
    refreshTitle();

    if (autoFunction(inputAuto()).advance()) {
        inputReadPending_ = true;
        for (int i = 0; i < kChannelsPerSide; ++i)
            showInput(i, Undetermined);
        readInputs();
    }

    int flip = 0;
    for (int i = 0; i < outputCount(); ++i)
        if (autoFunction(outputAuto(i)).advance())
            flip |= 1 << i;
    if (flip == 0)
        return;
    // One command sets every output the panel knows: the fired ones
    // flipped, the others as they are. Undetermined outputs stay out.
    int states = 0;
    int mask = 0;
    for (int i = 0; i < outputCount(); ++i) {
        const State state = outputState(i);
        if (state == Undetermined)
            continue;
        const bool on = BitSet(flip, i) ? state == Off : state == On;
        if (BitSet(flip, i))
            showOutput(i, on ? On : Off);
        states |= on ? 1 << i : 0;
        mask |= 1 << i;
    }
    if (mask != 0)
        sendMasked(states, mask);
}

void CVantelGW::onOutputButton(int index)
{
    if (index < 0 || index >= outputCount() || closing())
        return;
    const State state = outputState(index);
    if (state == Undetermined)
        return;
    const bool on = state == Off;
    const int bit = 1 << index;
    showOutput(index, on ? On : Off);
    const bool pulse = on && pulses(index);
    session_.post([this, index, on, bit, pulse] {
        if (closing())
            return;
        // A pulse ends with the output off at the unit, and so on the panel.
        if (sendMasked(on ? bit : 0, bit) && pulse && sendMasked(0, bit))
            showOutput(index, Off);
    });
}

void CVantelGW::onReadInputs()
{
    if (!closing())
        session_.post([this] {
            if (!closing())
                readInputs();
        });
}

bool CVantelGW::sendMasked(int states, int mask)
{
    return exchange(ascii::DK(states, mask, kGatewayOutputGroups).bytes);
}

void CVantelGW::readInputs()
{
    exchange(ascii::DI(ChannelKind::Gateway).bytes);
}

void CVantelGW::showOutput(int index, int state)
{
    const auto slot = static_cast<std::size_t>(index);
    outputs_[slot] = state;
    if (state == Undetermined)
        view().setIndicatorUndetermined(DigitalId::OutputIndicator[slot]);
    else
        view().setIndicator(DigitalId::OutputIndicator[slot], state == On);
}

void CVantelGW::showInput(int index, int state)
{
    const auto slot = static_cast<std::size_t>(index);
    inputs_[slot] = state;
    if (index >= inputCount())
        return;
    if (state == Undetermined)
        view().setIndicatorUndetermined(DigitalId::InputIndicator[slot]);
    else
        view().setIndicator(DigitalId::InputIndicator[slot], state == On);
}

bool CVantelGW::onReply(std::string_view letters, std::string_view payload)
{
    const CallbackScope scope(*this);
    if (letters == "di") {
        if (scope && payload.size() == 5)
            if (const auto bits = ascii::ParseDI(payload, ChannelKind::Gateway))
                onInputs(*bits);
        return true;
    }
    if (letters == "dy") {
        if (scope && payload.size() == 5)
            if (const auto bits = ascii::ParseDY(payload, ChannelKind::Gateway))
                onOutputs(*bits);
        return true;
    }
    if (letters == "mr") {
        if (scope && payload.size() == 23)
            if (const auto memory = ascii::ParseMR(payload))
                for (std::size_t i = 0; i < outputConfig_.size() && i < memory->bytes.size(); ++i)
                    outputConfig_[i] = memory->bytes[i];
        return true;
    }
    if (letters == "sn") {
        if (scope)
            onSerial(payload);
        return true;
    }
    return letters == "dk";
}

void CVantelGW::onInputs(int bits)
{
    for (int i = 0; i < inputCount(); ++i)
        showInput(i, BitSet(bits, i) ? On : Off);
    if (inputReadPending_.exchange(false))
        logValues(readingValues());
}

void CVantelGW::onOutputs(int bits)
{
    for (int i = 0; i < outputCount(); ++i)
        showOutput(i, BitSet(bits, i) ? On : Off);
}

void CVantelGW::onSerial(std::string_view payload)
{
    if (payload.size() != 7 && payload.size() != 8)
        return;
    const auto identity = ascii::ParseSN(payload);
    if (!identity)
        return;
    if (identity->modelCode != model().modelCode) {
        switchOffAllAutos();
        postMessageBox(kWrongModel);
        requestClose();
        return;
    }
    unitId_ = identity->unitId;
    showStatus(infoText());
}

} // namespace vantel
