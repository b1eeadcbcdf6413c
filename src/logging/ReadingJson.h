#pragma once

#include "logging/Reading.h"

#include <string>
#include <string_view>

namespace vantel {

// "2026-12-10T09:30:05+09:00": the local time with its offset from UTC.
std::string IsoTime(const LocalDateTime& t);

// `text` as a JSON string literal, quotes included.
std::string JsonString(std::string_view text);

// A reading as one JSON object (docs/reading.schema.json):
// {"time":"...","unit":"...","model":"...","columns":[{"name":"AI1","value":1.5,"unit":"V"},...]}
// A value that is a JSON number ("1", "-0.00001") is written as a number,
// anything else as a string; "unit" is there for the columns with a unit.
std::string ReadingJson(const Reading& reading);

} // namespace vantel
