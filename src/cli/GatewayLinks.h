#pragma once

#include "comm/link/CGatewayLink.h"
#include "registry/UnitRecord.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace vantel::ctl {

// The gateway links of one vantelctl run: every unit behind the same
// gateway goes through one link, opened by the first of them and kept until
// the run ends. Any thread.
class GatewayLinks {
public:
    static GatewayLinks& instance();

    // The link to the unit's gateway, opened on first use; nullptr when it
    // could not be opened, with the link's code in `error`.
    CGatewayLink* linkFor(const UnitConnection& unit, std::uint32_t bindAddress, int& error);

private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<CGatewayLink>> links_;
};

} // namespace vantel::ctl
