#pragma once

#include "platform/TextCodec.h"
#include "registry/UnitRecord.h"

#include <string>
#include <string_view>

namespace vantel {

// One line of the list file, in the file code page, without the line end.
std::string FormatUnitLine(const UnitRecord& record, const TextCodec& codec);

// Reads one line (file code page, line end removed). Missing fields keep their
// defaults; text is cut to its slot size at a character boundary; a model row
// the catalogue does not know is kept as read, with its channel fields kept
// verbatim in `unknownModelFields`.
UnitRecord ParseUnitLine(std::string_view line, const TextCodec& codec);

// Number readers that accept what the file has always held: the integer reader
// wraps like an unsigned read stored as signed ("-1" gives -1, text gives 0).
int ReadListInteger(std::string_view field);
double ReadListDouble(std::string_view field);

} // namespace vantel
