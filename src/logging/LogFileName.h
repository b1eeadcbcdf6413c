#pragma once

#include "logging/LocalTime.h"

#include <string>
#include <string_view>

namespace vantel {

// Where a panel logs: "<folder><name>.csv" without file switching (the same
// file every time the unit is opened), otherwise the base
// "<folder><name>_yyyyMMdd_HHmmss" of the moment the panel was created, which
// the logger completes with the file number.
std::string LogBaseName(std::string_view folder, std::string_view cleanedName, int fileSwitchLines,
                        const LocalDateTime& created);

// "<base>_001.csv"; four digits from file 1000 on.
std::string NumberedLogFile(std::string_view base, int fileNumber);

} // namespace vantel
