#pragma once

#include "Bytes.h"
#include "UnitState.h"

#include <memory>
#include <optional>

namespace vantel {
struct ModelRow;
}

namespace vantel::sim {

// One command language of a unit: how commands are cut out of the byte
// stream and how the unit answers them.
class Dialect {
public:
    virtual ~Dialect() = default;

    // Moves the first complete command from the front of `inbox` into
    // `command`; false while no complete command has arrived.
    virtual bool takeCommand(Bytes& inbox, Bytes& command) const = 0;

    // The unit's reply to `command` (updating `state`), or nothing for bytes
    // the unit does not understand. `seconds` runs from the unit's start.
    virtual std::optional<Bytes> answer(const Bytes& command, UnitState& state, double seconds) const = 0;

    // A reply that belongs to some earlier command, sent ahead of `reply`.
    // Fixed-size binary replies carry no echo; a late one looks like the one
    // before it (or all zeros when nothing was sent yet).
    virtual Bytes staleReply(const Bytes& reply, const Bytes& previousReply) const;
};

bool SpeaksAscii(const ModelRow& row);
bool HasSecondPort(const ModelRow& row);

// The dialect of the control port and of the second port of two-port rows.
std::unique_ptr<Dialect> MakeControlDialect(const ModelRow& row);
std::unique_ptr<Dialect> MakeSecondPortDialect(const ModelRow& row);

} // namespace vantel::sim
