#include "graph/LogHeader.h"

#include "graph/GraphTexts.h"

namespace vantel {
std::size_t SplitLogFields(std::string_view line, std::string_view* fields, std::size_t capacity)
{
    std::size_t count = 0;
    const char* start = line.data();
    const char* const end = line.data() + line.size();
    for (const char* at = start;; ++at) {
        if (at == end || *at == ',') {
            if (count < capacity)
                fields[count] = std::string_view(start, static_cast<std::size_t>(at - start));
            ++count;
            if (at == end)
                return count;
            start = at + 1;
        }
    }
}

std::vector<std::string_view> SplitLogLine(std::string_view line)
{
    std::vector<std::string_view> fields(SplitLogFields(line, nullptr, 0));
    SplitLogFields(line, fields.data(), fields.size());
    return fields;
}

std::optional<LogLayout> ParseLogHeader(std::string_view header)
{
    const std::vector<std::string_view> fields = SplitLogLine(header);
    if (fields.size() < 3 || fields[0] != "日付" || fields[1] != "時刻")
        return std::nullopt;
    LogLayout layout;
    layout.fieldCount = fields.size();
    int nextUnit = 1;
    for (std::size_t field = 2; field < fields.size(); ++field) {
        // A unit column belongs to the value column before it.
        if (fields[field] == "単位" + std::to_string(nextUnit) && !layout.columns.empty() &&
            layout.columns.back().valueField == field - 1 && !layout.columns.back().unitField) {
            layout.columns.back().unitField = field;
            ++nextUnit;
            continue;
        }
        layout.columns.push_back({std::string(fields[field]), field, std::nullopt});
    }
    return layout;
}

std::string ColumnDisplayName(const LogColumn& column)
{
    return column.name.empty() ? UnnamedColumnText(column.valueField + 1) : column.name;
}

} // namespace vantel
