#pragma once

#include <span>
#include <string>
#include <vector>

namespace vantel {

// The groups in which the unit dialog offers the catalogue's models.
enum class ModelCategory { None = -1, Orvex, Wireless, Analog, Gateway };

inline constexpr int kModelCategoryCount = 4;

// Rows offered by a category, in the order of the model box; empty for None.
std::span<const int> CategoryRows(ModelCategory category);

// Display names of the rows offered by a category.
std::vector<std::string> CategoryModelNames(ModelCategory category);

// Position of `row` in the category's list, or -1.
int PositionInCategory(ModelCategory category, int row);

// The category in which the dialog shows an existing unit of this row: looked up
// by the row's family, None when the row is offered nowhere (rows 39-47, no model).
ModelCategory CategoryOfModel(int row);

} // namespace vantel
