#pragma once

#include "registry/UnitRecord.h"

#include <array>
#include <string>

namespace vantel {

// name, host (or COM<n>), port or node, model
using UnitListRow = std::array<std::string, 4>;

// The four columns the unit list shows for a record, in the main window and
// in vantelctl list.
UnitListRow UnitListColumns(const UnitRecord& record);

} // namespace vantel
