#include "SimFleet.h"

#include <cstdlib>
#include <iterator>
#include <string>

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

SimFleet::SimFleet(int unitCount)
    : rows_(DigitalRows(unitCount)), sims_(rows_), folder_(NewFolder()),
      list_((folder_ / "vantel.dat").string(), codec_)
{
    for (int i = 0; i < unitCount; ++i) {
        UnitConnection unit;
        unit.name = "unit" + std::to_string(1000 + i).substr(1);
        unit.host = "127.0.0.1";
        unit.controlPort = sims_.ports()[static_cast<std::size_t>(i)];
        unit.modelRow = rows_[static_cast<std::size_t>(i)];
        list_.Add(-1, unit);
    }
}

SimFleet::~SimFleet()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

} // namespace vantel::bench
