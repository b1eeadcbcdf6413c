#include "graph/LogSeriesFiles.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>
#include <tuple>

namespace vantel {
namespace {

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Digits only, at least `minDigits` of them, that fit an int.
bool readNumber(std::string_view text, std::size_t minDigits, int& value)
{
    if (text.size() < minDigits || !allDigits(text))
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

std::optional<SeriesFileName> ParseSeriesFileName(std::string_view fileName)
{
    constexpr std::string_view kExtension = ".csv";
    if (fileName.size() <= kExtension.size() || !fileName.ends_with(kExtension))
        return std::nullopt;
    std::string_view stem = fileName.substr(0, fileName.size() - kExtension.size());
    const std::size_t numberAt = stem.rfind('_');
    if (numberAt == std::string_view::npos)
        return std::nullopt;
    SeriesFileName parsed;
    if (!readNumber(stem.substr(numberAt + 1), 3, parsed.number) || parsed.number < 1)
        return std::nullopt;
    stem = stem.substr(0, numberAt);
    // A run opened within the second of an earlier one carries "-R" after the stamp.
    const std::size_t runAt = stem.rfind('-');
    if (runAt != std::string_view::npos && runAt + 1 < stem.size() && stem.size() - runAt - 1 <= 6 &&
        allDigits(stem.substr(runAt + 1))) {
        if (!readNumber(stem.substr(runAt + 1), 1, parsed.run) || parsed.run < 2)
            return std::nullopt;
        stem = stem.substr(0, runAt);
    }
    // "_yyyyMMdd_HHmmss" after a name of one character at least.
    if (stem.size() < 17)
        return std::nullopt;
    const std::string_view stamp = stem.substr(stem.size() - 15);
    if (stem[stem.size() - 16] != '_' || stamp[8] != '_' || !allDigits(stamp.substr(0, 8)) ||
        !allDigits(stamp.substr(9)))
        return std::nullopt;
    parsed.unit = std::string(stem.substr(0, stem.size() - 16));
    parsed.stamp = std::string(stamp);
    return parsed;
}

std::vector<std::string> SeriesFilesOfUnit(const std::string& path)
{
    namespace fs = std::filesystem;
    const fs::path chosen(path);
    const auto series = ParseSeriesFileName(chosen.filename().string());
    if (!series)
        return {path};
    struct Found {
        std::string stamp;
        int run;
        int number;
        std::string path;
    };
    std::vector<Found> found;
    std::error_code error;
    const fs::path folder = chosen.has_parent_path() ? chosen.parent_path() : fs::path(".");
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const auto other = ParseSeriesFileName(it->path().filename().string());
        if (other && other->unit == series->unit && it->is_regular_file(error))
            found.push_back({other->stamp, other->run, other->number, it->path().string()});
    }
    if (found.empty())
        return {path};
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return std::tie(a.stamp, a.run, a.number) < std::tie(b.stamp, b.run, b.number);
    });
    std::vector<std::string> paths;
    paths.reserve(found.size());
    for (Found& one : found)
        paths.push_back(std::move(one.path));
    return paths;
}

} // namespace vantel
