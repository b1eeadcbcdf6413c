#pragma once

#include <string>

namespace vantel {

// The local time now as "yyyyMMdd-HHmmss", for names of files kept aside.
std::string LocalFileStamp();

} // namespace vantel
