#pragma once

#include "comm/protocol/ValueConversion.h"
#include "logging/CsvLogger.h"
#include "logging/LocalTime.h"
#include "logging/LogFileName.h"

#include <ctime>
#include <string>

namespace vantel::test {

// Headers as the panel classes build them, with signal names in their boxes.
inline constexpr const char* kDigitalHeader = "日付,時刻,DO1,DO2,DO3,DO4,DI1,DI2,DI3,DI4\n";
inline constexpr const char* kAnalogInputHeader = "日付,時刻,AI1,単位1,AI2,単位2,AI3,単位3,DO1,DO2\n";
inline constexpr const char* kAnalogOutputHeader = "日付,時刻,DI1,DI2,DI3,AO1,単位1,AO2,単位2\n";
inline constexpr const char* kFiveInputHeader = "日付,時刻,温度,単位1,AI2,単位2,AI3,単位3,AI4,単位4,AI5,単位5\n";

// A moment of the machine's local calendar, as the logs write it.
inline std::time_t LocalMoment(const LocalDateTime& local)
{
    std::tm moment{};
    moment.tm_year = local.year - 1900;
    moment.tm_mon = local.month - 1;
    moment.tm_mday = local.day;
    moment.tm_hour = local.hour;
    moment.tm_min = local.minute;
    moment.tm_sec = local.second;
    moment.tm_isdst = -1;
    return std::mktime(&moment);
}

inline LocalDateTime LocalOf(std::time_t at)
{
    std::tm local{};
    localtime_r(&at, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

// Writes a log the way a panel does: the file name of its unit and opening
// time, its header, and each line as the date and time of the reading in the
// program's format followed by the values, handed to the panels' CsvLogger.
class PanelLogWriter {
public:
    PanelLogWriter(const std::string& folder, const std::string& unit, const char* header, int fileSwitchLines,
                   std::time_t opened, const TextCodec& codec)
        : logger_(codec), base_(LogBaseName(folder, unit, fileSwitchLines, LocalOf(opened)))
    {
        logger_.Open(base_, header, fileSwitchLines);
    }

    // `values`: the panel's fields after the time, each with its leading comma.
    void write(std::time_t at, const std::string& values)
    {
        const LocalDateTime local = LocalOf(at);
        logger_.WriteLine(LogDate(local) + "," + LogTime(local) + values + "\n");
    }

    const std::string& base() const { return base_; }
    std::string currentFile() const { return logger_.currentFileName(); }

private:
    CsvLogger logger_;
    std::string base_;
};

// "yyyy/MM/dd HH:mm:ss" of a moment, as vantelctl plot takes it.
inline std::string DefaultDateTimeText(std::time_t at)
{
    const LocalDateTime local = LocalOf(at);
    return LogDate(local) + " " + LogTime(local);
}

// ",value,unit" of an analog channel, as the panels format it.
inline std::string AnalogField(double value, const std::string& unit)
{
    return "," + FormatCompact(value) + "," + unit;
}

} // namespace vantel::test
