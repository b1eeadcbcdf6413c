#include "app/AnalogConnect.h"

#include "panels/framework/UnitCheck.h"
#include "registry/ModelCatalogue.h"

namespace vantel {

ConnectedAnalogUnit ConnectAnalogUnit(const UnitRecord& record, Ipv4Address bindAddress, int timeoutOptionMs,
                                      ControlView& messages)
{
    auto channel = std::make_unique<CAnalogChannel>(timeoutOptionMs);
    const UnitIdentity identity =
        ConnectAndIdentify(*channel, ModelAt(record.modelRow), LocationOf(record), bindAddress);
    if (!identity.ok()) {
        messages.showMessage(identity.failure);
        return {};
    }
    return {std::move(channel), identity.unitId};
}

} // namespace vantel
