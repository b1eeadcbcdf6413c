// The list file is often edited by hand: any bytes must be checked without
// faults; a line taken as a unit must save as a line that is taken again and
// reads back to the same record.
#include "registry/UnitListFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const vantel::TextCodec codec("CP932");
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    if (vantel::FindLineFault(line))
        return 0;
    const vantel::UnitRecord first = vantel::ParseUnitLine(line, codec);
    const std::string saved = vantel::FormatUnitLine(first, codec);
    if (vantel::FindLineFault(saved))
        std::abort();
    const vantel::UnitRecord second = vantel::ParseUnitLine(saved, codec);
    if (vantel::FormatUnitLine(second, codec) != saved)
        std::abort();
    return 0;
}
