#include "panels/framework/UnitCheck.h"

#include "comm/worker/AnalogRequestHandler.h"
#include "comm/worker/DigitalRequestHandler.h"
#include "panels/framework/PanelTexts.h"
#include "platform/WinsockError.h"

namespace vantel {

namespace {

// The digital units of the K29 and third wireless lines; the analog units
// of the third wireless line (rows 48, 49) report a refusal as it is.
bool HasOperatingModes(const ModelRow& model)
{
    return model.has(ModelFlag::K29 | ModelFlag::ThirdWireless) && !model.isAnalog();
}

bool ModeHintApplies(const ModelRow& model, int error)
{
    return error == WinsockError::ConnectionRefused && HasOperatingModes(model);
}

bool IsWireless(const ModelRow& model)
{
    return model.has(ModelFlag::FirstWireless | ModelFlag::ThirdWireless);
}

std::string ConnectResult(const ModelRow& model, int error)
{
    return error == 0 ? std::string() : ConnectFailureText(model, error);
}

UnitIdentity Checked(const ModelRow& model, const Outcome<ascii::UnitIdentity>& reported)
{
    if (!reported.ok())
        return {-1, -1, IdentityFailureText(model, reported.error)};
    const int code = reported.value.modelCode;
    return {reported.value.unitId, code, code == model.modelCode ? std::string() : std::string(kWrongModel)};
}

} // namespace

std::string ConnectFailureText(const ModelRow& model, int error)
{
    if (ModeHintApplies(model, error))
        return CodedFailureText(kCommunicationErrorHead, error) + std::string(kPortOrModeHint);
    return CodedFailureText(kConnectErrorHead, error);
}

std::string IdentityFailureText(const ModelRow& model, int error)
{
    if (ModeHintApplies(model, error))
        return CodedFailureText(kCommunicationErrorHead, error) + std::string(kModeHint);
    return CodedFailureText(kCommunicationErrorHead, error);
}

std::string ConnectDirect(CDigitalChannel& channel, const ModelRow& model, const UnitLocation& where,
                          Ipv4Address bindAddress)
{
    if (IsWireless(model))
        channel.setConnectTimeout(kWirelessConnectTimeoutMs);
    return ConnectResult(model, channel.connect(where.host, where.port, model.index, where.secondPort, bindAddress));
}

std::string ConnectDirect(CAnalogChannel& channel, const ModelRow& model, const UnitLocation& where,
                          Ipv4Address bindAddress)
{
    return ConnectResult(model, channel.connect(where.host, where.port, bindAddress));
}

UnitIdentity IdentifyUnit(CDigitalChannel& channel, const ModelRow& model)
{
    return Checked(model, QueryDigitalModel(channel));
}

UnitIdentity IdentifyUnit(CAnalogChannel& channel, const ModelRow& model)
{
    return Checked(model, QueryAnalogModel(channel));
}

} // namespace vantel
