#pragma once

#include "registry/UnitList.h"

#include <iosfwd>
#include <string>

namespace vantel::ctl {

// "ユニットリストを読み込めません" with the file and why, for a list that exists
// but could not be read.
std::string UnreadableListText(const UnitList& list);

// One line per line of the file that was skipped and why, and how many lines
// after the 256th unit were not read; nothing for a list read whole.
void ReportLinesNotRead(const UnitList& list, std::ostream& err);

// After a save: where the file as it was has been kept, if that save kept it.
void ReportKeptCopy(const UnitList& list, std::ostream& err);

} // namespace vantel::ctl
