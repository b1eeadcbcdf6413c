#pragma once

#include "platform/CommandLine.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantel::ctl {

// --trace FILE [--trace-max-mb N], which every command that talks to units takes.
struct TraceArgs {
    std::optional<std::string> file;
    std::int64_t maxMb = kDefaultTraceMaxMb;
    std::string error; // non-empty when one of them is malformed
};

// Takes the trace options out of a command's arguments, leaving the rest
// for the command itself.
TraceArgs TakeTraceArgs(std::vector<std::string>& args);

} // namespace vantel::ctl
