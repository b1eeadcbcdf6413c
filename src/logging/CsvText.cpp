#include "logging/CsvText.h"

namespace vantel {
namespace {

// Both kinds of column carry `value` and `unitText`.
template <typename Columns> void AppendValues(std::string& text, const Columns& columns)
{
    for (const auto& column : columns) {
        text += "," + column.value;
        if (column.unitText)
            text += "," + *column.unitText;
    }
}

} // namespace

std::string CsvHeaderLine(const std::vector<ColumnHeading>& headings)
{
    std::string header = "日付,時刻";
    int unitColumns = 0;
    for (const ColumnHeading& heading : headings) {
        header += "," + heading.name;
        if (heading.withUnit)
            header += ",単位" + std::to_string(++unitColumns);
    }
    return header + "\n";
}

std::string CsvValuesText(const ReadingValues& values)
{
    std::string text;
    AppendValues(text, values);
    return text;
}

std::string CsvDataLine(const Reading& reading)
{
    std::string line = LogDate(reading.time) + ',' + LogTime(reading.time);
    AppendValues(line, reading.columns);
    return line + "\n";
}

ReadingValues BitColumns(int bits, int count)
{
    ReadingValues values;
    for (int channel = 0; channel < count; ++channel)
        values.push_back({((bits >> channel) & 1) != 0 ? "1" : "0", std::nullopt});
    return values;
}

} // namespace vantel
