#include "platform/VersionText.h"

namespace vantel {

std::string VersionText(int major, int minor, int third, int fourth)
{
    std::string text = "Version " + std::to_string(major) + "." + std::to_string(minor) + std::to_string(third);
    if (fourth != 0)
        text += std::to_string(fourth);
    return text;
}

std::string ProgramVersionText()
{
    return VersionText(VANTEL_VERSION_MAJOR, VANTEL_VERSION_MINOR, VANTEL_VERSION_PATCH, VANTEL_VERSION_TWEAK);
}

} // namespace vantel
