#include "cli/ListArgs.h"

#include "platform/AppPaths.h"

#include <ostream>

namespace vantel::ctl {

OpenedList::OpenedList(const CtlArgs& args)
    : codec(args.option("--codepage", "CP932")), list(args.option("--list", DefaultAppPaths().listFile), codec)
{
}

bool UsableListArgs(const CtlArgs& args, const std::set<std::string>& known, std::ostream& err)
{
    if (!args.error().empty()) {
        err << args.error() << "\n";
        return false;
    }
    if (const auto unknown = args.unknown(known); !unknown.empty()) {
        err << "unknown option " << unknown.front() << "\n";
        return false;
    }
    if (!TextCodec::isSupported(args.option("--codepage", "CP932"))) {
        err << "unknown code page: " << args.option("--codepage", "") << "\n";
        return false;
    }
    return true;
}

} // namespace vantel::ctl
