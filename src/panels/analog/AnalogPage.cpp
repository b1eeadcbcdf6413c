#include "panels/analog/AnalogPage.h"

#include "panels/framework/PanelTexts.h"
#include "panels/framework/PanelWindow.h"

#include <QAbstractButton>
#include <QProgressBar>
#include <QVBoxLayout>

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

void FinishPage(QWidget& page, QVBoxLayout& layout, PanelWindow& window)
{
    layout.addStretch();
    auto* status = new QLabel(QString::fromUtf8(kStatusPlaceholder), &page);
    window.bind(PanelId::Status, status);
    layout.addWidget(status);
    // The page is never narrower than its rows need.
    layout.setSizeConstraint(QLayout::SetMinimumSize);
    // Measured with the fonts and styles in force, so the container fits it.
    page.ensurePolished();
    layout.activate();
    page.resize(page.sizeHint());
}

} // namespace vantel
