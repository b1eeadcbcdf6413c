#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include <functional>

class QAbstractButton;

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

} // namespace vantel
