#include "logging/MqttTopics.h"

namespace vantel {

std::string TopicSafeName(std::string_view unitName)
{
    std::string safe;
    safe.reserve(unitName.size());
    for (const char c : unitName) {
        const auto byte = static_cast<unsigned char>(c);
        const bool special = c == '/' || c == '+' || c == '#' || byte < 0x20 || byte == 0x7F;
        safe += special ? '_' : c;
    }
    if (safe.empty())
        return "_";
    if (safe.front() == '$')
        safe.front() = '_';
    return safe;
}

} // namespace vantel
