// Stand-in for libFuzzer's main: replays the files and folders named on the
// command line (the target's seeds, or one finding to reproduce), then feeds
// a fixed number of pseudo-random inputs (seeded, so a failure repeats) plus a
// few hand-picked edge cases into the target.
//   target [RUNS] [FILE|FOLDER]...
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Replay(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

// Returns how many files it replayed.
int ReplayAll(const std::filesystem::path& path)
{
    if (!std::filesystem::is_directory(path)) {
        Replay(path);
        return 1;
    }
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
        if (entry.is_regular_file()) {
            Replay(entry.path());
            ++count;
        }
    }
    return count;
}

void RunRandom(long runs)
{
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
}

} // namespace

int main(int argc, char** argv)
{
    long runs = 0;
    for (int i = 1; i < argc; ++i) {
        char* end = nullptr;
        const long number = std::strtol(argv[i], &end, 10);
        if (*argv[i] != '\0' && *end == '\0') {
            runs = number;
            continue;
        }
        if (!std::filesystem::exists(argv[i])) {
            std::cerr << argv[i] << ": no such file or folder\n";
            return 2;
        }
        std::cout << "replayed " << ReplayAll(argv[i]) << " input(s) from " << argv[i] << '\n';
    }
    RunRandom(argc > 1 ? runs : 10000);
    return 0;
}
