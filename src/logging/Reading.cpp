#include "logging/Reading.h"

namespace vantel {

Reading MakeReading(std::string unit, std::string model, const LocalDateTime& time,
                    const std::vector<ColumnHeading>& headings, const ReadingValues& values)
{
    Reading reading{std::move(unit), std::move(model), time, {}};
    reading.columns.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        reading.columns.push_back(
            {i < headings.size() ? headings[i].name : std::string(), values[i].value, values[i].unitText});
    return reading;
}

} // namespace vantel
