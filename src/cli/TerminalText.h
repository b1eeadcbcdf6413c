#pragma once

#include <string>
#include <string_view>

namespace vantel::ctl {

// `text` with every control character written as an escape (\t, \n, \r, or
// \xNN), so a name from a damaged list can neither move the terminal's
// cursor, change its colours nor split a line of the journal.
std::string Printable(std::string_view text);

} // namespace vantel::ctl
