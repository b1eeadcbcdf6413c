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

// `base` when no series of that name exists yet, else the first of
// "<base>-2", "<base>-3", ... whose first file does not: a new series never
// continues an existing one (a run restarted within the second the last one
// started has the same time in its name).
std::string FreeSeriesBase(const std::string& base);

} // namespace vantel
