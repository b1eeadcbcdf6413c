#pragma once

#include "comm/link/CAnalogChannel.h"
#include "comm/link/CGatewayLink.h"
#include "panels/framework/PanelContext.h"
#include "panels/framework/TabParentDialog.h"

#include <memory>

namespace vantel {

// GUI thread: opens the tab container of an analog unit on the LAN whose
// model was checked, hands it the open channel and starts its panel. The
// window shows itself and deletes itself (with the panel and the channel)
// when the panel lets it go.
TabParentDialog* OpenAnalogContainer(UnitList& list, AppState& app, const UnitRecord& record,
                                     const ConnectRequest& request, std::unique_ptr<CAnalogChannel> channel,
                                     int unitId);

// The same for an analog unit behind the gateway whose "md" reply matched
// its model: its panel takes the unit's node on the shared link.
TabParentDialog* OpenGatewayContainer(UnitList& list, AppState& app, const UnitRecord& record,
                                      const ConnectRequest& request, CGatewayLink& gateway, int unitId);

} // namespace vantel
