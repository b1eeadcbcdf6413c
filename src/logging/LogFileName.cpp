#include "logging/LogFileName.h"

#include <cstdio>
#include <filesystem>

namespace vantel {

std::string LogBaseName(std::string_view folder, std::string_view cleanedName, int fileSwitchLines,
                        const LocalDateTime& created)
{
    std::string name(folder);
    if (name.empty() || name.back() != '/')
        name += '/';
    name += cleanedName;
    if (fileSwitchLines < 2)
        return name + ".csv";
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "_%02d%02d%02d_%02d%02d%02d", created.year, created.month, created.day,
                  created.hour, created.minute, created.second);
    return name + stamp;
}

std::string NumberedLogFile(std::string_view base, int fileNumber)
{
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "_%03d.csv", fileNumber);
    return std::string(base) + suffix;
}

std::string FreeSeriesBase(const std::string& base)
{
    std::string free = base;
    for (int series = 2; std::filesystem::exists(NumberedLogFile(free, 1)); ++series)
        free = base + "-" + std::to_string(series);
    return free;
}

} // namespace vantel
