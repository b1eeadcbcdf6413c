#include "cli/TraceArgs.h"

namespace vantel::ctl {

TraceArgs TakeTraceArgs(std::vector<std::string>& args)
{
    TraceArgs trace;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg != "--trace" && arg != "--trace-max-mb") {
            rest.push_back(arg);
            continue;
        }
        if (i + 1 == args.size()) {
            trace.error = arg + " needs a value";
            break;
        }
        const std::string& value = args[++i];
        if (arg == "--trace") {
            trace.file = value;
        } else if (const auto maxMb = ParseTraceMaxMb(value)) {
            trace.maxMb = *maxMb;
        } else {
            trace.error = "--trace-max-mb needs 1-100000, not " + value;
        }
    }
    args = std::move(rest);
    return trace;
}

} // namespace vantel::ctl
