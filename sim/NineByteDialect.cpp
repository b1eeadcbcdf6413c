#include "NineByteDialect.h"

#include "TwoByteDialect.h"
#include "registry/ModelCatalogue.h"

namespace vantel::sim {
namespace {

constexpr std::size_t kCommandSize = 9;
constexpr std::uint8_t kWrite = 0x1B;
constexpr std::uint8_t kWriteSelector = 0x07;
constexpr std::uint8_t kRead = 0x13;
constexpr std::size_t kWriteBitsAt = 5;
// Inputs beyond the five of the two-byte status word.
constexpr int kExtraInputShift = 5;

Bytes Reply(std::uint8_t kind, std::uint32_t value)
{
    return Bytes{kind, static_cast<std::uint8_t>(value), 0, 0, 0};
}

} // namespace

bool NineByteDialect::takeCommand(Bytes& inbox, Bytes& command) const
{
    return TakeFixedCommand(inbox, command, kCommandSize);
}

std::optional<Bytes> NineByteDialect::answer(const Bytes& command, UnitState& state, double /*seconds*/) const
{
    if (command[0] == kWrite && command[1] == kWriteSelector) {
        state.outputBits = command[kWriteBitsAt] & ((1u << row_.outputCount) - 1u);
        return Reply(kWrite, state.outputBits);
    }
    if (command[0] == kRead) {
        if (row_.outputCount > 0)
            return Reply(kRead, state.outputBits);
        return Reply(kRead, (state.inputBits >> kExtraInputShift) & 3u);
    }
    return std::nullopt;
}

} // namespace vantel::sim
