#pragma once

#include "Dialect.h"

namespace vantel::sim {

// Two-byte commands with two-byte replies, no terminator.
class TwoByteDialect final : public Dialect {
public:
    explicit TwoByteDialect(const ModelRow& row) : row_(row) {}

    bool takeCommand(Bytes& inbox, Bytes& command) const override;
    std::optional<Bytes> answer(const Bytes& command, UnitState& state, double seconds) const override;

private:
    const ModelRow& row_;
};

// The status word answering 0x55 0x55: identity and input bits in one reply.
Bytes EncodeTwoByteStatus(const ModelRow& row, const UnitState& state);

// Cuts `size`-byte commands from the front of `inbox`.
bool TakeFixedCommand(Bytes& inbox, Bytes& command, std::size_t size);

} // namespace vantel::sim
