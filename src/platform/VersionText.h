#pragma once

#include <string>

namespace vantel {

// "Version 1.03" for 1.0.3.0, "Version 2.105" for 2.1.0.5.
std::string VersionText(int major, int minor, int third, int fourth);

// The text for the version this program was built as.
std::string ProgramVersionText();

} // namespace vantel
