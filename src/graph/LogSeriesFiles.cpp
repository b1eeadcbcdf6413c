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

} // namespace

std::optional<SeriesFileName> ParseSeriesFileName(std::string_view fileName)
{
    constexpr std::string_view kExtension = ".csv";
    if (fileName.size() <= kExtension.size() || !fileName.ends_with(kExtension))
        return std::nullopt;
    const std::string_view stem = fileName.substr(0, fileName.size() - kExtension.size());
    const std::size_t numberAt = stem.rfind('_');
    // "_yyyyMMdd_HHmmss_NNN": 20 characters at least, after a name of one.
    if (numberAt == std::string_view::npos || numberAt < 17 || stem.size() - numberAt - 1 < 3)
        return std::nullopt;
    const std::string_view number = stem.substr(numberAt + 1);
    const std::string_view stamp = stem.substr(numberAt - 15, 15);
    if (!allDigits(number) || stem[numberAt - 16] != '_' || stamp[8] != '_' || !allDigits(stamp.substr(0, 8)) ||
        !allDigits(stamp.substr(9)))
        return std::nullopt;
    SeriesFileName parsed;
    parsed.unit = std::string(stem.substr(0, numberAt - 16));
    parsed.stamp = std::string(stamp);
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed.number);
    if (error != std::errc() || end != number.data() + number.size() || parsed.number < 1 || parsed.unit.empty())
        return std::nullopt;
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
        int number;
        std::string path;
    };
    std::vector<Found> found;
    std::error_code error;
    const fs::path folder = chosen.has_parent_path() ? chosen.parent_path() : fs::path(".");
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const auto other = ParseSeriesFileName(it->path().filename().string());
        if (other && other->unit == series->unit && it->is_regular_file(error))
            found.push_back({other->stamp, other->number, it->path().string()});
    }
    if (found.empty())
        return {path};
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return std::tie(a.stamp, a.number) < std::tie(b.stamp, b.number); });
    std::vector<std::string> paths;
    paths.reserve(found.size());
    for (Found& one : found)
        paths.push_back(std::move(one.path));
    return paths;
}

} // namespace vantel
