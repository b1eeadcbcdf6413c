#include "SimFleet.h"

#include <cstdlib>
#include <iterator>
#include <string>
#include <utility>

namespace vantel::bench {
namespace {

constexpr int kDigitalRows[] = {8, 22};

std::vector<int> DigitalRows(int count)
{
    std::vector<int> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back(kDigitalRows[static_cast<std::size_t>(i) % std::size(kDigitalRows)]);
    return rows;
}

std::filesystem::path NewFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vantel-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::exit(1);
    return pattern;
}

} // namespace

SimFleet::SimFleet(int unitCount) : SimFleet(DigitalRows(unitCount)) {}

SimFleet::SimFleet(std::vector<int> rows)
    : rows_(std::move(rows)), sims_(rows_), folder_(NewFolder()), list_((folder_ / "vantel.dat").string(), codec_)
{
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        UnitConnection unit;
        unit.name = "unit" + std::to_string(1000 + i).substr(1);
        unit.host = "127.0.0.1";
        unit.controlPort = sims_.ports()[i];
        unit.modelRow = rows_[i];
        list_.Add(-1, unit);
    }
}

SimFleet::~SimFleet()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

} // namespace vantel::bench
