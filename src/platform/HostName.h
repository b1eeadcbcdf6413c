#pragma once

#include <string>

namespace vantel {

// This machine's host name; "localhost" when it has none.
std::string HostName();

} // namespace vantel
