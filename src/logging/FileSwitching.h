#pragma once

#include <array>

namespace vantel {

// The choices of the main window's lines box: lines per log file when
// automatic file switching is on.
inline constexpr std::array<int, 4> kLinesPerFile = {1000, 10000, 100000, 1000000};
// The item the box starts with.
inline constexpr int kDefaultLinesItem = 1;

// Lines per log file for an item of the lines box; -1 when switching is off.
// An item outside the box counts as its default, 10000.
int FileSwitchingValue(bool switchingOn, int linesItem);

} // namespace vantel
