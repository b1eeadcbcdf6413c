#pragma once

#include "ui/ControlView.h"

#include <string>
#include <string_view>

namespace vantel {

inline constexpr const char* kNumberCharacters = "0123456789-.";
inline constexpr const char* kDigitCharacters = "0123456789";

// On a change of a box that takes only `allowed` characters: when the text
// holds anything else, show the message and cut the text back to its leading
// run of allowed characters. True when it cut.
bool FilterBox(ControlView& view, int controlId, std::string_view allowed);

// FilterBox with the characters of a number box, "0123456789-.".
bool FilterNumberBox(ControlView& view, int controlId);

// "%f" (six decimals) independent of the process locale.
std::string FormatFixed6(double value);

// Decimal value of the longest leading numeric part, as strtod reads it in the
// C locale; 0 for an empty or non-numeric text.
double ParseLeadingDouble(std::string_view text);

// What a number box holds, as ParseLeadingDouble reads it, but always finite:
// a number too large for a double counts as the largest one of its sign, so
// no infinity reaches a conversion or a wave.
double ParseNumberBox(std::string_view text);

// Decimal value of the leading digits (atoi), 0 without any; digits beyond
// what an int holds give `limit`.
int ParseLeadingCount(std::string_view text, int limit);

} // namespace vantel
