#include "graph/TabParentDialog.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>

namespace vantel {
namespace {

constexpr int kMargin = 6;
constexpr int kTabBarHeight = 28;
constexpr int kTabBarWidth = 300;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 28;

} // namespace

TabParentDialog::TabParentDialog(TabParentSetup setup, const PanelPageFactory& makePanel, QWidget* parent)
    : QDialog(parent), logic_(*this, std::move(setup))
{
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    tabs_ = new QTabBar(this);
    tabs_->addTab(QString::fromUtf8(DlgTabParent::kControlTab));
    tabs_->addTab(QString::fromUtf8(DlgTabParent::kGraphTab));
    tabs_->setGeometry(kMargin, kMargin, kTabBarWidth, kTabBarHeight);

    const QSize area = createPages(makePanel);
    auto* disconnectButton = new QPushButton(QStringLiteral("切断"), this);
    disconnectButton->setObjectName(QStringLiteral("disconnect"));
    disconnectButton->setDefault(true); // Enter disconnects too
    const int buttonTop = kMargin + kTabBarHeight + area.height() + kMargin;
    disconnectButton->setGeometry(kMargin + area.width() - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);
    connect(disconnectButton, &QPushButton::clicked, this, [this] { logic_.Close(); });
    setFixedSize(area.width() + 2 * kMargin, buttonTop + kButtonHeight + kMargin);

    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { logic_.OnTabSelected(index); });
    tabs_->setCurrentIndex(0);
    logic_.OnInitDialog();
}

QSize TabParentDialog::createPages(const PanelPageFactory& makePanel)
{
    auto* pages = new QWidget(this);
    pages->move(kMargin, kMargin + kTabBarHeight);
    graphPage_ = new GraphPageWidget(logic_.kind(), pages);
    // Qt measures in pixels: one dialog unit of the layout is one pixel here.
    const std::shared_ptr<LECanvas> canvas = logic_.CreateGraphCanvas(1.0, 1.0);
    graphPage_->setCanvas(canvas);
    if (makePanel)
        panelPage_ = makePanel({logic_.kind(), canvas, &graphPage_->logic(), pages});
    QSize area = graphPage_->size();
    if (panelPage_ != nullptr) {
        panelPage_->move(0, 0);
        logic_.SetPanel(&panelPage_->tabPanel());
        graphPage_->logic().SetPanel(&panelPage_->tabPanel());
        area = area.expandedTo(panelPage_->sizeHint()).expandedTo(panelPage_->size());
    }
    pages->resize(area);
    return area;
}

void TabParentDialog::accept()
{
    logic_.Close();
}

void TabParentDialog::reject()
{
    logic_.Close();
}

void TabParentDialog::closeEvent(QCloseEvent* event)
{
    if (!logic_.closed()) {
        event->ignore();
        logic_.Close();
        return;
    }
    QDialog::closeEvent(event);
}

void TabParentDialog::showGraphPage(bool graph)
{
    graphPage_->setVisible(graph);
    if (panelPage_ != nullptr)
        panelPage_->setVisible(!graph);
}

PixelRect TabParentDialog::normalWindowRect() const
{
    const QRect frame = isMaximized() || isMinimized() ? normalGeometry() : frameGeometry();
    return {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
}

PixelRect TabParentDialog::desktopRect() const
{
    const QRect desktop = screen()->availableGeometry();
    return {desktop.left(), desktop.top(), desktop.left() + desktop.width(), desktop.top() + desktop.height()};
}

void TabParentDialog::moveWindow(PixelPoint topLeft)
{
    move(topLeft.x, topLeft.y);
}

void TabParentDialog::setCaption(const std::string& utf8)
{
    setWindowTitle(QString::fromStdString(utf8));
}

void TabParentDialog::endGraphPage()
{
    graphPage_->hide();
}

void TabParentDialog::destroyWindow()
{
    hide();
    deleteLater();
}

} // namespace vantel
