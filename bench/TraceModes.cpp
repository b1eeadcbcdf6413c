#include "TraceModes.h"

#include "comm/link/TraceFileWriter.h"
#include "comm/link/TraceHub.h"
#include "comm/link/TraceRing.h"

#include <cstdio>
#include <cstdlib>

namespace vantel::bench {

std::vector<TraceMode> TraceModes(const std::filesystem::path& folder)
{
    auto file = std::make_shared<TraceFileWriter>();
    if (!file->open((folder / "trace.tsv").string())) {
        std::fprintf(stderr, "cannot write the trace file in %s\n", folder.c_str());
        std::exit(1);
    }
    return {{"trace off", nullptr}, {"trace to file", file}, {"trace to ring", std::make_shared<TraceRing>()}};
}

TracedRun::TracedRun(const TraceMode& mode)
{
    if (mode.sink)
        id_ = TraceHub::process().attach(mode.sink);
}

TracedRun::~TracedRun()
{
    if (id_ != 0)
        TraceHub::process().detach(id_);
}

} // namespace vantel::bench
