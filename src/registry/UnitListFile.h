#pragma once

#include "platform/TextCodec.h"
#include "registry/UnitRecord.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantel {

// One line of the list file, in the file code page, without the line end.
std::string FormatUnitLine(const UnitRecord& record, const TextCodec& codec);

// Why a line of the list file cannot be a unit: its model row is not a row of
// the catalogue, or it has fewer fields than that row's line has (a line cut
// short, or bytes that were never a list).
struct LineFault {
    enum class Kind { UnknownModel, TooFewFields };
    Kind kind = Kind::TooFewFields;
    std::string modelField; // UnknownModel: the field as it stands (file bytes)
    int fields = 0;         // TooFewFields: how many the line has
    int fieldsNeeded = 0;   // and how many its row needs (7 when the row is unknown yet)
};

// Nothing when the line can be read as a unit.
std::optional<LineFault> FindLineFault(std::string_view line);

// Reads one line (file code page, line end removed) that FindLineFault()
// accepted. Text is cut to its slot size at a character boundary.
UnitRecord ParseUnitLine(std::string_view line, const TextCodec& codec);

// Number readers that accept what the file has always held: the integer reader
// wraps like an unsigned read stored as signed ("-1" gives -1, text gives 0).
int ReadListInteger(std::string_view field);
double ReadListDouble(std::string_view field);

} // namespace vantel
