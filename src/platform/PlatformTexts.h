#pragma once

#include <cstddef>
#include <string>

// What the platform layer says about its own failures; the reasons read
// after "cannot read FILE: ".
namespace vantel {

// Followed by the code page named on the command line.
inline constexpr const char* kUnknownCodePage = "unknown code page: ";

inline constexpr const char* kIsFolder = "it is a folder";
inline constexpr const char* kNotRegularFile = "it is not a regular file";
// "it is larger than 64 KiB", or "... 1000 bytes" when not whole KiB.
inline std::string LargerThanText(std::size_t bytes)
{
    constexpr std::size_t kKiB = 1024;
    return "it is larger than " +
           (bytes % kKiB == 0 ? std::to_string(bytes / kKiB) + " KiB" : std::to_string(bytes) + " bytes");
}

} // namespace vantel
