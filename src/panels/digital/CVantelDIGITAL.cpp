#include "panels/digital/CVantelDIGITAL.h"

#include "comm/protocol/Dialect.h"
#include "comm/worker/DigitalRequestHandler.h"

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

bool BitSet(int bits, int index)
{
    return (bits & (1 << index)) != 0;
}

} // namespace

CVantelDIGITAL::CVantelDIGITAL(PanelView& view, PanelContext context)
    : DigitalPanelBase(view, context), masked_(DialectOf(model()) == Dialect::Ascii),
      location_(LocationOf(RecordOf(context))), bindAddress_(context.app.adapterAddress.load()),
      link_(std::make_unique<CDigitalChannel>(context.app.commandLineTimeoutMs.load()),
            IsWireless(model()) ? kWirelessCloseGrace : kCloseGrace),
      giveUp_(context.giveUp, [this] { link_.channel().abandon(); })
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
    prepareRows({});
    if (!connectAndIdentify())
        return false;
    showStatus(statusText());
    restoreWindowPosition();
    sendFirstReads();
    openLog(logHeadings());
    startTicking();
    return true;
}

bool CVantelDIGITAL::connectAndIdentify()
{
    const UnitIdentity identity = ConnectAndIdentify(link_.channel(), model(), location_, bindAddress_);
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
    if (model().has(ModelFlag::TwoPort))
        where += "/" + std::to_string(location_.secondPort);
    return std::string(model().displayName) + " ( " + where + " ) ID " + std::to_string(unitId_.load());
}

ReadingValues CVantelDIGITAL::readingValues() const
{
    ReadingValues values = BitColumns(outputs_.load(), outputCount());
    const ReadingValues inputs = BitColumns(inputs_.load(), inputCount());
    values.insert(values.end(), inputs.begin(), inputs.end());
    return values;
}

int CVantelDIGITAL::oneShotValue(int index) const
{
    return index >= 0 && index < kChannelsPerSide ? oneShot_[static_cast<std::size_t>(index)].load() : 0;
}

void CVantelDIGITAL::periodicWork()
{
    refreshTitle();

    if (autoFunction(inputAuto()).advance()) {
        // The line carries what the previous read found, before this one answers.
        const ReadingValues values = readingValues();
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
