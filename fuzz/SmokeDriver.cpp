// Stand-in for libFuzzer's main: feeds a fixed number of pseudo-random inputs
// (seeded, so a failure repeats) plus a few hand-picked edge cases into the target.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    const long runs = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10000;
    const std::vector<std::string> edges = {
        "",     ",",    "\"",      "\"\"", std::string(1, '\0'), std::string(300, ','), std::string(5000, 'x'),
        "\xC8", "\x81", "\xFF\xFE"};
    for (const auto& e : edges)
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(e.data()), e.size());

    std::mt19937 rng(12345);
    // Bias towards bytes that matter to text protocols and CSV-like formats.
    const std::string alphabet = "0123456789ABCDEFabcdef,\":#!-.\r\n \x81\x82\xC8\xFF";
    std::vector<std::uint8_t> buf;
    for (long i = 0; i < runs; ++i) {
        const std::size_t len = rng() % 600;
        buf.resize(len);
        const bool raw = rng() % 4 == 0;
        for (auto& b : buf)
            b = raw ? static_cast<std::uint8_t>(rng()) : static_cast<std::uint8_t>(alphabet[rng() % alphabet.size()]);
        LLVMFuzzerTestOneInput(buf.data(), buf.size());
    }
    return 0;
}
