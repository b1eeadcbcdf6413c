#pragma once

#include <array>

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

} // namespace vantel::GraphPageId
