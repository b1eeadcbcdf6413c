#pragma once

#include "search/DiscoveryTable.h"

#include <cstdint>
#include <string>

namespace vantel {

// "00-11-22-33-44-55".
std::string MacText(const MacAddress& mac);

// Catalogue family flags a unit of this kind is looked up with.
std::uint32_t KindFamilyFlags(int kind);

// Catalogue row of the entry's model code (kNoModel when unknown).
int CatalogueRowOf(const DiscoveryEntry& entry);

// The search list's model column: the catalogue short name when the model is
// known ("%s(G)" for small GC units), otherwise what the reply told.
std::string ModelColumnText(const DiscoveryEntry& entry);

// Name proposed when adding: the short name and the last three MAC bytes.
std::string ProposedUnitName(const DiscoveryEntry& entry);

} // namespace vantel
