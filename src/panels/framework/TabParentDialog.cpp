#include "panels/framework/TabParentDialog.h"

#include "panels/PanelKindTable.h"
#include "panels/framework/PanelTexts.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTabBar>

namespace vantel {
namespace {

constexpr int kMargin = 6;
constexpr int kTabBarHeight = 28;
constexpr int kTabBarWidth = 300;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 28;

bool IsEnterOrEscape(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter || event.key() == Qt::Key_Escape;
}

// The area of the two pages. Enter and Escape that a box, a list or a
// button of the panel or the graph page leaves unused end here: a user
// confirming a value must not disconnect the unit.
class PageArea : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (IsEnterOrEscape(*event))
            event->accept();
        else
            QWidget::keyPressEvent(event);
    }
};

} // namespace

TabParentDialog::TabParentDialog(TabParentSetup setup, std::unique_ptr<PanelLink> link,
                                 const PanelPageFactory& makePanel, QWidget* parent)
    : PanelWindow(parent), logic_(*this, std::move(setup))
{
    tabs_ = new QTabBar(this);
    tabs_->addTab(QString::fromUtf8(kControlTabCaption));
    tabs_->addTab(QString::fromUtf8(kGraphTabCaption));
    tabs_->setGeometry(kMargin, kMargin, kTabBarWidth, kTabBarHeight);

    const QSize area = createPages(std::move(link), makePanel);
    auto* disconnectButton = new QPushButton(QString::fromUtf8(kDisconnectCaption), this);
    disconnectButton->setObjectName(QStringLiteral("disconnect"));
    bindDisconnect(disconnectButton);
    const int buttonTop = kMargin + kTabBarHeight + area.height() + kMargin;
    disconnectButton->setGeometry(kMargin + area.width() - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);
    setFixedSize(area.width() + 2 * kMargin, buttonTop + kButtonHeight + kMargin);

    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { logic_.onTabSelected(index); });
    tabs_->setCurrentIndex(0);
    logic_.onInitDialog();
}

TabParentDialog::~TabParentDialog()
{
    // The panel's threads call into the pages: they stop first.
    destroyPanel();
}

QSize TabParentDialog::createPages(std::unique_ptr<PanelLink> link, const PanelPageFactory& makePanel)
{
    auto* pages = new PageArea(this);
    pages->move(kMargin, kMargin + kTabBarHeight);
    graphPage_ = new GraphPageWidget(KindRowOf(logic_.kind()).graph, pages);
    // Qt measures in pixels: one dialog unit of the layout is one pixel here.
    const std::shared_ptr<LECanvas> canvas = logic_.createGraphCanvas(1.0, 1.0);
    graphPage_->setCanvas(canvas);
    if (makePanel) {
        PanelPageContext context{logic_.kind(), canvas, &graphPage_->logic(), pages, this, std::move(link)};
        panelPage_ = makePanel(context);
    }
    QSize area = graphPage_->size();
    if (panelPage_ != nullptr) {
        panelPage_->move(0, 0);
        graphPage_->logic().setPanel(&panelPage_->tabPanel());
        area = area.expandedTo(panelPage_->sizeHint()).expandedTo(panelPage_->size());
    }
    pages->resize(area);
    return area;
}

void TabParentDialog::closeWindow()
{
    logic_.end();
}

void TabParentDialog::keyPressEvent(QKeyEvent* event)
{
    // On the container's own controls (the tabs, "切断") Enter and Escape
    // disconnect, as "切断" is its default button; the pages keep theirs.
    if (IsEnterOrEscape(*event))
        runCloseRoutine();
    else
        PanelWindow::keyPressEvent(event);
}

void TabParentDialog::showGraphPage(bool graph)
{
    graphPage_->setVisible(graph);
    if (panelPage_ != nullptr)
        panelPage_->setVisible(!graph);
}

void TabParentDialog::showCaption(const std::string& utf8)
{
    setWindowTitle(QString::fromStdString(utf8));
}

void TabParentDialog::endGraphPage()
{
    graphPage_->hide();
}

void TabParentDialog::destroyWindow()
{
    PanelWindow::closeWindow();
}

} // namespace vantel
