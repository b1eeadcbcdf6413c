#pragma once

#include "registry/UnitRecord.h"

#include <iosfwd>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vantel::ctl {

// `--unit NAME [--list FILE] [--codepage CP]` in place of HOST[:PORT] --model
// ROW: the unit of the list by its name.
struct NamedUnit {
    bool given = false; // --unit was on the command line
    std::optional<UnitRecord> unit;
    int exitCode = 0; // when given and not found
};

NamedUnit FindNamedUnit(const std::vector<std::string>& args, const std::set<std::string>& flags, std::ostream& err);

// The same command line for a unit on the LAN: the list options replaced by
// the unit's HOST:PORT first, its --model and --second-port.
std::vector<std::string> WithUnitAddress(const std::vector<std::string>& args, const UnitRecord& unit);

} // namespace vantel::ctl
