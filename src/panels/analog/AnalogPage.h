#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include <functional>

class QAbstractButton;
class QVBoxLayout;

namespace vantel {

class PanelWindow;

// Widgets that the analog pages share, sized alike.
inline constexpr int kNameBoxWidth = 100;
inline constexpr int kPeriodBoxWidth = 64;

QLabel* MakeIndicator(QWidget& parent);
// A level bar without text, `width` pixels wide.
QProgressBar* MakeLevelBar(QWidget& parent, int width);
QLineEdit* MakeBox(QWidget& parent, int width);
// Binds `button` to `id` in the container window; a click hands the id to `clicked`.
void BindClick(PanelWindow& window, int id, QAbstractButton* button, std::function<void(int)> clicked);
// Ends a page's column of groups with the status line at the bottom and
// sizes the page to what its rows need.
void FinishPage(QWidget& page, QVBoxLayout& layout, PanelWindow& window);

} // namespace vantel
