#pragma once

#include "ui/ControlView.h"

#include <string>
#include <string_view>

namespace vantel {

inline constexpr const char* kNotANumberMessage = "数字以外は入力できません";

// The leading run of characters from "0123456789-.".
std::string_view NumberBoxRun(std::string_view text);

// On a change of a numeric box: when the text holds anything beyond that run,
// show the message and cut the text back to the run. True when it cut.
bool FilterNumberBox(ControlView& view, int controlId);

// "%f" (six decimals) independent of the process locale.
std::string FormatFixed6(double value);

// Decimal value of the longest leading numeric part, as strtod reads it in the
// C locale; 0 for an empty or non-numeric text.
double ParseLeadingDouble(std::string_view text);

} // namespace vantel
