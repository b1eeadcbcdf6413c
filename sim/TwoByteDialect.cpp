#include "TwoByteDialect.h"

#include "registry/ModelCatalogue.h"

namespace vantel::sim {
namespace {

constexpr std::uint8_t kWriteOutputs = 0xF0;
constexpr std::uint8_t kReadOutputs = 0xE0;
constexpr std::uint8_t kStatus = 0x55;

// Serial-interface units report their model in bits 4-6 of the first byte
// with 7 in the high nibble of the second.
int SerialModelBits(int modelCode)
{
    switch (modelCode) {
    case 9:
        return 0x20;
    case 10:
        return 0x30;
    case 7:
        return 0x40;
    case 8:
        return 0x50;
    default:
        return 0x00;
    }
}

} // namespace

Bytes EncodeTwoByteStatus(const ModelRow& row, const UnitState& state)
{
    const int idBits = 15 - (state.unitId & 15);
    const auto inputs = static_cast<int>(state.inputBits);
    if (row.has(ModelFlag::SerialInterface)) {
        return Bytes{static_cast<std::uint8_t>(SerialModelBits(state.modelCode) | idBits),
                     static_cast<std::uint8_t>(0x70 | (inputs & 3))};
    }
    return Bytes{static_cast<std::uint8_t>(((inputs & 1) << 7) | ((state.modelCode & 7) << 4) | idBits),
                 static_cast<std::uint8_t>((inputs >> 1) & 0x0F)};
}

bool TakeFixedCommand(Bytes& inbox, Bytes& command, std::size_t size)
{
    if (inbox.size() < size)
        return false;
    command.assign(inbox.begin(), inbox.begin() + static_cast<std::ptrdiff_t>(size));
    inbox.erase(inbox.begin(), inbox.begin() + static_cast<std::ptrdiff_t>(size));
    return true;
}

bool TwoByteDialect::takeCommand(Bytes& inbox, Bytes& command) const
{
    return TakeFixedCommand(inbox, command, 2);
}

std::optional<Bytes> TwoByteDialect::answer(const Bytes& command, UnitState& state, double /*seconds*/) const
{
    if (command[0] == kWriteOutputs) {
        state.outputBits = command[1] & ((1u << row_.outputCount) - 1u);
        return Bytes{kWriteOutputs, static_cast<std::uint8_t>(state.outputBits)};
    }
    if (command[0] == kReadOutputs && command[1] == 0x00)
        return Bytes{kReadOutputs, static_cast<std::uint8_t>(state.outputBits)};
    if (command[0] == kStatus && command[1] == kStatus)
        return EncodeTwoByteStatus(row_, state);
    return std::nullopt;
}

} // namespace vantel::sim
