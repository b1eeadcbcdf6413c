#include "panels/DigitalConnectMessages.h"

#include "platform/WinsockError.h"

namespace vantel {

namespace {

bool HasOperatingModes(const ModelRow& model)
{
    return model.has(ModelFlag::K29 | ModelFlag::ThirdWireless);
}

bool ModeHintApplies(const ModelRow& model, int error)
{
    return error == WinsockError::ConnectionRefused && HasOperatingModes(model);
}

} // namespace

std::string DigitalConnectFailure(const ModelRow& model, int error)
{
    const std::string code = std::to_string(error);
    if (ModeHintApplies(model, error))
        return "通信エラー\ncode : " + code +
               "\n接続先ポートが使用中もしくは、動作モードが「通常」以外の可能性があります";
    return "接続エラー\ncode : " + code;
}

std::string DigitalIdentityFailure(const ModelRow& model, int error)
{
    const std::string code = std::to_string(error);
    if (ModeHintApplies(model, error))
        return "通信エラー\ncode : " + code + "\n動作モードが「通常」以外の可能性があります";
    return "通信エラー\ncode : " + code;
}

} // namespace vantel
