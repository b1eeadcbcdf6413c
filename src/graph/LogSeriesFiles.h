#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantel {

// The parts of a switched log's file name, "NAME_yyyyMMdd_HHmmss_NNN.csv", or
// "NAME_yyyyMMdd_HHmmss-R_NNN.csv" for a second run opened within the same second.
struct SeriesFileName {
    std::string unit;  // NAME
    std::string stamp; // "yyyyMMdd_HHmmss": when the panel that wrote it opened
    int run = 1;       // R, from 2 when present
    int number = 0;    // NNN, from 1
};

// Nothing for a name that is not one of a switched series.
std::optional<SeriesFileName> ParseSeriesFileName(std::string_view fileName);

// Every file of every switched series the same unit wrote into the folder of
// `path` (an outage starts a new series), oldest series first and each in
// file-number order. Just `path` when it is not part of a series.
std::vector<std::string> SeriesFilesOfUnit(const std::string& path);

} // namespace vantel
