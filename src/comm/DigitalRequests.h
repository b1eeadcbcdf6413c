#pragma once

#include <functional>
#include <variant>

// Requests served by the worker of a digital unit channel, in whichever
// dialect the unit's catalogue row selects. Each request holds its own
// arguments and its callback; the closure carries the posting panel.
// Callbacks run on the worker thread while the channel is locked.
namespace vantel::digital {

inline constexpr int kFailed = -1;
// Only the extra input query on the second port failed.
inline constexpr int kExtraInputsFailed = -2;

struct ReadInputs {
    static constexpr int kId = 0x8065;
    std::function<void(int inputs)> done; // failure: (−1), or (−2)
};

struct WriteOutputs {
    static constexpr int kId = 0x8066;
    int outputs = 0;
    std::function<void(int outputs)> done; // failure: (−1)
};

// Sets the outputs in `mask` to `states`; only units speaking the ASCII
// dialect know it, for the others the request is dropped without a callback.
struct MaskedSet {
    static constexpr int kId = 0x8067;
    int states = 0;
    int mask = 0;
    int extra = 0;                                    // handed back untouched
    std::function<void(int outputs, int extra)> done; // failure: (−1, −1)
};

struct ReadOutputs {
    static constexpr int kId = 0x8068;
    std::function<void(int outputs)> done; // failure: (−1)
};

struct ReadModel {
    static constexpr int kId = 0x8069;
    std::function<void(int unitId, int modelCode)> done; // failure: (−1, −1)
};

using Request = std::variant<ReadInputs, WriteOutputs, MaskedSet, ReadOutputs, ReadModel>;

inline int MessageId(const Request& request)
{
    return std::visit([](const auto& r) { return r.kId; }, request);
}

} // namespace vantel::digital
