#include "logging/ReadingPublisher.h"

#include "logging/ReadingJson.h"

namespace vantel {

void ReadingPublisher::take(const Reading& reading)
{
    std::string json = ReadingJson(reading);
    client_.publish({topics_.reading(reading.unit), json, false});
    client_.publish({topics_.state(reading.unit), std::move(json), true});
}

void ReadingPublisher::availability(std::string_view unit, bool online)
{
    client_.publish({topics_.availability(unit), online ? "online" : "offline", true});
}

void ReadingPublisher::event(std::string_view unit, std::string json)
{
    client_.publish({topics_.event(unit), std::move(json), false});
}

} // namespace vantel
