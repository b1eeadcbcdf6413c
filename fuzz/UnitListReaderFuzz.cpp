// The list file is often edited by hand: any bytes must read without faults,
// and what is read must save and read back to the same record.
#include "registry/UnitListFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const vantel::TextCodec codec("CP932");
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const vantel::UnitRecord first = vantel::ParseUnitLine(line, codec);
    const std::string saved = vantel::FormatUnitLine(first, codec);
    const vantel::UnitRecord second = vantel::ParseUnitLine(saved, codec);
    if (vantel::FormatUnitLine(second, codec) != saved)
        std::abort();
    return 0;
}
