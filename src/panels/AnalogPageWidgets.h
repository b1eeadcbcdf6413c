#pragma once

#include <QLabel>
#include <QLineEdit>

#include <functional>

class QAbstractButton;

namespace vantel {

class PanelWindow;

// Widgets that the analog pages share.
QLabel* MakeIndicator(QWidget& parent);
QLineEdit* MakeBox(QWidget& parent, int width);
// Binds `button` to `id` in the container window; a click hands the id to `clicked`.
void BindClick(PanelWindow& window, int id, QAbstractButton* button, std::function<void(int)> clicked);

} // namespace vantel
