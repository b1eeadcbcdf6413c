#include "search/FoundUnit.h"

#include "search/DiscoveryTexts.h"

namespace vantel {

bool SettleGcKind(DiscoveryEntry& entry)
{
    if (entry.kind != DiscoveryKind::GcCapable)
        return true;
    if (entry.modelCode >= 0 && entry.modelCode < 7)
        entry.kind = DiscoveryKind::GcLowModel;
    else if (entry.modelCode >= 16 && entry.modelCode <= 23)
        entry.kind = DiscoveryKind::GcHighModel;
    else
        return false;
    return true;
}

UnitConnection ProposedConnection(const DiscoveryEntry& entry)
{
    UnitConnection in;
    in.name = ProposedUnitName(entry);
    in.host = entry.ipText;
    in.controlPort = entry.controlPort;
    in.secondPort = entry.secondPort;
    in.modelRow = CatalogueRowOf(entry);
    return in;
}

} // namespace vantel
