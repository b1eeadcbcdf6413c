#pragma once

#include "comm/link/TraceRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantel {

// The text form of a record, one line of a --trace file or a saved trace:
//   time TAB unit TAB direction TAB hex TAB meaning LF
// time is local "yyyy-MM-dd HH:mm:ss.zzz"; direction is "sent", "received"
// or "event"; hex is HexOf() of the bytes (empty for most events). A tab or
// line break inside the unit or the meaning becomes a space, so a line is
// always exactly five fields.
std::string FormatTraceLine(const TraceRecord& record);
// The record of a line written by FormatTraceLine() (with or without its
// line feed), or nothing for a line that is not one.
std::optional<TraceRecord> ParseTraceLine(std::string_view line);

// Local time of `wallMs`, "yyyy-MM-dd HH:mm:ss.zzz".
std::string FormatTraceTime(std::int64_t wallMs);
std::optional<std::int64_t> ParseTraceTime(std::string_view text);

std::string_view DirectionWord(TraceDirection direction);

} // namespace vantel
