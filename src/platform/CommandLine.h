#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantel {

inline constexpr std::int64_t kDefaultTraceMaxMb = 100;

struct CommandLine {
    int timeoutMs = 0; // 0: not given
    std::string listFile;
    std::string codePage = "CP932";
    std::string searchTarget;           // "ADDR:PORT" the search probes instead of the broadcast
    std::vector<std::string> openFiles; // CSV logs to open in a viewer at start
    std::string traceFile;              // --trace: every frame to and from the units goes there
    std::int64_t traceMaxMb = kDefaultTraceMaxMb;
    bool demo = false;
    bool help = false;
    bool version = false;
    std::string error; // non-empty when an option is malformed
};

// The program's options: "-T<ms>" or "/T<ms>" in any case (1-19999 ms, else
// ignored), "--list FILE", "--codepage CP", "--search-target ADDR:PORT", "--demo",
// "--open FILE..." (the files up to the next option),
// "--trace FILE", "--trace-max-mb N", "--help", "--version".
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The size limit of a trace file in MB, 1-100000; nothing for anything else.
std::optional<std::int64_t> ParseTraceMaxMb(const std::string& text);

// The connect time-out override carried by one argument, if it is one.
std::optional<int> ParseTimeoutArgument(std::string arg);

std::string CommandLineHelp();

} // namespace vantel
