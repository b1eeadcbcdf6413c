#pragma once

// Button captions that windows of several layers share.
namespace vantel {

// Half-width katakana, as on the original program's buttons.
inline constexpr const char* kCancelCaption = "ｷｬﾝｾﾙ";
// Adds the chosen unit to the list: the main window's and the search's.
inline constexpr const char* kAddCaption = "追加(&A)";

} // namespace vantel
