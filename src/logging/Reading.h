#pragma once

#include "logging/LocalTime.h"

#include <optional>
#include <string>
#include <vector>

namespace vantel {

// A column of a panel's CSV log as its header names it: the signal's name
// and, for an analog row, the "単位N" column after it that holds the value's
// unit text.
struct ColumnHeading {
    std::string name;
    bool withUnit = false;
};

// One column's value as a log line carries it.
struct ColumnValue {
    std::string value;
    std::optional<std::string> unitText; // set for the columns with a unit column
};

using ReadingValues = std::vector<ColumnValue>;

struct ReadingColumn {
    std::string name;
    std::string value;
    std::optional<std::string> unitText;
};

// What a panel logs at one moment: the content of one CSV line, with the
// column names of its header, in the header's order.
struct Reading {
    std::string unit;  // the unit's name in the list
    std::string model; // the model's display name
    LocalDateTime time;
    std::vector<ReadingColumn> columns;
};

// Joins the header's columns with the values of one line. Every value is
// kept (the CSV line is made from the reading); one beyond the header gets
// no name.
Reading MakeReading(std::string unit, std::string model, const LocalDateTime& time,
                    const std::vector<ColumnHeading>& headings, const ReadingValues& values);

// Where readings go: the CSV logger, the MQTT publisher. Called on the
// thread that logs (a panel's tick or a worker callback), so a sink must not
// wait on anything slow.
class ReadingSink {
public:
    virtual ~ReadingSink() = default;
    virtual void take(const Reading& reading) = 0;
};

} // namespace vantel
