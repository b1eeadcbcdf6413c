// The simulator decodes whatever the program sends; no byte sequence may
// crash it or make it read past a command.
#include "Dialect.h"
#include "registry/ModelCatalogue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 23> kLetters{"AI", "AO", "AY", "AJ", "AR", "AP", "AK", "AL",
                                                    "DO", "DK", "DY", "DI", "DS", "DJ", "DL", "MI",
                                                    "MD", "SN", "MR", "TJ", "TC", "NJ", "ZZ"};

void Feed(const vantel::sim::Dialect& dialect, vantel::sim::Bytes inbox, vantel::sim::UnitState& state)
{
    vantel::sim::Bytes command;
    while (dialect.takeCommand(inbox, command)) {
        if (const auto reply = dialect.answer(command, state, 1.5))
            dialect.staleReply(*reply, command);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const vantel::ModelRow& row = vantel::ModelAt(data[0] % vantel::kModelCount);
    vantel::sim::UnitState state = vantel::sim::MakeInitialState(row.index, data[1] & 15);
    const vantel::sim::Bytes raw(data + 2, data + size);

    // A well-formed head with fuzzed arguments reaches every handler.
    vantel::sim::Bytes shaped;
    vantel::sim::AppendText(shaped, kLetters[data[1] % kLetters.size()]);
    shaped.insert(shaped.end(), raw.begin(), raw.end());
    shaped.push_back(vantel::sim::kTerminator);

    Feed(*vantel::sim::MakeControlDialect(row), raw, state);
    Feed(*vantel::sim::MakeControlDialect(row), shaped, state);
    Feed(*vantel::sim::MakeSecondPortDialect(row), raw, state);
    return 0;
}
