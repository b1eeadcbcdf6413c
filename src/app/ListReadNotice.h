#pragma once

#include "registry/UnitList.h"

#include <string>

namespace vantel {

// What the main window tells the user at start-up about a list file it could
// not read ("ユニットリストを読み込めません", the file and why; nothing is ever
// saved over it), or about lines it skipped and where the file as it was
// will be kept. Empty when the list was read whole or there was none.
std::string ListReadNotice(const UnitList& list);

} // namespace vantel
