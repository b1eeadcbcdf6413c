#include "panels/GatewayPanelRules.h"

#include <cstdio>

namespace vantel {

std::string GatewayInfoText(std::string_view displayName, int node, int unitId)
{
    char text[160];
    std::snprintf(text, sizeof text, "%.*s ( node : %d / ID : %d )", static_cast<int>(displayName.size()),
                  displayName.data(), node, unitId);
    return text;
}

} // namespace vantel
