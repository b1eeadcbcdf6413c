#include "panels/AnalogPageWidgets.h"

#include "panels/PanelWindow.h"

#include <QAbstractButton>
#include <QProgressBar>

namespace vantel {
namespace {

constexpr int kIndicatorWidth = 28;
constexpr int kIndicatorHeight = 18;

} // namespace

QLabel* MakeIndicator(QWidget& parent)
{
    auto* indicator = new QLabel(&parent);
    indicator->setFixedSize(kIndicatorWidth, kIndicatorHeight);
    indicator->setFrameShape(QFrame::Box);
    return indicator;
}

QProgressBar* MakeLevelBar(QWidget& parent, int width)
{
    auto* bar = new QProgressBar(&parent);
    bar->setTextVisible(false);
    bar->setFixedWidth(width);
    return bar;
}

QLineEdit* MakeBox(QWidget& parent, int width)
{
    auto* box = new QLineEdit(&parent);
    box->setFixedWidth(width);
    return box;
}

void BindClick(PanelWindow& window, int id, QAbstractButton* button, std::function<void(int)> clicked)
{
    window.bind(id, button);
    QObject::connect(button, &QAbstractButton::clicked, button, [id, clicked = std::move(clicked)] { clicked(id); });
}

} // namespace vantel
