#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantel {

// One traced column of a panel's log: a value field and, for an analog
// channel, the unit field that follows it.
struct LogColumn {
    std::string name; // as the header has it; may be empty
    std::size_t valueField = 0;
    std::optional<std::size_t> unitField;
    bool analog() const { return unitField.has_value(); }
};

// What the header line of a panel's log says about its lines.
struct LogLayout {
    std::vector<LogColumn> columns;
    std::size_t fieldCount = 0;
};

// The header every log of ours starts with.
inline constexpr std::string_view kLogHeaderStart = "日付,時刻";

// Reads a header line (UTF-8, without its line end): "日付,時刻", then the
// signal names, each analog one followed by "単位N" with N counting from 1.
// Nothing when the line is not such a header.
std::optional<LogLayout> ParseLogHeader(std::string_view header);

// The fields of one line, split at commas. Returns how many there are; the
// first `capacity` of them are stored.
std::size_t SplitLogFields(std::string_view line, std::string_view* fields, std::size_t capacity);
std::vector<std::string_view> SplitLogLine(std::string_view line);

// The name a column is shown under: its own, or "列N" (its field number
// from 1) when the header leaves it empty.
std::string ColumnDisplayName(const LogColumn& column);

} // namespace vantel
