#include "platform/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>

namespace vantel {

std::optional<int> ParseTimeoutArgument(std::string arg)
{
    const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    arg.erase(arg.begin(), std::find_if(arg.begin(), arg.end(), notSpace));
    arg.erase(std::find_if(arg.rbegin(), arg.rend(), notSpace).base(), arg.end());
    std::transform(arg.begin(), arg.end(), arg.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (arg.find("-T") == std::string::npos && arg.find("/T") == std::string::npos)
        return std::nullopt;
    const long value = std::strtol(arg.c_str() + 2, nullptr, 10);
    if (value < 1 || value > 19999)
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<std::int64_t> ParseTraceMaxMb(const std::string& text)
{
    constexpr std::int64_t kMaxMb = 100000;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > kMaxMb)
        return std::nullopt;
    return value;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](const char* option) -> std::string {
            if (i + 1 < args.size())
                return args[++i];
            result.error = std::string(option) + " needs a value";
            return {};
        };
        if (arg == "--list")
            result.listFile = value("--list");
        else if (arg == "--codepage")
            result.codePage = value("--codepage");
        else if (arg == "--search-target")
            result.searchTarget = value("--search-target");
        else if (arg == "--trace")
            result.traceFile = value("--trace");
        else if (arg == "--trace-max-mb") {
            const auto maxMb = ParseTraceMaxMb(value("--trace-max-mb"));
            if (maxMb)
                result.traceMaxMb = *maxMb;
            else if (result.error.empty())
                result.error = "--trace-max-mb needs 1-100000";
        } else if (arg == "--demo")
            result.demo = true;
        else if (arg == "--open") {
            // Every following argument up to the next option is a log file.
            const std::size_t first = result.openFiles.size();
            while (i + 1 < args.size() && !args[i + 1].starts_with("-") && !ParseTimeoutArgument(args[i + 1]))
                result.openFiles.push_back(args[++i]);
            if (result.openFiles.size() == first)
                result.error = "--open needs a file";
        } else if (arg == "--help" || arg == "-h")
            result.help = true;
        else if (arg == "--version")
            result.version = true;
        else if (const auto timeout = ParseTimeoutArgument(arg))
            result.timeoutMs = *timeout;
    }
    return result;
}

std::string CommandLineHelp()
{
    return "Usage: vantel [-T<ms>] [--list FILE] [--codepage CP] [--search-target ADDR:PORT] [--demo]\n"
           "             [--open FILE...] [--trace FILE [--trace-max-mb N]]\n"
           "  -T<ms>, /T<ms>   connect time-out for units and the search, 1-19999 ms (default 3000)\n"
           "  --list FILE      unit list file (default: vantel.dat beside the program, or ~/.config/vantel)\n"
           "  --codepage CP    code page of the list and log files: CP932 (default) or UTF-8\n"
           "  --search-target ADDR:PORT  send the search probes there instead of broadcasting\n"
           "                   (--demo: 127.0.0.1:30718, the simulator)\n"
           "  --demo           add a loopback adapter so simulated units can be reached\n"
           "  --open FILE...   open these CSV logs in a log viewer\n"
           "  --trace FILE     append every frame to and from the units to FILE, one line each\n"
           "  --trace-max-mb N at N MB (default 100) FILE becomes FILE.1 and a new FILE begins\n"
           "  --help           show this text\n"
           "  --version        show the version\n";
}

} // namespace vantel
