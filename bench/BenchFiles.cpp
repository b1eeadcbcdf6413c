#include "BenchFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>

namespace vantel::bench {

void RaiseFileLimit(int units)
{
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    const rlim_t wanted = static_cast<rlim_t>(units) * 4 + 256;
    if (limit.rlim_cur >= wanted)
        return;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, limit.rlim_max);
    if (::setrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur < wanted)
        std::fprintf(stderr, "warning: open-file limit %lu is below the %lu this run needs\n",
                     static_cast<unsigned long>(limit.rlim_cur), static_cast<unsigned long>(wanted));
}

long LoggedLines(const std::filesystem::path& folder)
{
    long lines = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".csv")
            continue;
        std::ifstream file(entry.path(), std::ios::binary);
        const auto count = std::count(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>(), '\n');
        lines += static_cast<long>(count) - 1;
    }
    return lines;
}

std::filesystem::path MakeScratchFolder(const char* prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        return {};
    return pattern;
}

} // namespace vantel::bench
