// Lines per second of the CSV logger, which opens, locks, appends and closes
// the file for every line, against the floor: write() of the same bytes on a
// file kept open. Prints figures and their ratio; asserts nothing.
#include "logging/CsvLogger.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using Seconds = std::chrono::duration<double>;

constexpr const char* kHeader = "日付,時刻,DO1,DO2,DO3,DO4,DI1,DI2,DI3,DI4\n";
constexpr const char* kLine = "2026/12/06,23:15:00,1,0,1,0,0,1,1,0\n";

template <typename Body> double linesPerSecond(int lines, Body body)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < lines; ++i)
        body();
    return lines / Seconds(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    const int lines = argc > 1 ? std::atoi(argv[1]) : 20000;
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "vantel-logbench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 1;
    const fs::path folder = pattern;

    vantel::CsvLogger logger;
    logger.Open((folder / "logger.csv").string(), kHeader, vantel::CsvLogger::kSwitchingOff);
    const double ours = linesPerSecond(lines, [&] { logger.WriteLine(kLine); });

    // The floor: the bytes the logger writes (file code page, CR LF), on one descriptor.
    const std::string bytes = *vantel::FileCodec().encode("2026/12/06,23:15:00,1,0,1,0,0,1,1,0\r\n");
    const int fd = ::open((folder / "raw.csv").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const double floor = linesPerSecond(lines, [&] {
        if (::write(fd, bytes.data(), bytes.size()) < 0)
            std::perror("write");
    });
    ::close(fd);

    std::printf("CSV logger, %d lines\n", lines);
    std::printf("  open/lock/append/close per line: %10.0f lines/s\n", ours);
    std::printf("  write() on an open file:         %10.0f lines/s\n", floor);
    std::printf("  ratio floor / logger:            %10.1f\n", floor / ours);
    std::printf("  headroom over the busiest panel (20 lines/s): %.0fx\n", ours / 20.0);
    fs::remove_all(folder);
    return 0;
}
