#include "panels/gateway/GatewayPanelRules.h"

#include <cstdio>

namespace vantel {

std::string GatewayInfoText(std::string_view displayName, int node, int unitId)
{
    char text[160];
    // An ID not reported yet is not shown: -1 would read as the unit's.
    if (unitId < 0)
        std::snprintf(text, sizeof text, "%.*s ( node : %d )", static_cast<int>(displayName.size()), displayName.data(),
                      node);
    else
        std::snprintf(text, sizeof text, "%.*s ( node : %d / ID : %d )", static_cast<int>(displayName.size()),
                      displayName.data(), node, unitId);
    return text;
}

} // namespace vantel
