#pragma once

#include "comm/protocol/AsciiReplies.h"

#include <functional>
#include <optional>
#include <variant>

// Requests served by the worker of a digital unit channel, in whichever
// dialect the unit's catalogue row selects. Each request holds its own
// arguments and its callback; the closure carries the posting panel.
// Callbacks run on the worker thread while the channel is locked. A callback
// gets its reply, or std::nullopt when the exchange failed.
namespace vantel::digital {

// Which part of an input read failed.
enum class InputsFailure {
    Exchange,    // the input read itself
    ExtraInputs, // only the extra query on the second port
};

// The input bits, or which part of the read failed.
using InputsResult = std::variant<int, InputsFailure>;

struct ReadInputs {
    static constexpr int kId = 0x8065;
    std::function<void(InputsResult inputs)> done;
};

struct WriteOutputs {
    static constexpr int kId = 0x8066;
    int outputs = 0;
    std::function<void(std::optional<int> outputs)> done;
};

// Sets the outputs in `mask` to `states`; only units speaking the ASCII
// dialect know it, for the others the request is dropped without a callback.
struct MaskedSet {
    static constexpr int kId = 0x8067;
    int states = 0;
    int mask = 0;
    int extra = 0; // handed back untouched
    std::function<void(std::optional<int> outputs, int extra)> done;
};

struct ReadOutputs {
    static constexpr int kId = 0x8068;
    std::function<void(std::optional<int> outputs)> done;
};

struct ReadModel {
    static constexpr int kId = 0x8069;
    std::function<void(std::optional<ascii::UnitIdentity> identity)> done;
};

using Request = std::variant<ReadInputs, WriteOutputs, MaskedSet, ReadOutputs, ReadModel>;

inline int MessageId(const Request& request)
{
    return std::visit([](const auto& r) { return r.kId; }, request);
}

} // namespace vantel::digital
