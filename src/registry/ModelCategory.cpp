#include "registry/ModelCategory.h"

#include "registry/ModelCatalogue.h"

#include <algorithm>
#include <array>

namespace vantel {
namespace {

constexpr std::array kOrvexRows{1, 8, 0, 4, 5, 6, 7, 3, 2, 22, 23, 24, 25, 26, 31, 32, 27, 28, 29};
constexpr std::array kWirelessRows{10, 17, 9, 13, 14, 15, 16, 12, 11, 48, 49};
constexpr std::array kAnalogRows{19, 18, 21, 20, 30, 48, 49};
constexpr std::array kGatewayRows{33, 34, 35, 36, 37, 38};

} // namespace

std::span<const int> CategoryRows(ModelCategory category)
{
    switch (category) {
    case ModelCategory::Orvex:
        return kOrvexRows;
    case ModelCategory::Wireless:
        return kWirelessRows;
    case ModelCategory::Analog:
        return kAnalogRows;
    case ModelCategory::Gateway:
        return kGatewayRows;
    case ModelCategory::None:
        break;
    }
    return {};
}

std::vector<std::string> CategoryModelNames(ModelCategory category)
{
    std::vector<std::string> names;
    for (const int row : CategoryRows(category))
        names.emplace_back(ModelAt(row).displayName);
    return names;
}

int PositionInCategory(ModelCategory category, int row)
{
    const auto rows = CategoryRows(category);
    const auto it = std::find(rows.begin(), rows.end(), row);
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

ModelCategory CategoryOfModel(int row)
{
    const ModelRow& model = ModelAt(row);
    ModelCategory family = ModelCategory::Orvex;
    if (model.isGateway())
        family = ModelCategory::Gateway;
    else if (model.isAnalog())
        family = ModelCategory::Analog;
    else if (model.has(ModelFlag::FirstWireless | ModelFlag::ThirdWireless))
        family = ModelCategory::Wireless;
    return PositionInCategory(family, row) >= 0 ? family : ModelCategory::None;
}

} // namespace vantel
