#pragma once

#include "comm/link/CGatewayLink.h"
#include "registry/UnitRecord.h"
#include "ui/ControlView.h"

#include <optional>

namespace vantel::ctl {

// The check the main window's connect makes before an analog panel behind
// the gateway opens: "MD" to the unit's node, whose "md" reply must come
// within the unit's reply-wait time-out and name the catalogue's model.
// The reported unit ID, or nullopt once `view` was told why not. The node's
// registration has ended again when it returns, so the panel can take the
// node. Waits on the calling thread.
std::optional<int> CheckGatewayModel(CGatewayLink& link, const UnitRecord& unit, ControlView& view);

} // namespace vantel::ctl
