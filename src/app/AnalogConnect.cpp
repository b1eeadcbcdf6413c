#include "app/AnalogConnect.h"

#include "comm/AnalogRequestHandler.h"
#include "registry/ModelCatalogue.h"

namespace vantel {

ConnectedAnalogUnit ConnectAnalogUnit(const UnitRecord& record, Ipv4Address bindAddress, int timeoutOptionMs,
                                      ControlView& messages)
{
    auto channel = std::make_unique<CAnalogChannel>(timeoutOptionMs);
    if (const int error = channel->connect(record.host, record.controlPort, bindAddress); error != 0) {
        messages.showMessage("接続エラー\ncode : " + std::to_string(error));
        return {};
    }
    const auto identity = QueryAnalogModel(*channel);
    if (!identity.ok()) {
        messages.showMessage("通信エラー\ncode : " + std::to_string(identity.error));
        return {};
    }
    if (identity.value.modelCode != ModelAt(record.modelRow).modelCode) {
        messages.showMessage("モデルが違います。");
        return {};
    }
    return {std::move(channel), identity.value.unitId};
}

} // namespace vantel
