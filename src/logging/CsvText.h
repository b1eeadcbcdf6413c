#pragma once

#include "logging/Reading.h"

#include <string>
#include <vector>

namespace vantel {

// The header line of a panel's log: "日付,時刻", then each column's name
// and, for a column with a unit, "単位N" (N counting those columns from 1).
std::string CsvHeaderLine(const std::vector<ColumnHeading>& headings);
// The values of a line, each with its leading comma: ",1.50000,V,0,1".
std::string CsvValuesText(const ReadingValues& values);
// The whole line of a reading: "yyyy/MM/dd,HH:mm:ss" + its values + "\n".
std::string CsvDataLine(const Reading& reading);
// One "0"/"1" column per channel, lowest channel first.
ReadingValues BitColumns(int bits, int count);

} // namespace vantel
