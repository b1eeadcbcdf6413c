#pragma once

#include "registry/UnitRecord.h"
#include "search/DiscoveryTable.h"

namespace vantel {

// A GC unit is small (model below 7) or large (16-23); false for any other
// model code, which the search cannot add.
bool SettleGcKind(DiscoveryEntry& entry);

// What the unit dialog is pre-filled with for a found unit: the proposed
// name, its address and ports and its catalogue row.
UnitConnection ProposedConnection(const DiscoveryEntry& entry);

} // namespace vantel
