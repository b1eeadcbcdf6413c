#include "panels/CVantelDIGITAL.h"

#include "comm/Dialect.h"
#include "comm/DigitalRequestHandler.h"

namespace vantel {

namespace {

// A masked write whose outputs need no second write.
constexpr int kNoFollowUp = -1;
// How long closing lets the worker finish what was queued before it gives
// up on the unit: a wired unit answers within milliseconds, a wireless one
// may take a good part of a second.
constexpr std::chrono::milliseconds kCloseGrace{100};
constexpr std::chrono::milliseconds kWirelessCloseGrace{1000};

bool IsWireless(const ModelRow& model)
{
    return model.has(ModelFlag::FirstWireless | ModelFlag::ThirdWireless);
}

const UnitRecord& RecordOf(const PanelContext& context)
{
    static const UnitRecord kNone;
    const UnitRecord* record = context.list.find(context.unit);
    return record ? *record : kNone;
}

bool BitSet(int bits, int index)
{
    return (bits & (1 << index)) != 0;
}

std::string Flags(int bits, int count)
{
    std::string values;
    for (int i = 0; i < count; ++i)
        values += BitSet(bits, i) ? ",1" : ",0";
    return values;
}

template <std::size_t N> int IndexOf(const std::array<int, N>& ids, int id)
{
    for (std::size_t i = 0; i < N; ++i)
        if (ids[i] == id)
            return static_cast<int>(i);
    return -1;
}

} // namespace

CVantelDIGITAL::CVantelDIGITAL(PanelView& view, PanelContext context)
    : PanelBase(view, context), model_(ModelAt(RecordOf(context).modelRow)),
      masked_(DialectOf(model_) == Dialect::Ascii), location_(LocationOf(RecordOf(context))),
      bindAddress_(context.app.adapterAddress.load()),
      link_(std::make_unique<CDigitalChannel>(context.app.commandLineTimeoutMs.load()),
            IsWireless(model_) ? kWirelessCloseGrace : kCloseGrace)
{
}

CVantelDIGITAL::~CVantelDIGITAL()
{
    // Deleted without PanelDeleter: the threads still have to stop while
    // this part of the panel exists.
    shutDown();
}

bool CVantelDIGITAL::start()
{
    markUnitOpen();
    titleShown_ = 0;
    showTitle(false);
    layOutRows();
    registerControls();
    if (!connectAndIdentify())
        return false;
    showStatus(statusText());
    restoreWindowPosition();
    sendFirstReads();
    openLog(csvHeader());
    startTicking();
    return true;
}

void CVantelDIGITAL::layOutRows()
{
    for (int i = outputCount(); i < kChannelsPerSide; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        for (const int id :
             {DigitalId::OutputName[slot], DigitalId::OutputIndicator[slot], DigitalId::OutputButton[slot],
              DigitalId::OutputAuto[slot], DigitalId::OutputPeriod[slot], DigitalId::OutputPeriodLabel[slot]})
            view().setVisible(id, false);
    }
    if (outputCount() == 0)
        view().setVisible(DigitalId::OutputGroup, false);
    for (int i = inputCount(); i < kChannelsPerSide; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        view().setVisible(DigitalId::InputName[slot], false);
        view().setVisible(DigitalId::InputIndicator[slot], false);
    }
    if (inputCount() == 0) {
        for (const int id : {DigitalId::InputGroup, DigitalId::ReadInputs, DigitalId::InputAuto, DigitalId::InputPeriod,
                             DigitalId::InputPeriodLabel})
            view().setVisible(id, false);
    }
}

void CVantelDIGITAL::registerControls()
{
    for (int i = 0; i < kChannelsPerSide; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        addNameBox(DigitalId::OutputName[slot], SignalSide::Output, i);
        addNameBox(DigitalId::InputName[slot], SignalSide::Input, i);
    }
    for (std::size_t i = 0; i < kChannelsPerSide; ++i)
        addAutoFunction({DigitalId::OutputAuto[i],
                         DigitalId::OutputPeriod[i],
                         {DigitalId::OutputButton[i], DigitalId::OutputPeriodLabel[i]},
                         {}});
    addAutoFunction(
        {DigitalId::InputAuto, DigitalId::InputPeriod, {DigitalId::ReadInputs, DigitalId::InputPeriodLabel}, {}});
}

bool CVantelDIGITAL::connectAndIdentify()
{
    const UnitIdentity identity = ConnectAndIdentify(link_.channel(), model_, location_, bindAddress_);
    if (!identity.ok()) {
        connectFailed_ = true;
        abandonStartUp(identity.failure);
        return false;
    }
    unitId_ = identity.unitId;
    return true;
}

void CVantelDIGITAL::sendFirstReads()
{
    if (inputCount() > 0)
        onReadInputs();
    if (outputCount() > 0) {
        changedSinceRead_ = 0;
        post(digital::ReadOutputs{
            guarded<std::optional<int>>([this](std::optional<int> bits) { onOutputsRead(bits); })});
    }
}

std::string CVantelDIGITAL::statusText() const
{
    std::string where = location_.host + " : " + std::to_string(location_.port);
    if (model_.has(ModelFlag::TwoPort))
        where += "/" + std::to_string(location_.secondPort);
    return std::string(model_.displayName) + " ( " + where + " ) ID " + std::to_string(unitId_.load());
}

std::string CVantelDIGITAL::csvHeader()
{
    std::string header = "日付,時刻";
    for (int i = 0; i < outputCount(); ++i)
        header += "," + view().text(DigitalId::OutputName[static_cast<std::size_t>(i)]);
    for (int i = 0; i < inputCount(); ++i)
        header += "," + view().text(DigitalId::InputName[static_cast<std::size_t>(i)]);
    return header + "\n";
}

std::string CVantelDIGITAL::csvValues() const
{
    return Flags(outputs_.load(), outputCount()) + Flags(inputs_.load(), inputCount());
}

int CVantelDIGITAL::oneShotValue(int index) const
{
    return index >= 0 && index < kChannelsPerSide ? oneShot_[static_cast<std::size_t>(index)].load() : 0;
}

void CVantelDIGITAL::periodicWork()
{
    const bool loggingMark = loggingEnabled() && inputAutoOn();
    if (titleShown_.exchange(loggingMark ? 1 : 0) != (loggingMark ? 1 : 0))
        showTitle(loggingMark);

    if (autoFunction(inputAuto()).advance()) {
        // The line carries what the previous read found, before this one answers.
        const std::string values = csvValues();
        onReadInputs();
        logValues(values);
    }

    int toggle = 0;
    for (int i = 0; i < outputCount(); ++i)
        if (autoFunction(outputAuto(i)).advance())
            toggle |= 1 << i;
    if (toggle == 0)
        return;
    changedSinceRead_ |= toggle;
    const int states = outputs_.fetch_xor(toggle) ^ toggle;
    for (int i = 0; i < outputCount(); ++i)
        if (BitSet(toggle, i))
            view().setIndicator(DigitalId::OutputIndicator[static_cast<std::size_t>(i)], BitSet(states, i));
    sendOutputs(states);
}

void CVantelDIGITAL::onOutputButton(int index)
{
    if (index < 0 || index >= outputCount())
        return;
    const int bit = 1 << index;
    if (!masked_) {
        // The indicators follow what the unit was told, once it has been.
        postWriteAll(outputs_.load() ^ bit);
        return;
    }
    changedSinceRead_ |= bit;
    const int states = outputs_.fetch_xor(bit) ^ bit;
    const bool on = BitSet(states, index);
    view().setIndicator(DigitalId::OutputIndicator[static_cast<std::size_t>(index)], on);
    // An output with a one-shot value is switched off again right after it
    // was switched on; the indicator keeps showing ON.
    const bool oneShot = on && oneShot_[static_cast<std::size_t>(index)].load() != 0;
    postMasked(on ? bit : 0, bit, oneShot ? bit : kNoFollowUp);
}

void CVantelDIGITAL::onReadInputs()
{
    post(digital::ReadInputs{
        guarded<digital::InputsResult>([this](const digital::InputsResult& read) { onInputsRead(read); })});
}

bool CVantelDIGITAL::onControlClicked(int controlId)
{
    if (const int output = IndexOf(DigitalId::OutputButton, controlId); output >= 0) {
        onOutputButton(output);
        return true;
    }
    if (controlId == DigitalId::ReadInputs) {
        onReadInputs();
        return true;
    }
    if (controlId == DigitalId::InputAuto || IndexOf(DigitalId::OutputAuto, controlId) >= 0) {
        onAutoClicked(controlId);
        return true;
    }
    return false;
}

void CVantelDIGITAL::post(digital::Request request)
{
    link_.post(std::move(request));
}

void CVantelDIGITAL::sendOutputs(int states)
{
    if (masked_)
        postMasked(states, outputMask(), kNoFollowUp);
    else
        postWriteAll(states);
}

void CVantelDIGITAL::postWriteAll(int states)
{
    post(digital::WriteOutputs{
        states, guarded<std::optional<int>>([this](std::optional<int> bits) { onOutputsWritten(bits); })});
}

void CVantelDIGITAL::postMasked(int states, int mask, int followUp)
{
    post(digital::MaskedSet{states, mask, followUp,
                            guarded<std::optional<int>, int>(
                                [this](std::optional<int> outputs, int next) { onMaskedWritten(outputs, next); })});
}

void CVantelDIGITAL::showOutputs(int bits)
{
    outputs_ = bits;
    for (int i = 0; i < outputCount(); ++i)
        view().setIndicator(DigitalId::OutputIndicator[static_cast<std::size_t>(i)], BitSet(bits, i));
}

void CVantelDIGITAL::showInputs(int bits)
{
    inputs_ = bits;
    for (int i = 0; i < inputCount(); ++i)
        view().setIndicator(DigitalId::InputIndicator[static_cast<std::size_t>(i)], BitSet(bits, i));
}

void CVantelDIGITAL::failed()
{
    switchOffAllAutos();
    reportCommunicationFailure(AfterFailure::Close);
}

void CVantelDIGITAL::onInputsRead(const digital::InputsResult& read)
{
    // Whether the read or only the extra query on the second port failed, the panel gives up alike.
    const int* bits = std::get_if<int>(&read);
    if (bits == nullptr)
        return failed();
    showInputs(*bits & inputMask());
}

void CVantelDIGITAL::onOutputsRead(std::optional<int> read)
{
    if (!read)
        return failed();
    const int bits = *read;
    // The unit answered before it saw the writes the panel made since it
    // asked; the outputs changed here since then keep their new state.
    const int changedHere = changedSinceRead_.load();
    showOutputs(((bits & ~changedHere) | (outputs_.load() & changedHere)) & outputMask());
    if (masked_)
        readOneShotValues();
}

void CVantelDIGITAL::readOneShotValues()
{
    // Runs on the worker inside the read's callback, so no other request
    // can come between the read and these queries. A close waits for this
    // callback, so the queries stop as soon as one begins.
    for (int i = 0; i < outputCount() && !closing(); ++i) {
        auto& value = oneShot_[static_cast<std::size_t>(i)];
        value = 0;
        if (const auto got = QueryOneShotValue(link_.channel(), i); got.ok())
            value = got.value;
    }
}

void CVantelDIGITAL::onOutputsWritten(std::optional<int> bits)
{
    if (!bits)
        return failed();
    showOutputs(*bits & outputMask());
}

void CVantelDIGITAL::onMaskedWritten(std::optional<int> outputs, int followUp)
{
    if (!outputs)
        return failed();
    if (followUp != kNoFollowUp)
        postMasked(0, followUp, kNoFollowUp);
}

} // namespace vantel
