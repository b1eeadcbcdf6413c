#include "panels/framework/UnitCheck.h"

#include "comm/worker/AnalogRequestHandler.h"
#include "comm/worker/DigitalRequestHandler.h"
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
    const std::string code = std::to_string(error);
    if (ModeHintApplies(model, error))
        return "通信エラー\ncode : " + code +
               "\n接続先ポートが使用中もしくは、動作モードが「通常」以外の可能性があります";
    return "接続エラー\ncode : " + code;
}

std::string IdentityFailureText(const ModelRow& model, int error)
{
    const std::string code = std::to_string(error);
    if (ModeHintApplies(model, error))
        return "通信エラー\ncode : " + code + "\n動作モードが「通常」以外の可能性があります";
    return "通信エラー\ncode : " + code;
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
