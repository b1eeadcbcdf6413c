#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace vantel::GraphPageId {

inline constexpr int Period = 1290;
inline constexpr int FirstLabel = 1291;     // row names, 1291 + row
inline constexpr int SecondRowCheck = 1300; // rows 4-6: 1300 + row - 3
inline constexpr int FirstRowCheck = 1303;  // rows 1-3: 1303 + row
inline constexpr int SeriesList = 1310;
inline constexpr int FirstValue = 1311;  // 1311 + row
inline constexpr int FirstSwatch = 1317; // 1317 + row
inline constexpr int FirstScale = 1323;  // 1323 + row
inline constexpr int Rows = 6;

inline constexpr std::array<const char*, 10> kPeriodItems{"1min",  "2min",  "5min",  "10min",  "30min",
                                                          "1hour", "2hour", "6hour", "12hour", "24hour"};
// Texts the page starts with, before the kind adapts them.
inline constexpr std::array<const char*, Rows> kCheckTexts{"AI1", "AI2", "AI3", "DO1", "DO2", "DO3"};
inline constexpr std::array<const char*, Rows> kLabelTexts{"AI1:", "AI2:", "AI3:", "DO1:", "DO2:", "DO3:"};

// Check box of a row (0-5).
constexpr int CheckOfRow(int row)
{
    return row < 3 ? FirstRowCheck + row : SecondRowCheck + row - 3;
}

// The page's controls by name, as the kind table lists those a kind hides:
// "Period", "SeriesList", and per row (1-6) "CheckN", "LabelN", "ValueN",
// "SwatchN" and "ScaleN". nullopt for any other name.
constexpr std::optional<int> ControlNamed(std::string_view name)
{
    if (name == "Period")
        return Period;
    if (name == "SeriesList")
        return SeriesList;
    if (name.size() < 2)
        return std::nullopt;
    const int row = name.back() - '1';
    if (row < 0 || row >= Rows)
        return std::nullopt;
    name.remove_suffix(1);
    if (name == "Check")
        return CheckOfRow(row);
    if (name == "Label")
        return FirstLabel + row;
    if (name == "Value")
        return FirstValue + row;
    if (name == "Swatch")
        return FirstSwatch + row;
    if (name == "Scale")
        return FirstScale + row;
    return std::nullopt;
}

} // namespace vantel::GraphPageId
