#pragma once

#include <utility>

namespace vantel {

// Calls a request's callback when the poster gave one.
template <typename Callback, typename... Args> void Notify(const Callback& callback, Args&&... args)
{
    if (callback) {
        callback(std::forward<Args>(args)...);
    }
}

} // namespace vantel
