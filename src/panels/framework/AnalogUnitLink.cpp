#include "panels/framework/AnalogUnitLink.h"

#include <type_traits>

namespace vantel {

void FailRequest(analog::Request& request)
{
    std::visit(
        [](auto& unanswered) {
            if (!unanswered.done)
                return;
            if constexpr (std::is_same_v<std::decay_t<decltype(unanswered)>, analog::ReadDigitalInputs>)
                unanswered.done(std::nullopt, unanswered.extra);
            else if constexpr (requires { unanswered.channel; })
                unanswered.done(unanswered.channel, std::nullopt);
            else
                unanswered.done(std::nullopt);
        },
        request);
}

} // namespace vantel
