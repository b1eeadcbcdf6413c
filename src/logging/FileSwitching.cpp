#include "logging/FileSwitching.h"

#include "logging/CsvLogger.h"

namespace vantel {

int FileSwitchingValue(bool switchingOn, int linesItem)
{
    if (!switchingOn)
        return CsvLogger::kSwitchingOff;
    if (linesItem < 0 || linesItem >= static_cast<int>(kLinesPerFile.size()))
        linesItem = kDefaultLinesItem;
    return kLinesPerFile[static_cast<std::size_t>(linesItem)];
}

} // namespace vantel
