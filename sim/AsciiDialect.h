#pragma once

#include "Dialect.h"

namespace vantel::sim {

// Two letters, arguments, 0xC8; replies echo the letters in lower case.
class AsciiDialect final : public Dialect {
public:
    explicit AsciiDialect(const ModelRow& row) : row_(row) {}

    bool takeCommand(Bytes& inbox, Bytes& command) const override;
    std::optional<Bytes> answer(const Bytes& command, UnitState& state, double seconds) const override;
    Bytes staleReply(const Bytes& reply, const Bytes& previousReply) const override;

private:
    const ModelRow& row_;
};

} // namespace vantel::sim
