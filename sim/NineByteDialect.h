#pragma once

#include "Dialect.h"

namespace vantel::sim {

// Nine-byte commands with five-byte replies on the second port of two-port units.
class NineByteDialect final : public Dialect {
public:
    explicit NineByteDialect(const ModelRow& row) : row_(row) {}

    bool takeCommand(Bytes& inbox, Bytes& command) const override;
    std::optional<Bytes> answer(const Bytes& command, UnitState& state, double seconds) const override;

private:
    const ModelRow& row_;
};

} // namespace vantel::sim
